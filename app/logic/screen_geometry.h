// The grid as the user sees it: windows whose visible frame lies inside invisible resize borders,
// and grid lines over every monitor, also those left of or above the primary screen.
#pragma once

#include <cstdint>

#include "grid.h"

namespace trellane {

// True when the visible frame is a non-empty rectangle inside the window rectangle. Anything else
// (an empty answer, or borders of negative width) says nothing trustworthy about the borders, and
// the window rectangle is then what the user sees.
bool IsUsableVisibleFrame(const WindowBounds& window, const WindowBounds& visible);

// Snaps the visible frame as SnapWindow snaps a window rectangle and moves (and sizes) the window
// by the same change, so its invisible borders keep their widths and the edges the user sees land
// on the grid. An unusable visible frame snaps the window rectangle itself. Precondition: pitch >= 1.
SnapPlacement SnapVisibleFrame(const WindowBounds& window, const WindowBounds& visible, bool resizable,
                               std::int32_t pitch);

// The grid lines across one axis of the virtual screen: every multiple of the pitch from origin to
// origin + size, both ends included, so one screen starting at 0 gets (size div pitch) + 1 lines.
// The grid keeps its origin at the primary screen's corner whatever the origin here.
struct GridLineRun {
    std::int32_t first; // position of the first line
    std::int32_t count; // 0 when no multiple lies in the range
};
// Precondition: pitch >= 1; a smaller pitch gives no lines.
GridLineRun GridLinesAcross(std::int32_t origin, std::int32_t size, std::int32_t pitch);

} // namespace trellane
