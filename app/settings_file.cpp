#include "settings_file.h"

#include "gui_benri.h"
#include "settings_value.h"

namespace trellane {

bool SettingsFile::Exists() const {
    return FileExists(path_);
}

bool SettingsFile::ReadText(const wchar_t* section, const wchar_t* key, std::wstring& text) const {
    // A default that no real value can equal tells a missing key from an empty one.
    static constexpr wchar_t kMissing[] = L"\x1\x2missing\x2\x1";
    wchar_t buffer[kProfileValueLimit + 1] = {};
    const DWORD length = GetPrivateProfileStringW(section, key, kMissing, buffer,
                                                  static_cast<DWORD>(kProfileValueLimit + 1), path_.c_str());
    text.assign(buffer, length);
    return text != kMissing;
}

std::int32_t SettingsFile::ReadInteger(const wchar_t* section, const wchar_t* key,
                                       std::int32_t fallback) const {
    std::wstring text;
    if (!ReadText(section, key, text)) return fallback;
    return ReadProfileInteger(text, fallback);
}

bool SettingsFile::ReadBool(const wchar_t* section, const wchar_t* key, bool fallback) const {
    std::wstring text;
    if (!ReadText(section, key, text)) return fallback;
    return ReadProfileBool(text, fallback);
}

bool SettingsFile::WriteInteger(const wchar_t* section, const wchar_t* key, std::int32_t value) const {
    return WritePrivateProfileStringW(section, key, FormatProfileInteger(value).c_str(), path_.c_str()) !=
           FALSE;
}

bool SettingsFile::WriteBool(const wchar_t* section, const wchar_t* key, bool value) const {
    return WritePrivateProfileStringW(section, key, value ? L"1" : L"0", path_.c_str()) != FALSE;
}

} // namespace trellane
