// What the grid painted during a drag needs on each mouse move. Painting the whole grid costs in
// proportion to the screen's area, so it is painted once per drag; after that only the places the
// window's image left get their lines back before the image is painted at its new place.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "screen_geometry.h"

namespace trellane {

// The grid lines inside one rectangle (right and bottom exclusive): the columns are drawn from its
// top to its bottom, the rows from its left to its right. An empty rectangle has none.
struct GridPatch {
    WindowBounds area;
    GridLineRun columns;
    GridLineRun rows;
};
GridPatch GridInside(const WindowBounds& area, std::int32_t pitch);

bool IsEmptyBounds(const WindowBounds& r);
// Empty when the two do not overlap.
WindowBounds Intersection(const WindowBounds& a, const WindowBounds& b);
// The smallest rectangle holding both; an empty one counts as nothing.
WindowBounds BoundingBox(const WindowBounds& a, const WindowBounds& b);
bool Contains(const WindowBounds& outer, const WindowBounds& inner);

// What the grid looks like; any change repaints it whole.
struct GridLook {
    std::int32_t pitch;
    std::uint32_t color;
    WindowBounds screen;
    bool operator==(const GridLook& other) const;
};

// What one move paints before the window's image: the whole grid, or the grid inside a few areas.
struct GridRedraw {
    bool wholeScreen = false;
    std::array<WindowBounds, 2> areas{};
    std::int32_t areaCount = 0;
};

// The grid of one drag. The screen keeps the lines once painted, except where the window's image
// was painted over them (its image is never erased during the drag) and where the dragged window
// uncovered other windows that repaint themselves.
class GridTrail {
public:
    // A new drag of a window standing at `start`: none of its grid is on the screen yet, and the
    // place the window leaves first may repaint after the first paint, so it counts as covered.
    void Restart(const std::optional<WindowBounds>& start = std::nullopt) {
        *this = GridTrail();
        FPrevious = start;
    }
    // This move paints the image at `image` (nullopt: no image is painted) while the window itself
    // stands at `window` (nullopt: unknown).
    GridRedraw Next(const std::optional<WindowBounds>& image, const std::optional<WindowBounds>& window,
                    const GridLook& look);

private:
    bool FPainted = false;
    GridLook FLook{};
    // What the last two moves covered: the image and the window, each as one rectangle.
    std::optional<WindowBounds> FPrevious;
    std::optional<WindowBounds> FBeforePrevious;
};

} // namespace trellane
