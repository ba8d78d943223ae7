// What a folded window carries on itself: the height to give back and the height it was folded to,
// as two window properties. Kept on the window rather than in a file, so that it outlives this
// program however it ends (killed, crashed, updated) and goes with the window: a handle used again
// is a new window without it, and nothing stale is left behind when the window closes.
#pragma once

#include <windows.h>

#include <vector>

#include "fold_list.h"

namespace trellane {

// False (with a trace) when the window cannot carry the record, such as a window of a program with
// higher rights.
bool KeepFoldRecord(HWND window, std::int32_t height, std::int32_t folded) noexcept;
void DropFoldRecord(HWND window) noexcept;
// The raw values; both 0 when the window has none.
KeptFold ReadFoldRecord(HWND window) noexcept;
// Every window on the desktop, top-level or child, that carries a record.
std::vector<HWND> WindowsWithFoldRecords();

// Caption plus sizing frame of the window at its own scale, in screen pixels; and the least height
// the system lets it be sized to, the same way. Systems without per-window scales use the system's.
std::int32_t FoldedHeightOf(HWND window) noexcept;
std::int32_t MinTrackHeightOf(HWND window) noexcept;

} // namespace trellane
