// The grid as the user sees it: visible frames inside invisible resize borders, and grid lines
// across a virtual screen that starts left of or above the primary screen.
#include "screen_geometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

using namespace trellane;

namespace {
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

void ExpectPlacement(const SnapPlacement& p, std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                     std::uint32_t flags) {
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
    EXPECT_EQ(p.cx, cx);
    EXPECT_EQ(p.cy, cy);
    EXPECT_EQ(p.flags, flags);
}
} // namespace

TEST(VisibleFrame, BordersOfDifferentWidthsKeepTheirWidthsWhileTheVisibleEdgesSnap) {
    // Borders: 7 left, 1 top, 9 right, 5 bottom.
    const WindowBounds window{93, 99, 416, 306};
    const WindowBounds visible{100, 100, 407, 301};
    // Visible edges 100, 100, 407, 301 go to 96, 96, 416, 288.
    ExpectPlacement(SnapVisibleFrame(window, visible, true, 32), 96 - 7, 96 - 1, (416 - 96) + 7 + 9,
                    (288 - 96) + 1 + 5, 0x0024u);
    ExpectPlacement(SnapVisibleFrame(window, visible, false, 32), 96 - 7, 96 - 1, 0, 0, 0x0025u);
}

TEST(VisibleFrame, NegativeCoordinatesLandOnTheSameGrid) {
    const WindowBounds window{-1287, -50, -893, 207};
    const WindowBounds visible{-1280, -50, -900, 200};
    // -1280 is on the grid; -50 goes to -64, -900 to -896, 200 to 192.
    ExpectPlacement(SnapVisibleFrame(window, visible, true, 32), -1287, -64, (-896 + 1280) + 14,
                    (192 + 64) + 7, 0x0024u);
}

TEST(VisibleFrame, AWindowSmallerThanItsBordersKeepsItsBorders) {
    // The visible frame snaps to nothing; the window keeps its 7-pixel borders around it.
    const WindowBounds window{33, 40, 54, 54};
    const WindowBounds visible{40, 40, 47, 47};
    ExpectPlacement(SnapVisibleFrame(window, visible, true, 32), 32 - 7, 32, 14, 7, 0x0024u);
    // Borders wider than the window make the visible frame inverted: the window rectangle is used.
    const WindowBounds narrow{100, 100, 110, 110};
    const WindowBounds inverted{107, 100, 103, 103};
    EXPECT_FALSE(IsUsableVisibleFrame(narrow, inverted));
    ExpectPlacement(SnapVisibleFrame(narrow, inverted, true, 32), 96, 96, 0, 0, 0x0024u);
}

TEST(VisibleFrame, NoUsableFrameSnapsTheWindowRectangleAsBefore) {
    const WindowBounds window{-48, 15, 333, 250};
    const WindowBounds cases[] = {{0, 0, 0, 0},         // an error left it empty
                                  {-40, 20, -40, 200},  // no width
                                  {-50, 15, 330, 245},  // sticks out on the left
                                  {-40, 20, 340, 245}}; // sticks out on the right
    for (bool resizable : {true, false}) {
        const SnapPlacement expected = SnapWindow(window, resizable, 32);
        for (const WindowBounds& visible : cases) {
            EXPECT_FALSE(IsUsableVisibleFrame(window, visible));
            const SnapPlacement p = SnapVisibleFrame(window, visible, resizable, 32);
            ExpectPlacement(p, expected.x, expected.y, expected.cx, expected.cy, expected.flags);
        }
        // A frame equal to the window rectangle (no invisible borders) gives the same too.
        const SnapPlacement same = SnapVisibleFrame(window, window, resizable, 32);
        ExpectPlacement(same, expected.x, expected.y, expected.cx, expected.cy, expected.flags);
    }
}

TEST(GridLinesAcross, OneScreenAtTheOriginIsUnchanged) {
    for (std::int32_t pitch : {4, 7, 32, 320}) {
        const GridLineCounts counts = CountGridLines(1024, 768, pitch);
        const GridLineRun across = GridLinesAcross(0, 1024, pitch);
        const GridLineRun down = GridLinesAcross(0, 768, pitch);
        EXPECT_EQ(across.first, 0);
        EXPECT_EQ(across.count, counts.verticalLines) << "pitch " << pitch;
        EXPECT_EQ(down.first, 0);
        EXPECT_EQ(down.count, counts.horizontalLines) << "pitch " << pitch;
    }
}

TEST(GridLinesAcross, AVirtualScreenLeftOfAndAboveThePrimaryKeepsThePrimaryOrigin) {
    // A 1280-pixel monitor left of a 1024-pixel primary: lines from -1280 to 1024.
    GridLineRun run = GridLinesAcross(-1280, 1280 + 1024, 32);
    EXPECT_EQ(run.first, -1280);
    EXPECT_EQ(run.count, (1280 + 1024) / 32 + 1);
    // A monitor above starting off the grid: the first line is the first multiple inside.
    run = GridLinesAcross(-1050, 1050 + 768, 32);
    EXPECT_EQ(run.first, -1024);
    EXPECT_EQ(run.count, (1024 + 768) / 32 + 1);
    // Ending off the grid too: the last line is the last multiple inside.
    run = GridLinesAcross(-1050, 1050 + 700, 32);
    EXPECT_EQ(run.first, -1024);
    EXPECT_EQ(run.first + (run.count - 1) * 32, 672);
    // A virtual screen entirely right of the primary's origin (the primary is not leftmost).
    run = GridLinesAcross(33, 30, 32);
    EXPECT_EQ(run.count, 0) << "no multiple of 32 between 33 and 63";
}

TEST(GridLinesAcross, DegenerateInputsGiveNoLinesOrStayInRange) {
    EXPECT_EQ(GridLinesAcross(0, 1024, 0).count, 0);
    EXPECT_EQ(GridLinesAcross(0, -1, 32).count, 0);
    const GridLineRun wide = GridLinesAcross(-kMax, kMax, 1 << 20);
    EXPECT_EQ(wide.first, -2047 * (1 << 20));
    EXPECT_EQ(wide.count, 2 * 2047 + 1 - 2047);
    const GridLineRun beyond = GridLinesAcross(kMax - 10, kMax, 32);
    EXPECT_GE(beyond.count, 0);
    EXPECT_LE(std::int64_t{beyond.first} + std::int64_t{beyond.count - 1} * 32, kMax);
}
