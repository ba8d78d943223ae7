// How a window's translucency changes: the opacity for a level, and what a drag or a middle click
// does given whether we made the window translucent and whether it is layered already.
#pragma once

#include <cstdint>

namespace trellane {

// The opacity handed to the system for a level in percent: Trunc(level * 255 / 100), where
// level * 255 wraps like unchecked 32-bit arithmetic and only the low 8 bits reach the system.
// 20 gives 51, 70 gives 178, 100 gives 255. Levels outside 20..100 (a hand-edited settings file
// is taken unchecked) still give a defined value.
std::uint8_t AlphaForLevel(std::int32_t level);

// The layered state a window had before it was made translucent, so that it can be put back.
// readable is false when the window was layered but its attributes could not be read (another
// program's window drawn with per-pixel alpha, or a system that does not tell).
struct LayeredState {
    bool layered = false;
    bool readable = true;
    std::uint32_t colorKey = 0;
    std::uint8_t alpha = 255;
    std::uint32_t flags = 0; // LWA_COLORKEY = 1, LWA_ALPHA = 2
};

constexpr std::uint32_t kLwaColorKey = 0x1;
constexpr std::uint32_t kLwaAlpha = 0x2;

enum class TranslucencyRequest {
    On,    // a drag starts
    Off,   // a drag ends
    Toggle // a middle click
};

enum class TranslucencyAction {
    Nothing,
    MakeTranslucent, // remember the window's layered state, then give it the level's opacity
    Restore          // put back the remembered state: not layered only if it was not before
};

// madeTranslucent: the window is translucent by our hand and its earlier state is remembered.
// A window made translucent by us goes back exactly to what it was; a window its own program made
// layered is never cleared. A drag does not touch a window that is already layered; a middle click
// does, unless its attributes cannot be read, and the next middle click puts them back.
TranslucencyAction DecideTranslucency(TranslucencyRequest request, bool madeTranslucent, bool layered,
                                      bool attributesReadable);

// The attributes that make a window translucent at a level: the opacity of the level, a colour key
// the window already had kept with it.
struct LayeredAttributes {
    std::uint32_t colorKey;
    std::uint8_t alpha;
    std::uint32_t flags;
};
LayeredAttributes TranslucentAttributes(const LayeredState& before, std::int32_t level);

} // namespace trellane
