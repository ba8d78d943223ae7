// Where windows land on the grid. Windows on monitors left of or above the primary screen have
// negative coordinates and must land on the same grid, and no coordinate may overflow.
#include "grid.h"
#include "grid_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace trellane;

namespace {
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// An independent reference: the two multiples around v, the upper one on a tie, then the
// in-range one when the nearer one does not fit.
std::int64_t NearestMultiple(std::int64_t v, std::int64_t g) {
    const std::int64_t below = v - (((v % g) + g) % g);
    const std::int64_t above = below + g;
    std::int64_t nearest = (v - below < above - v) ? below : above;
    if (nearest > kMax) nearest = below;
    if (nearest < kMin) nearest = above;
    return nearest;
}
} // namespace

TEST(SnapToGrid, RoundsToTheNearestMultipleHalvesUpward) {
    struct Case {
        std::int32_t v, expected;
    };
    for (const Case c : {Case{0, 0}, {15, 0}, {16, 32}, {31, 32}, {32, 32}, {47, 32}, {48, 64}, {1024, 1024}})
        EXPECT_EQ(SnapToGrid(c.v, 32), c.expected) << "v=" << c.v;
}

TEST(SnapToGrid, NegativeCoordinatesUseTheSameGrid) {
    struct Case {
        std::int32_t v, expected;
    };
    for (const Case c : {Case{-1, 0},
                         {-16, 0},
                         {-17, -32},
                         {-47, -32},
                         {-48, -32},
                         {-49, -64},
                         {-64, -64},
                         {-79, -64},
                         {-80, -64},
                         {-81, -96}})
        EXPECT_EQ(SnapToGrid(c.v, 32), c.expected) << "v=" << c.v;
}

TEST(SnapToGrid, OddPitchHasNoTies) {
    EXPECT_EQ(SnapToGrid(1, 3), 0);
    EXPECT_EQ(SnapToGrid(2, 3), 3);
    EXPECT_EQ(SnapToGrid(-1, 3), 0);
    EXPECT_EQ(SnapToGrid(-2, 3), -3);
}

TEST(SnapToGrid, PitchOneAndInvalidPitchesLeaveTheValue) {
    for (std::int32_t v : {kMin, -5, 0, 7, kMax}) {
        EXPECT_EQ(SnapToGrid(v, 1), v);
        EXPECT_EQ(SnapToGrid(v, 0), v);
        EXPECT_EQ(SnapToGrid(v, -32), v);
        EXPECT_EQ(SnapToGrid(v, kMin), v);
    }
}

TEST(SnapToGrid, StaysRepresentableAtTheEdgesOfTheRange) {
    EXPECT_EQ(SnapToGrid(kMax, 32), 2147483616) << "2^31 is nearer but does not fit";
    EXPECT_EQ(SnapToGrid(kMax - 15, 32), 2147483616);
    EXPECT_EQ(SnapToGrid(kMin, 32), kMin) << "an exact multiple";
    EXPECT_EQ(SnapToGrid(kMin, 3), -2147483646) << "-2147483649 is nearer but does not fit";
    EXPECT_EQ(SnapToGrid(kMin + 1, 320), -2147483520);
    EXPECT_EQ(SnapToGrid(kMax, kMax), kMax);
    EXPECT_EQ(SnapToGrid(1073741824, kMax), kMax);
    EXPECT_EQ(SnapToGrid(1073741823, kMax), 0);
    EXPECT_EQ(SnapToGrid(kMin, kMax), -kMax);
}

TEST(SnapToGrid, AgreesWithAReferenceAcrossValuesAndPitches) {
    for (std::int32_t pitch : {1, 2, 3, 4, 7, 31, 32, 33, 320, 1000003, kMax - 1, kMax}) {
        for (std::int64_t v = -2000; v <= 2000; ++v)
            ASSERT_EQ(SnapToGrid(static_cast<std::int32_t>(v), pitch), NearestMultiple(v, pitch))
                << "v=" << v << " pitch=" << pitch;
        for (std::int64_t offset = 0; offset <= 2000; ++offset) {
            ASSERT_EQ(SnapToGrid(static_cast<std::int32_t>(kMax - offset), pitch),
                      NearestMultiple(kMax - offset, pitch))
                << "v=" << kMax - offset << " pitch=" << pitch;
            ASSERT_EQ(SnapToGrid(static_cast<std::int32_t>(kMin + offset), pitch),
                      NearestMultiple(kMin + offset, pitch))
                << "v=" << kMin + offset << " pitch=" << pitch;
        }
    }
}

TEST(SnapWindow, FixedSizeWindowMovesItsCornerOnly) {
    const SnapPlacement p = SnapWindow({-48, 47, 333, 250}, /*resizable=*/false, 32);
    EXPECT_EQ(p.x, -32);
    EXPECT_EQ(p.y, 32);
    EXPECT_EQ(p.cx, 0);
    EXPECT_EQ(p.cy, 0);
    EXPECT_EQ(p.flags, 0x0025u);
}

TEST(SnapWindow, ResizableWindowSnapsEveryEdgeIndependently) {
    const SnapPlacement p = SnapWindow({-48, 15, 333, 250}, /*resizable=*/true, 32);
    EXPECT_EQ(p.x, -32);
    EXPECT_EQ(p.y, 0);
    EXPECT_EQ(p.cx, 320 - -32);
    EXPECT_EQ(p.cy, 256);
    EXPECT_EQ(p.flags, 0x0024u);
}

TEST(SnapWindow, SmallResizableWindowMayCollapseToZero) {
    const SnapPlacement p = SnapWindow({40, 40, 47, 47}, /*resizable=*/true, 32);
    EXPECT_EQ(p.x, 32);
    EXPECT_EQ(p.y, 32);
    EXPECT_EQ(p.cx, 0);
    EXPECT_EQ(p.cy, 0);
}

TEST(SnapWindow, ExtentsClampInsteadOfOverflowing) {
    const SnapPlacement wide = SnapWindow({kMin, kMin, kMax, kMax}, /*resizable=*/true, 32);
    EXPECT_EQ(wide.x, kMin);
    EXPECT_EQ(wide.cx, kMax);
    EXPECT_EQ(wide.cy, kMax);
    const SnapPlacement inverted = SnapWindow({kMax, kMax, kMin, kMin}, /*resizable=*/true, 32);
    EXPECT_EQ(inverted.cx, kMin);
    EXPECT_EQ(inverted.cy, kMin);
}

TEST(GridWidth, ClampsIntoTheOfferedRange) {
    EXPECT_EQ(ClampGridWidth(kMin), 4);
    EXPECT_EQ(ClampGridWidth(0), 4);
    EXPECT_EQ(ClampGridWidth(4), 4);
    EXPECT_EQ(ClampGridWidth(32), 32);
    EXPECT_EQ(ClampGridWidth(320), 320);
    EXPECT_EQ(ClampGridWidth(1000), 320);
    EXPECT_EQ(ClampGridWidth(kMax), 320);
}

TEST(Toumei, ALevelFromTheSettingsFileIsClampedToWhatTheScrollBarOffers) {
    EXPECT_EQ(ClampToumei(0), 20) << "0 would make translucent windows invisible";
    EXPECT_EQ(ClampToumei(-5), 20);
    EXPECT_EQ(ClampToumei(19), 20);
    EXPECT_EQ(ClampToumei(20), 20);
    EXPECT_EQ(ClampToumei(70), 70);
    EXPECT_EQ(ClampToumei(100), 100);
    EXPECT_EQ(ClampToumei(101), 100) << "101 would wrap to alpha 1";
    EXPECT_EQ(ClampToumei(std::numeric_limits<std::int32_t>::max()), 100);
    EXPECT_EQ(ClampToumei(std::numeric_limits<std::int32_t>::min()), 20);
}

TEST(GridWidth, SpinTextIsADecimalIntegerWithBlanksAround) {
    EXPECT_EQ(GridWidthFromSpinText(L"32"), 32);
    EXPECT_EQ(GridWidthFromSpinText(L"  64 "), 64);
    EXPECT_EQ(GridWidthFromSpinText(L"\t+16\t"), 16);
    EXPECT_EQ(GridWidthFromSpinText(L"0"), 4);
    EXPECT_EQ(GridWidthFromSpinText(L"-32"), 4);
    EXPECT_EQ(GridWidthFromSpinText(L"1000"), 320);
    EXPECT_EQ(GridWidthFromSpinText(L"99999999999999999999999"), 320) << "a long number is still large";
    EXPECT_EQ(GridWidthFromSpinText(L"-99999999999999999999999"), 4);
}

TEST(GridWidth, SpinTextThatIsNotAnIntegerGivesTheMinimum) {
    for (const wchar_t* text : {L"", L"  ", L"-", L"3 2", L"32px", L"$20", L"0x20", L"1.5", L"\uFF13\uFF12"})
        EXPECT_EQ(GridWidthFromSpinText(text), 4) << testing::PrintToString(std::wstring(text));
}

namespace {
auto Lines(const GridLineRun& r) {
    return std::pair{r.first, r.count};
}
} // namespace

TEST(GridInside, OnlyTheLinesInsideTheRectangleRightAndBottomExcluded) {
    const GridPatch patch = GridInside({33, 30, 100, 64}, 32);
    EXPECT_EQ(Lines(patch.columns), std::pair(64, 2));
    EXPECT_EQ(Lines(patch.rows), std::pair(32, 1)) << "64 is the bottom edge, outside";
    const GridPatch negative = GridInside({-40, -40, -31, 0}, 32);
    EXPECT_EQ(std::tuple(Lines(negative.columns), Lines(negative.rows)),
              std::tuple(std::pair(-32, 1), std::pair(-32, 1)));
    EXPECT_EQ(GridInside({50, 50, 50, 90}, 4).columns.count + GridInside({50, 50, 50, 90}, 4).rows.count, 0);
}

TEST(GridPixels, OpaqueLinesCountedFromThePrimaryCornerAndNothingElse) {
    // A screen of 9 by 9 pixels from (-5, -5), pitch 4: lines at -4 and 0 across and down.
    const GridLook look{4, 0x00332211, {-5, -5, 4, 4}};
    EXPECT_EQ(OpaqueLinePixel(look.color), 0xFF112233u) << "red, green, blue and alpha";
    std::vector<std::uint32_t> pixels(9 * 9, 0);
    DrawGridPixels(pixels.data(), look, 7);
    std::string seen;
    for (std::size_t i = 0; i < pixels.size(); ++i)
        seen += std::string(pixels[i] == 7 ? "#" : pixels[i] == 0 ? "." : "?") + (i % 9 == 8 ? "|" : "");
    const std::string columns = ".#...#...|", row = "#########|";
    EXPECT_EQ(seen, columns + row + columns + columns + columns + row + columns + columns + columns);
}
