// The picture of the grid that the grid window shows during a drag: one 32-bit pixel per screen
// pixel, the lines opaque and everything else fully transparent, as a layered window with
// per-pixel alpha takes it. Drawing it costs in proportion to the screen's area, so it is drawn
// once and kept while it looks the same.
#pragma once

#include <cstdint>

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

// What the grid looks like; a picture drawn for one look is wrong for any other.
struct GridLook {
    std::int32_t pitch;
    std::uint32_t color; // 0x00BBGGRR
    WindowBounds screen;
    bool operator==(const GridLook& other) const;
};

// A line pixel as a premultiplied 32-bit pixel (blue in the lowest byte, alpha in the highest):
// the colour, fully opaque.
constexpr std::uint32_t OpaqueLinePixel(std::uint32_t color) {
    const std::uint32_t red = color & 0xFF, green = (color >> 8) & 0xFF, blue = (color >> 16) & 0xFF;
    return 0xFF000000u | red << 16 | green << 8 | blue;
}

// Writes the lines of the look into `pixels`, a top-down picture of look.screen row after row,
// with `pixel`; the pixels between lines are left as they are (a new picture is all zero, that is
// transparent). Lines count from the primary screen's corner, so a screen with negative
// coordinates gets the same grid.
void DrawGridPixels(std::uint32_t* pixels, const GridLook& look, std::uint32_t pixel);

} // namespace trellane
