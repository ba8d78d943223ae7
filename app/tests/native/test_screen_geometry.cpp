// The grid as the user sees it: visible frames inside invisible resize borders, and grid lines
// across a virtual screen that starts left of or above the primary screen.
#include "screen_geometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <tuple>

using namespace trellane;

namespace {
auto Fields(const SnapPlacement& p) {
    return std::tuple{p.x, p.y, p.cx, p.cy, p.flags};
}
using Placement = std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::uint32_t>;
} // namespace

TEST(VisibleFrame, BordersOfDifferentWidthsKeepTheirWidthsWhileTheVisibleEdgesSnap) {
    // Borders 7 left, 1 top, 9 right, 5 bottom; the visible edges 100, 100, 407, 301 go to 96, 96,
    // 416, 288.
    const WindowBounds window{93, 99, 416, 306}, visible{100, 100, 407, 301};
    EXPECT_EQ(Fields(SnapVisibleFrame(window, visible, true, 32)),
              (Placement{96 - 7, 96 - 1, 320 + 7 + 9, 192 + 1 + 5, 0x0024u}));
    EXPECT_EQ(Fields(SnapVisibleFrame(window, visible, false, 32)),
              (Placement{96 - 7, 96 - 1, 0, 0, 0x0025u}));
}

TEST(VisibleFrame, NegativeCoordinatesLandOnTheSameGrid) {
    // -1280 is on the grid; -50 goes to -64, -900 to -896, 200 to 192.
    const WindowBounds window{-1287, -50, -893, 207}, visible{-1280, -50, -900, 200};
    EXPECT_EQ(Fields(SnapVisibleFrame(window, visible, true, 32)),
              (Placement{-1287, -64, 384 + 14, 256 + 7, 0x0024u}));
}

TEST(VisibleFrame, AWindowSmallerThanItsBordersKeepsItsBorders) {
    // The visible frame snaps to nothing; the window keeps its 7-pixel borders around it.
    EXPECT_EQ(Fields(SnapVisibleFrame({33, 40, 54, 54}, {40, 40, 47, 47}, true, 32)),
              (Placement{32 - 7, 32, 14, 7, 0x0024u}));
    // Borders wider than the window leave an inverted frame: the window rectangle is snapped.
    EXPECT_FALSE(IsUsableVisibleFrame({100, 100, 110, 110}, {107, 100, 103, 103}));
    EXPECT_EQ(Fields(SnapVisibleFrame({100, 100, 110, 110}, {107, 100, 103, 103}, true, 32)),
              (Placement{96, 96, 0, 0, 0x0024u}));
}

TEST(VisibleFrame, WithoutAUsableFrameTheWindowRectangleSnapsAsBefore) {
    const WindowBounds window{-48, 15, 333, 250};
    // Empty after an error, no width, sticking out left, sticking out right, the window itself.
    for (const WindowBounds& visible :
         {WindowBounds{0, 0, 0, 0}, {-40, 20, -40, 200}, {-50, 15, 330, 245}, {-40, 20, 340, 245}, window}) {
        for (bool resizable : {true, false})
            EXPECT_EQ(Fields(SnapVisibleFrame(window, visible, resizable, 32)),
                      Fields(SnapWindow(window, resizable, 32)));
    }
}

TEST(GridLinesAcross, OneScreenAtTheOriginHasOneMoreLineThanWholeSteps) {
    const auto run = [](std::int32_t size, std::int32_t pitch) {
        const GridLineRun r = GridLinesAcross(0, size, pitch);
        return std::tuple(r.first, r.count);
    };
    for (std::int32_t pitch : {4, 7, 32, 320}) {
        EXPECT_EQ(run(1024, pitch), std::tuple(0, 1024 / pitch + 1)) << pitch;
        EXPECT_EQ(run(768, pitch), std::tuple(0, 768 / pitch + 1)) << pitch;
    }
    EXPECT_EQ(run(1024, 32), std::tuple(0, 33));
    EXPECT_EQ(run(768, 32), std::tuple(0, 25));
    EXPECT_EQ(run(1000, 320), std::tuple(0, 4));
    EXPECT_EQ(run(700, 320), std::tuple(0, 3));
    EXPECT_EQ(run(3, 4), std::tuple(0, 1));
    EXPECT_EQ(run(0, 4), std::tuple(0, 1));
}

TEST(GridLinesAcross, AVirtualScreenLeftOfAndAboveThePrimaryKeepsThePrimaryOrigin) {
    const auto run = [](std::int32_t origin, std::int32_t size) {
        const GridLineRun r = GridLinesAcross(origin, size, 32);
        return std::tuple(r.first, r.count);
    };
    // A 1280-pixel monitor left of a 1024-pixel primary: lines from -1280 to 1024.
    EXPECT_EQ(run(-1280, 1280 + 1024), std::tuple(-1280, 73));
    // Starting off the grid: the first multiple inside; ending off it: the last one (672).
    EXPECT_EQ(run(-1050, 1050 + 768), std::tuple(-1024, 57));
    EXPECT_EQ(run(-1050, 1050 + 700), std::tuple(-1024, 54));
    EXPECT_EQ(std::get<1>(run(33, 30)), 0) << "no multiple of 32 between 33 and 63";
}

TEST(GridLinesAcross, DegenerateInputsGiveNoLinesOrStayInRange) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(GridLinesAcross(0, 1024, 0).count, 0);
    EXPECT_EQ(GridLinesAcross(0, -1, 32).count, 0);
    EXPECT_EQ(GridLinesAcross(0, -64, 32).count, 0);
    EXPECT_EQ(GridLinesAcross(0, kMax, 1).count, kMax) << "one line more than fits: the count saturates";
    const GridLineRun wide = GridLinesAcross(-kMax, kMax, 1 << 20);
    EXPECT_EQ(std::tuple(wide.first, wide.count), std::tuple(-2047 * (1 << 20), 2048));
    const GridLineRun beyond = GridLinesAcross(kMax - 10, kMax, 32);
    EXPECT_LE(std::int64_t{beyond.first} + std::int64_t{beyond.count - 1} * 32, kMax);
}
