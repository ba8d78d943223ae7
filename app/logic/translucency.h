// How a window's translucency changes: the opacity for a level, and what a toggle or an explicit
// on/off request does given whether the window is already layered.
#pragma once

#include <cstdint>

namespace trellane {

// The opacity handed to the system for a level in percent: Trunc(level * 255 / 100), where
// level * 255 wraps like unchecked 32-bit arithmetic and only the low 8 bits reach the system.
// 20 gives 51, 70 gives 178, 100 gives 255. Levels outside 20..100 (a hand-edited settings file
// is taken unchecked) still give a defined value.
std::uint8_t AlphaForLevel(std::int32_t level);

enum class TranslucencyAction {
    Nothing,
    Clear,           // drop the layered style: the window is opaque again
    SetAndApplyAlpha // add the layered style and give it the level's opacity
};

// A layered window counts as translucent whatever its opacity, whether we or its own program
// made it so; its current alpha is never read. toggle flips the state and ignores on.
TranslucencyAction DecideTranslucency(bool toggle, bool on, bool layered);

} // namespace trellane
