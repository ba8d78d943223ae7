#include "settings_file.h"

#include "gui_benri.h"
#include "settings_value.h"
#include "trace.h"

namespace trellane {

bool SettingsFile::Exists() const {
    return FileExists(FPath);
}

Settings SettingsFile::Read() const {
    return ReadSettings([this](const wchar_t* key) -> std::optional<std::wstring> {
        // A default that no real value can equal tells a missing key from an empty one.
        static constexpr wchar_t kMissing[] = L"\x1\x2missing\x2\x1";
        wchar_t buffer[kProfileValueLimit + 1] = {};
        const DWORD length =
            GetPrivateProfileStringW(kSettingsSection, key, kMissing, buffer,
                                     static_cast<DWORD>(kProfileValueLimit + 1), FPath.c_str());
        std::wstring text(buffer, length);
        if (text == kMissing) return std::nullopt;
        return text;
    });
}

bool SettingsFile::Write(const Settings& settings) const {
    return WriteSettings(settings, [this](const wchar_t* key, const std::wstring& text) {
        if (WritePrivateProfileStringW(kSettingsSection, key, text.c_str(), FPath.c_str())) return true;
        LogFailure(L"WritePrivateProfileStringW", FPath + L" [setting] " + key);
        return false;
    });
}

} // namespace trellane
