// What a folded window carries on itself: the height to give back, the height it was folded to,
// and its scale at the fold with whether that height was seen or only asked for, as three window
// properties. Kept on the window rather than in a file, so that it outlives this
// program however it ends (killed, crashed, updated) and goes with the window: a handle used again
// is a new window without it, and nothing stale is left behind when the window closes.
#pragma once

#include <windows.h>

#include <vector>

#include "fold_record_rule.h"

namespace trellane {

// False (with a trace) when the window cannot carry the record, such as a window of a program with
// higher rights.
// dpi: the window's scale at the fold; seen: `folded` is the height the window took.
bool KeepFoldRecord(HWND window, std::int32_t height, std::int32_t folded, std::uint32_t dpi,
                    bool seen) noexcept;
void DropFoldRecord(HWND window) noexcept;
// The raw values; all 0 when the window has none.
KeptFold ReadFoldRecord(HWND window) noexcept;
// Every window on the desktop, top-level or child, that carries a record.
std::vector<HWND> WindowsWithFoldRecords();

// The window's caption band (CaptionBand: its frame and caption bar as its style and scale draw
// them, at least an ordinary window's caption and sizing frame), in screen pixels; and the least
// height the system lets it be sized to, the same way. Systems without per-window scales use the
// system's.
std::int32_t FoldedHeightOf(HWND window) noexcept;
std::int32_t MinTrackHeightOf(HWND window) noexcept;
// The window's own scale; 0 where the system does not tell.
std::uint32_t DpiOf(HWND window) noexcept;

} // namespace trellane
