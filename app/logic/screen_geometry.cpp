#include "screen_geometry.h"

#include <algorithm>

#include "int32.h"

namespace trellane {

bool IsUsableVisibleFrame(const WindowBounds& window, const WindowBounds& visible) {
    const bool empty = visible.right <= visible.left || visible.bottom <= visible.top;
    const bool inside = visible.left >= window.left && visible.top >= window.top &&
                        visible.right <= window.right && visible.bottom <= window.bottom;
    return !empty && inside;
}

SnapPlacement SnapVisibleFrame(const WindowBounds& window, const WindowBounds& visible, bool resizable,
                               std::int32_t pitch) {
    if (!IsUsableVisibleFrame(window, visible)) return SnapWindow(window, resizable, pitch);

    const SnapPlacement frame = SnapWindow(visible, resizable, pitch);
    const std::int64_t leftBorder = std::int64_t{visible.left} - window.left;
    const std::int64_t topBorder = std::int64_t{visible.top} - window.top;
    SnapPlacement placement = frame;
    placement.x = ClampToInt32(frame.x - leftBorder);
    placement.y = ClampToInt32(frame.y - topBorder);
    if (!resizable) return placement;

    // The snapped frame may have collapsed to nothing; the window still keeps its borders.
    const std::int64_t rightBorder = std::int64_t{window.right} - visible.right;
    const std::int64_t bottomBorder = std::int64_t{window.bottom} - visible.bottom;
    placement.cx = ClampToInt32(frame.cx + leftBorder + rightBorder);
    placement.cy = ClampToInt32(frame.cy + topBorder + bottomBorder);
    return placement;
}

GridLineRun GridLinesAcross(std::int32_t origin, std::int32_t size, std::int32_t pitch) {
    if (pitch < 1 || size < 0) return {0, 0};
    const std::int64_t firstIndex = CeilDivide(origin, pitch);
    const std::int64_t lastIndex = FloorDivide(std::int64_t{origin} + size, pitch);
    if (lastIndex < firstIndex) return {0, 0};
    // Past the 32-bit range no line could be drawn anyway.
    const std::int64_t first = std::max(firstIndex * pitch, kInt32Min);
    const std::int64_t last = std::min(lastIndex * pitch, kInt32Max);
    if (last < first) return {0, 0};
    return {static_cast<std::int32_t>(first), ClampToInt32((last - first) / pitch + 1)};
}

} // namespace trellane
