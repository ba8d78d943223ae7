// The heights of a fold, and what the record a folded window carries on itself means: the height a
// window folds to, which height gives it back, and when a record no longer applies or is none of
// this program's.
#pragma once

#include <cstdint>

namespace trellane {

// Heights above this are no window's (the system's own limit on a window's size).
constexpr std::int32_t kLargestWindowHeight = 32767;

// The height of a window's caption band at its own scale: its top frame and caption bar, and its
// bottom frame, as the system's adjustment of an empty client rectangle for the window's style
// gives them (adjustedTop is that rectangle's top, at or below zero, adjustedBottom its bottom).
// Never below standardBand, the caption and sizing frame of an ordinary window at the same scale:
// a program that draws its own title bar has its client area start at the window's top, and its
// style says nothing about the bar it draws there.
std::int32_t CaptionBand(std::int32_t adjustedTop, std::int32_t adjustedBottom, std::int32_t standardBand);

// The height a window folds to: its caption band as drawn at the window's own scale (band, at
// windowDpi), in the pixels of its monitor (monitorDpi). The two differ for a program that does not
// follow monitor scales: the system stretches its window, caption included. A scale of 0 (unknown)
// counts as equal to the other.
std::int32_t FoldedHeightOnScreen(std::int32_t band, std::uint32_t windowDpi, std::uint32_t monitorDpi);

// A height recorded at one scale, at another: scaled by presentDpi / recordedDpi and rounded, as
// the system scales a window that moves to a monitor of another scale. Either scale 0 (unknown)
// leaves it as it is.
std::int32_t HeightAtDpi(std::int32_t height, std::uint32_t recordedDpi, std::uint32_t presentDpi);

// The third value of the record: the window's scale at the fold, and whether the height it took
// was seen (rather than only asked for). Records of older versions have none (0).
constexpr std::uint64_t kFoldSeen = 0x10000;
// A scale that is none (0) or not plausible is recorded as unknown.
std::uint64_t FoldStateValue(std::uint32_t dpi, bool seen);
// The scale recorded in that value; 0 when none or when it is no plausible scale.
std::uint32_t RecordedDpi(std::uint64_t state);

// What a folded window keeps on itself, so that its height can be given back even when the
// program that folded it was ended before unfolding it: the height before folding, the height it
// was folded to and the fold's state (FoldStateValue), as the raw values read back (0 when absent).
enum class KeptFoldAction {
    GiveBack, // still folded: give back `height`
    Drop,     // the window has been sized since (or maximized): the record no longer applies
    Ignore,   // not a record this program writes: left alone, never trusted
};
struct KeptFold {
    std::uint64_t height = 0;
    std::uint64_t folded = 0;
    std::uint64_t state = 0;
};
struct KeptFoldDecision {
    KeptFoldAction action = KeptFoldAction::Ignore;
    // With GiveBack: the height to give back, at the window's present scale.
    std::int32_t height = 0;
};
// currentHeight and currentDpi: the window's height and scale now (0: unknown); minTrackHeight:
// the least height the system lets a sizable window have, to which a fold only asked for may have
// been raised.
KeptFoldDecision DecideKeptFold(const KeptFold& record, std::int32_t currentHeight, std::uint32_t currentDpi,
                                std::int32_t minTrackHeight);

// A fold is only asked of the window's program; the window is watched until its height changes.
enum class FoldWatchStep {
    Wait,   // not yet
    Seen,   // the window took its folded height: record it
    GiveUp, // no change within the watch's time: the record keeps the height asked for
};
constexpr std::uint32_t kFoldWatchMs = 2000;
FoldWatchStep DecideFoldWatch(std::int32_t heightBefore, std::int32_t heightNow, std::uint32_t elapsedMs);

} // namespace trellane
