// The settings file beside the executable: an INI file read and written key by key through the
// system's profile functions, so each write goes straight to the file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace trellane {

class SettingsFile {
public:
    SettingsFile() = default;
    explicit SettingsFile(std::wstring path) : path_(std::move(path)) {}

    const std::wstring& Path() const { return path_; }
    bool Exists() const;
    std::int32_t ReadInteger(const wchar_t* section, const wchar_t* key, std::int32_t fallback) const;
    bool ReadBool(const wchar_t* section, const wchar_t* key, bool fallback) const;
    bool WriteInteger(const wchar_t* section, const wchar_t* key, std::int32_t value) const;
    bool WriteBool(const wchar_t* section, const wchar_t* key, bool value) const;

private:
    // The text of the key, or nullptr-equivalent (false) when the key is missing.
    bool ReadText(const wchar_t* section, const wchar_t* key, std::wstring& text) const;

    std::wstring path_;
};

} // namespace trellane
