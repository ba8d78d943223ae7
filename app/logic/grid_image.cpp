#include "grid_image.h"

#include <algorithm>
#include <cstddef>

#include "int32.h"

namespace trellane {
namespace {

// The lines on [first, end), end exclusive, as GridLinesAcross counts them (both ends included).
GridLineRun LinesWithin(std::int32_t first, std::int32_t end, std::int32_t pitch) {
    if (end <= first) return {0, 0};
    return GridLinesAcross(first, ClampToInt32(std::int64_t{end} - first - 1), pitch);
}

} // namespace

bool IsEmptyBounds(const WindowBounds& r) {
    return r.right <= r.left || r.bottom <= r.top;
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

void DrawGridPixels(std::uint32_t* pixels, const GridLook& look, std::uint32_t pixel) {
    const GridPatch patch = GridInside(look.screen, look.pitch);
    if (!pixels || patch.columns.count + patch.rows.count == 0) return;
    const auto width = static_cast<std::size_t>(std::int64_t{look.screen.right} - look.screen.left);
    const auto height = static_cast<std::size_t>(std::int64_t{look.screen.bottom} - look.screen.top);
    const auto pitch = static_cast<std::size_t>(look.pitch);
    const auto firstColumn = static_cast<std::size_t>(std::int64_t{patch.columns.first} - look.screen.left);
    const auto firstRow = static_cast<std::size_t>(std::int64_t{patch.rows.first} - look.screen.top);
    const auto rowCount = static_cast<std::size_t>(patch.rows.count);
    // Row by row, so the picture is written in the order it lies in memory: a row on a line is
    // filled whole, any other gets the columns' pixels.
    for (std::size_t y = 0; y < height; ++y) {
        std::uint32_t* row = pixels + y * width;
        const bool onLine =
            rowCount > 0 && y >= firstRow && (y - firstRow) % pitch == 0 && (y - firstRow) / pitch < rowCount;
        if (onLine) {
            std::fill_n(row, width, pixel);
            continue;
        }
        if (patch.columns.count == 0) continue;
        for (std::size_t x = firstColumn; x < width; x += pitch)
            row[x] = pixel;
    }
}

} // namespace trellane
