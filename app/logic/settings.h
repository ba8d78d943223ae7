// The program's settings as one record: what the panel shows, what the window operations act on
// and what the settings file keeps. One table says, per setting, its key in the file, its member,
// its default and how a read value is held in range; reading, writing and the defaults all follow
// it, so a new setting is one row.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace trellane {

struct Settings {
    bool graphicLine;       // paint the grid over the screen during a drag
    std::int32_t gridWidth; // grid pitch in pixels
    std::int32_t gridColor; // RGB 0x00BBGGRR or a system-colour reference
    std::int32_t toumei;    // translucency level in percent for dragged and middle-clicked windows
    bool autoHide;          // go resident at start without showing the panel
    bool useGrid;           // snap windows at the end of a drag
    bool moveToumei;        // make windows translucent while they are dragged
    bool oritatami;         // right-click functions (folding, topmost)
};

// One setting. Exactly one of flag and number is set; a flag's default is 0 or 1.
struct SettingRow {
    const wchar_t* key;
    bool Settings::*flag;
    std::int32_t Settings::*number;
    std::int32_t defaultValue;
    // Holds a read value in range; nullptr takes it as it is.
    std::int32_t (*clamp)(std::int32_t);
};

// The keys in the order they are written. The grid-painting default is off although the panel is
// designed with it on, so a first start without a settings file leaves the screen alone.
extern const SettingRow kSettingRows[8];

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

} // namespace trellane
