// The window a caption command acts on, and where a snapped child window is placed.
#include "command_target.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

using namespace trellane;

namespace {
constexpr std::uint32_t kChild = 0x40000000;      // WS_CHILD
constexpr std::uint32_t kVScroll = 0x00200000;    // WS_VSCROLL
constexpr std::uint32_t kBorder = 0x00800000;     // WS_BORDER alone is no caption
constexpr std::uint32_t kOverlapped = 0x00CF0000; // WS_OVERLAPPEDWINDOW
constexpr std::uint32_t kPopup = 0x80000000;      // WS_POPUP
} // namespace

TEST(CommandTarget, TheNearestWindowWithACaptionUpTheParentChain) {
    // A window that has its own caption is the target itself.
    EXPECT_EQ(CommandTargetIndex({kOverlapped}), 0u);
    // A list box with a scroll bar inside a frame: the frame.
    EXPECT_EQ(CommandTargetIndex({kChild | kVScroll | kBorder, kOverlapped}), 1u);
    // A list inside a document window (with caption) inside the frame's client: the document window.
    EXPECT_EQ(CommandTargetIndex({kChild | kVScroll, kChild | kWsCaption, kChild, kOverlapped}), 1u);
}

TEST(CommandTarget, WithoutAnyCaptionTheTopLevelWindow) {
    EXPECT_EQ(CommandTargetIndex({kChild | kVScroll, kChild, kPopup}), 2u);
    EXPECT_EQ(CommandTargetIndex({kPopup}), 0u);
    EXPECT_EQ(CommandTargetIndex({kChild | kBorder, kPopup | kBorder}), 1u)
        << "one caption bit is not a caption";
    EXPECT_EQ(CommandTargetIndex({}), 0u);
}

TEST(CommandTarget, AChildWindowIsPlacedInItsParentsClientCoordinates) {
    // Snapped on the screen at (160, 120); the frame's client area starts at (37, 61).
    const SnapPlacement screen{160, 120, 320, 240, kSwpNoZOrder | kSwpFrameChanged};
    const SnapPlacement inParent = PlacementInParent(screen, 37, 61);
    EXPECT_EQ(inParent.x, 123);
    EXPECT_EQ(inParent.y, 59);
    EXPECT_EQ(inParent.cx, 320) << "sizes do not depend on the origin";
    EXPECT_EQ(inParent.cy, 240);
    EXPECT_EQ(inParent.flags, screen.flags);
    // A top-level window's origin is the screen's.
    const SnapPlacement topLevel = PlacementInParent(screen, 0, 0);
    EXPECT_EQ(topLevel.x, 160);
    EXPECT_EQ(topLevel.y, 120);
    // Left of and above the primary screen.
    EXPECT_EQ(PlacementInParent(SnapPlacement{-64, -32, 0, 0, kSwpNoSize}, -100, 10).x, 36);
    EXPECT_EQ(PlacementInParent(SnapPlacement{-64, -32, 0, 0, kSwpNoSize}, -100, 10).y, -42);
    // Never wraps.
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(PlacementInParent(SnapPlacement{kMax, kMin, 0, 0, 0}, -10, 10).x, kMax);
    EXPECT_EQ(PlacementInParent(SnapPlacement{kMax, kMin, 0, 0, 0}, -10, 10).y, kMin);
}

TEST(CommandTarget, MaximizedAndMinimizedWindowsAreNotPlaced) {
    EXPECT_TRUE(MayBePlaced(false, false));
    EXPECT_FALSE(MayBePlaced(true, false));
    EXPECT_FALSE(MayBePlaced(false, true));
}
