// How a window's translucency changes: the opacity for a level, and what a drag or a middle click
// does given whether we made the window translucent and whether it is layered already.
#pragma once

#include <cstdint>
#include <optional>

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

// What a window made translucent carries on itself, so that its look before can be put back however
// this program ends (quit, end of session, crash, killed: then at its next start): the layered state
// before, and the opacity given, by which a window whose program changed its layering since is told
// apart and left alone. The only store of the state before, for a middle click and a drag alike.
struct TranslucencyRecord {
    LayeredState before; // always readable: an unreadable window is never made translucent
    std::uint8_t alphaGiven = 255;
};
// The record as the two raw property values (0 when absent), each below 2^31 so that 32- and 64-bit
// processes read the same numbers.
struct KeptTranslucency {
    std::uint64_t state = 0;
    std::uint64_t colorKey = 0;
};
KeptTranslucency KeptValues(const TranslucencyRecord& record);
// nullopt for values this program never writes (damaged, or another program's).
std::optional<TranslucencyRecord> RecordFromKept(const KeptTranslucency& kept);

enum class KeptTranslucencyAction {
    None,    // no record: the window is not translucent by our hand
    Applies, // still as we left it: ours to put back
    Drop,    // its program changed its layering since: the record goes, the window stays as it is
    Ignore,  // not a record this program writes: left alone, never trusted
};
// now: the window's layered state now, its attributes as far as they can be read.
KeptTranslucencyAction DecideKeptTranslucency(const KeptTranslucency& kept, const LayeredState& now);

} // namespace trellane
