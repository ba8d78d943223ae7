// The window a caption command acts on, and where a snapped child window is placed.
#include "command_target.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

using namespace trellane;

namespace {
constexpr std::uint32_t kChild = 0x40000000, kVScroll = 0x00200000, kBorder = 0x00800000;
constexpr std::uint32_t kOverlapped = 0x00CF0000, kPopup = 0x80000000;
} // namespace

TEST(CommandTarget, TheNearestWindowWithACaptionUpTheParentChainElseTheTopLevelOne) {
    EXPECT_EQ(CommandTargetIndex({kOverlapped}), 0u);
    // A list box with a scroll bar inside a frame: the frame.
    EXPECT_EQ(CommandTargetIndex({kChild | kVScroll | kBorder, kOverlapped}), 1u);
    // A list inside a document window inside the frame's client area: the document window.
    EXPECT_EQ(CommandTargetIndex({kChild | kVScroll, kChild | kWsCaption, kChild, kOverlapped}), 1u);
    // No caption anywhere (one of its two bits is none): the top-level window.
    EXPECT_EQ(CommandTargetIndex({kChild | kVScroll, kChild | kBorder, kPopup | kBorder}), 2u);
    EXPECT_EQ(CommandTargetIndex({}), 0u);
}

TEST(CommandTarget, AChildWindowIsPlacedInItsParentsClientCoordinates) {
    // Snapped on the screen at (160, 120); the frame's client area starts at (37, 61).
    const SnapPlacement screen{160, 120, 320, 240, kSwpNoZOrder | kSwpFrameChanged};
    const SnapPlacement inParent = PlacementInParent(screen, 37, 61);
    EXPECT_EQ(inParent.x, 123);
    EXPECT_EQ(inParent.y, 59);
    EXPECT_EQ(inParent.cx, 320);
    EXPECT_EQ(inParent.cy, 240);
    EXPECT_EQ(inParent.flags, screen.flags);
    EXPECT_EQ(PlacementInParent(screen, 0, 0).x, 160) << "a top-level window's origin is the screen's";
    EXPECT_EQ(PlacementInParent(SnapPlacement{-64, -32, 0, 0, kSwpNoSize}, -100, 10).y, -42);
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(PlacementInParent(SnapPlacement{kMax, 0, 0, 0, 0}, -10, 0).x, kMax) << "never wraps";
}

TEST(SessionEnd, WaitsOnlyForWindowsStillAtTheirFoldedHeightAndOnlyForASecond) {
    EXPECT_TRUE(StillUnfolding(27, 27));
    EXPECT_FALSE(StillUnfolding(27, 200)) << "back as high as its program lets it be";
    EXPECT_FALSE(StillUnfolding(27, -1)) << "gone";
    EXPECT_TRUE(KeepWaitingForUnfolds(2, kSessionEndWaitMs - 1));
    EXPECT_FALSE(KeepWaitingForUnfolds(2, kSessionEndWaitMs)) << "a program that does not answer";
    EXPECT_FALSE(KeepWaitingForUnfolds(0, 0));
}
