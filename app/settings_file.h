// The settings file beside the executable: an INI file read and written key by key through the
// system's profile functions, so each write goes straight to the file.
#pragma once

#include <windows.h>

#include <string>

#include "settings.h"

namespace trellane {

class SettingsFile {
public:
    SettingsFile() = default;
    explicit SettingsFile(std::wstring path) : FPath(std::move(path)) {}

    const std::wstring& Path() const { return FPath; }
    bool Exists() const;
    // Every key of section "setting"; missing or damaged ones give their defaults.
    Settings Read() const;
    // Writes every key in order; false as soon as the system refuses one (the rest stay unwritten).
    bool Write(const Settings& settings) const;

private:
    std::wstring FPath;
};

} // namespace trellane
