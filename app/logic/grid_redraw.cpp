#include "grid_redraw.h"

#include <algorithm>

#include "int32.h"

namespace trellane {
namespace {

// The lines on [first, end), end exclusive, as GridLinesAcross counts them (both ends included).
GridLineRun LinesWithin(std::int32_t first, std::int32_t end, std::int32_t pitch) {
    if (end <= first) return {0, 0};
    return GridLinesAcross(first, ClampToInt32(std::int64_t{end} - first - 1), pitch);
}

std::optional<WindowBounds> Covered(const std::optional<WindowBounds>& image,
                                    const std::optional<WindowBounds>& window) {
    if (!image) return window;
    if (!window) return image;
    return BoundingBox(*image, *window);
}

} // namespace

bool IsEmptyBounds(const WindowBounds& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

WindowBounds Intersection(const WindowBounds& a, const WindowBounds& b) {
    const WindowBounds both{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                            std::min(a.bottom, b.bottom)};
    return IsEmptyBounds(both) ? WindowBounds{0, 0, 0, 0} : both;
}

WindowBounds BoundingBox(const WindowBounds& a, const WindowBounds& b) {
    if (IsEmptyBounds(a)) return b;
    if (IsEmptyBounds(b)) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

bool Contains(const WindowBounds& outer, const WindowBounds& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool GridLook::operator==(const GridLook& other) const {
    return pitch == other.pitch && color == other.color && screen.left == other.screen.left &&
           screen.top == other.screen.top && screen.right == other.screen.right &&
           screen.bottom == other.screen.bottom;
}

GridPatch GridInside(const WindowBounds& area, std::int32_t pitch) {
    if (IsEmptyBounds(area)) return {area, {0, 0}, {0, 0}};
    return {area, LinesWithin(area.left, area.right, pitch), LinesWithin(area.top, area.bottom, pitch)};
}

GridRedraw GridTrail::Next(const std::optional<WindowBounds>& image,
                           const std::optional<WindowBounds>& window, const GridLook& look) {
    GridRedraw redraw;
    if (!FPainted || !(look == FLook)) {
        redraw.wholeScreen = true;
        FPainted = true;
        FLook = look;
    } else {
        // The lines under the last image come back where the image leaves them. The window uncovers
        // other windows as it moves, and they repaint themselves a little later, sometimes after this
        // paint, wiping lines it drew; the move after it draws those once more, so the area before the
        // last is drawn again too. An area the new image covers whole would be hidden at once.
        for (const std::optional<WindowBounds>& area : {FPrevious, FBeforePrevious}) {
            if (!area) continue;
            const WindowBounds onScreen = Intersection(*area, look.screen);
            const bool hidden = image && Contains(*image, onScreen);
            const bool again = redraw.areaCount > 0 && Contains(redraw.areas[0], onScreen);
            if (IsEmptyBounds(onScreen) || hidden || again) continue;
            redraw.areas[static_cast<std::size_t>(redraw.areaCount++)] = onScreen;
        }
    }
    FBeforePrevious = FPrevious;
    FPrevious = Covered(image, window);
    return redraw;
}

} // namespace trellane
