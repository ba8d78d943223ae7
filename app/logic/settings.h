// The program's settings as one record: what the panel shows, what the window operations act on
// and what the settings file keeps. One list, TRELLANE_SETTINGS, names every setting once; the
// record, the table that reading, writing and the defaults follow, equality and the settings file's
// text are all made from it, so a new setting is one line of that list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace trellane {

// Every setting, in the order the file holds them: its type (bool, or std::int32_t for a number),
// its member in the record, its key in the file, its default (a flag's is 0 or 1) and the function
// that holds a value read from the file in range (nullptr takes it as it is). The grid-painting
// default is off although the panel is designed with it on, so a first start without a settings
// file leaves the screen alone.
#define TRELLANE_SETTINGS(X)                                                                                 \
    /* paint the grid over the screen during a drag */                                                       \
    X(bool, graphicLine, L"chkGraphicLine", 0, nullptr)                                                      \
    /* grid pitch in pixels */                                                                               \
    X(std::int32_t, gridWidth, L"GridWidth", 32, &ClampGridWidth)                                            \
    /* RGB 0x00BBGGRR or a system-colour reference */                                                        \
    X(std::int32_t, gridColor, L"color", 0xFFFFFF, nullptr)                                                  \
    /* translucency level in percent for dragged and middle-clicked windows */                               \
    X(std::int32_t, toumei, L"toumei", 70, &ClampToumei)                                                     \
    /* go resident at start without showing the panel */                                                     \
    X(bool, autoHide, L"chkAutoHide", 0, nullptr)                                                            \
    /* snap windows at the end of a drag */                                                                  \
    X(bool, useGrid, L"chkUseGrid", 1, nullptr)                                                              \
    /* make windows translucent while they are dragged */                                                    \
    X(bool, moveToumei, L"chkMoveToumei", 1, nullptr)                                                        \
    /* right-click functions (folding, topmost) */                                                           \
    X(bool, oritatami, L"chkOritatami", 1, nullptr)

struct Settings {
#define TRELLANE_SETTING_MEMBER(type, member, key, defaultValue, clamp) type member;
    TRELLANE_SETTINGS(TRELLANE_SETTING_MEMBER)
#undef TRELLANE_SETTING_MEMBER
};

// Every setting alike.
bool operator==(const Settings& a, const Settings& b);
bool operator!=(const Settings& a, const Settings& b);

// One setting. Exactly one of flag and number is set; a flag's default is 0 or 1.
struct SettingRow {
    const wchar_t* key;
    bool Settings::*flag;
    std::int32_t Settings::*number;
    std::int32_t defaultValue;
    // Holds a read value in range; nullptr takes it as it is.
    std::int32_t (*clamp)(std::int32_t);
};

#define TRELLANE_SETTING_COUNT(type, member, key, defaultValue, clamp) +1
constexpr std::size_t kSettingCount = 0 TRELLANE_SETTINGS(TRELLANE_SETTING_COUNT);
#undef TRELLANE_SETTING_COUNT

// The settings in the order of TRELLANE_SETTINGS, which is the order they are written in.
extern const SettingRow kSettingRows[kSettingCount];

// The section of the settings file that holds every key.
constexpr wchar_t kSettingsSection[] = L"setting";

// Every member at its default.
Settings DefaultSettings();

// The text of a key in the file, or nothing when the key is missing.
using SettingReader = std::function<std::optional<std::wstring>(const wchar_t* key)>;
// Writes one key; false when the system refuses.
using SettingWriter = std::function<bool(const wchar_t* key, const std::wstring& text)>;

// A missing key or a value that is no integer gives the default; numbers pass their clamp.
Settings ReadSettings(const SettingReader& read);

// Writes every key in table order and stops at the first write that fails; false then.
bool WriteSettings(const Settings& settings, const SettingWriter& write);

// A settings file holding these settings as the program leaves it: the section line, then one
// "key=value" line per setting in table order, each ended by CR LF. For tests that prepare a file
// or compare one with what the program wrote; the program itself writes key by key.
std::string SettingsFileText(const Settings& settings);

} // namespace trellane
