// The grid painted over the screen while a window is dragged, with the window's image over it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "grid_redraw.h"

namespace trellane {

class GridPainter {
public:
    // A drag of a window standing at `start` begins: its first paint covers the whole screen.
    void Restart(const WindowBounds& start) { FTrail.Restart(start); }
    // One move of the drag: the grid where it is missing, then the image captured at the drag's
    // start (if any) at the target's current place.
    void Paint(HWND target, HBITMAP image, SIZE imageSize, std::int32_t pitch, COLORREF color);

private:
    GridTrail FTrail;
};

} // namespace trellane
