// How the hook classifies each mouse message. These rules run inside every program on the
// desktop, so every row of the decision table is pinned here.
#include "mouse_decision.h"

#include <gtest/gtest.h>

#include <iterator>

using namespace vellum;

namespace {
constexpr int kAction = 0;
constexpr int kNoRemove = 3;

MouseVerdict Classify(unsigned message, unsigned hitTest = hit::Caption, bool dragging = false,
                      bool rightOn = true, bool shift = false, int code = kAction) {
    return ClassifyMouse(code, message, hitTest, dragging, rightOn, shift);
}

void ExpectPassOn(const MouseVerdict& v) {
    EXPECT_EQ(v.post, 0u);
    EXPECT_FALSE(v.swallow);
    EXPECT_EQ(v.drag, DragChange::Keep);
}
} // namespace

TEST(SharedRecord, HasTheBindingLayout) {
    EXPECT_EQ(sizeof(HookShared), 23u);
    EXPECT_EQ(offsetof(HookShared, GridWidth), 18u);
    EXPECT_EQ(offsetof(HookShared, Dragging), 22u);
    EXPECT_EQ(ToFlag(-1), 1);
    EXPECT_EQ(ToFlag(2), 1);
    EXPECT_EQ(ToFlag(0), 0);
}

TEST(NotificationNumbers, AreTheFixedPrivateMessages) {
    EXPECT_EQ(HM_MOUSEMOVE, 2138u);
    EXPECT_EQ(HM_DRAGSTART, 2139u);
    EXPECT_EQ(HM_DRAGEND, 2140u);
    EXPECT_EQ(HM_RCLICK, 2141u);
    EXPECT_EQ(HM_MCLICK, 2143u);
    EXPECT_EQ(HM_SHIFT_RCLICK, 2144u);
    EXPECT_EQ(HM_RDBLCLK, 2145u);
}

TEST(NotificationNumbers, AreRecognisedByTheirListWithTheirNames) {
    EXPECT_EQ(std::size(kHookNotifications), 7u);
    for (const HookNotification& n : kHookNotifications)
        EXPECT_TRUE(IsNotification(n.message)) << n.name;
    EXPECT_FALSE(IsNotification(0x085E)) << "the gap between HM_RCLICK and HM_MCLICK";
    EXPECT_FALSE(IsNotification(0x0859));
    EXPECT_FALSE(IsNotification(0x0862));
    EXPECT_STREQ(NotificationName(HM_DRAGSTART), "HM_DRAGSTART");
    EXPECT_STREQ(NotificationName(HM_SHIFT_RCLICK), "HM_SHIFT_RCLICK");
    EXPECT_STREQ(NotificationName(0x085E), "not a notification");
    EXPECT_EQ(LowestNotification(), HM_MOUSEMOVE);
    EXPECT_EQ(HighestNotification(), HM_RDBLCLK);
}

TEST(LeftPress, StartsADragOnCaptionAndEverySizingBorder) {
    for (unsigned hitTest : {2u, 10u, 11u, 12u, 13u, 14u, 15u, 16u, 17u}) {
        const auto v = Classify(msg::NcLButtonDown, hitTest);
        EXPECT_EQ(v.post, HM_DRAGSTART) << hitTest;
        EXPECT_FALSE(v.swallow) << hitTest;
        EXPECT_EQ(v.drag, DragChange::Start) << hitTest;
    }
}

TEST(LeftPress, ElsewhereStartsNothing) {
    // Size grip, system menu, caption buttons, thin border, client, nowhere, error codes.
    for (unsigned hitTest :
         {0u, 1u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 18u, 19u, 20u, 21u, 0xFFFFFFFEu, 0xFFFFFFFFu})
        ExpectPassOn(Classify(msg::NcLButtonDown, hitTest));
}

TEST(LeftPress, RestartsWhileAlreadyDragging) {
    const auto v = Classify(msg::NcLButtonDown, hit::Caption, /*dragging=*/true);
    EXPECT_EQ(v.post, HM_DRAGSTART);
    EXPECT_EQ(v.drag, DragChange::Start);
}

TEST(Release, EndsADragOnlyWhileDragging) {
    for (unsigned message : {msg::NcLButtonUp, msg::LButtonUp}) {
        const auto v = Classify(message, 0, /*dragging=*/true);
        EXPECT_EQ(v.post, HM_DRAGEND);
        EXPECT_FALSE(v.swallow);
        EXPECT_EQ(v.drag, DragChange::End);
        ExpectPassOn(Classify(message, 0, /*dragging=*/false));
    }
}

TEST(Move, ReportedOnlyDuringADrag) {
    const auto v = Classify(msg::MouseMove, 1, true);
    EXPECT_EQ(v.post, HM_MOUSEMOVE);
    EXPECT_FALSE(v.swallow);
    EXPECT_EQ(v.drag, DragChange::Keep);
    ExpectPassOn(Classify(msg::MouseMove, 1, false));
    // The non-client move is never looked at, not even during a drag.
    ExpectPassOn(Classify(msg::NcMouseMove, hit::Caption, true));
}

TEST(RightPress, FoldsOrFlashesByShiftAndIsSwallowed) {
    const auto plain = Classify(msg::NcRButtonDown, hit::Caption, false, true, false);
    EXPECT_EQ(plain.post, HM_RCLICK);
    EXPECT_TRUE(plain.swallow);
    const auto shifted = Classify(msg::NcRButtonDown, hit::Caption, false, true, true);
    EXPECT_EQ(shifted.post, HM_SHIFT_RCLICK);
    EXPECT_TRUE(shifted.swallow);
    // Any non-client part counts: scroll bars (6, 7), menu bar (5), caption buttons.
    for (unsigned hitTest : {3u, 5u, 6u, 7u, 8u, 9u, 18u, 20u})
        EXPECT_EQ(Classify(msg::NcRButtonDown, hitTest).post, HM_RCLICK) << hitTest;
}

TEST(RightPress, PassedOnUntouchedWhenRightButtonCommandsAreOff) {
    ExpectPassOn(Classify(msg::NcRButtonDown, hit::Caption, false, false, false));
    ExpectPassOn(Classify(msg::NcRButtonDown, hit::Caption, false, false, true));
    ExpectPassOn(Classify(msg::NcRButtonDblClk, hit::Caption, false, false, true));
}

TEST(RightDoubleClick, IsItsOwnGestureWhateverShift) {
    for (bool shift : {false, true}) {
        const auto v = Classify(msg::NcRButtonDblClk, hit::Caption, false, true, shift);
        EXPECT_EQ(v.post, HM_RDBLCLK);
        EXPECT_TRUE(v.swallow);
    }
}

TEST(MiddlePress, TogglesTranslucencyWhateverTheRightButtonSwitch) {
    for (bool rightOn : {false, true}) {
        const auto v = Classify(msg::NcMButtonDown, 6, false, rightOn);
        EXPECT_EQ(v.post, HM_MCLICK);
        EXPECT_TRUE(v.swallow);
    }
}

TEST(OtherMessages, ArePassedOn) {
    for (unsigned message : {0x00A3u, 0x00A5u, 0x00A8u, 0x00A9u, 0x00A0u, 0x0201u, 0x0203u, 0x0204u, 0x0205u,
                             0x0206u, 0x0207u, 0x0208u, 0x0209u, 0x020Au, 0x0000u, 0xFFFFFFFFu})
        ExpectPassOn(Classify(message, hit::Caption, true));
}

TEST(HookCodes, NoRemoveIsHandledLikeActionAndNegativeCodesPassEverything) {
    EXPECT_EQ(Classify(msg::NcMButtonDown, 2, false, true, false, kNoRemove).post, HM_MCLICK);
    EXPECT_EQ(Classify(msg::NcLButtonDown, 2, false, true, false, 1).post, HM_DRAGSTART);
    for (unsigned message : {msg::NcMButtonDown, msg::NcRButtonDown, msg::NcRButtonDblClk, msg::NcLButtonDown,
                             msg::LButtonUp, msg::MouseMove})
        ExpectPassOn(Classify(message, hit::Caption, true, true, true, -1));
}

TEST(ShiftState, IsReadOnlyForARightPressThatCounts) {
    EXPECT_TRUE(NeedsShiftState(kAction, msg::NcRButtonDown, true));
    EXPECT_TRUE(NeedsShiftState(kNoRemove, msg::NcRButtonDown, true));
    EXPECT_FALSE(NeedsShiftState(kAction, msg::NcRButtonDown, false));
    EXPECT_FALSE(NeedsShiftState(-1, msg::NcRButtonDown, true));
    EXPECT_FALSE(NeedsShiftState(kAction, msg::NcRButtonDblClk, true));
    EXPECT_FALSE(NeedsShiftState(kAction, msg::MouseMove, true));
}
