// The settings file as text, for tests: kept apart from settings.cpp so that the program, which
// writes through the system's profile functions, does not carry it.
#include "settings.h"

namespace trellane {

namespace {

// Keys and values are ASCII: digits, a minus sign and the keys' letters.
std::string Narrow(std::wstring_view text) {
    std::string narrow;
    for (const wchar_t c : text)
        narrow += static_cast<char>(c);
    return narrow;
}

} // namespace

std::string SettingsFileText(const Settings& settings) {
    std::string text = "[" + Narrow(kSettingsSection) + "]\r\n";
    WriteSettings(settings, [&text](const wchar_t* key, const std::wstring& value) {
        text += Narrow(key) + "=" + Narrow(value) + "\r\n";
        return true;
    });
    return text;
}

} // namespace trellane
