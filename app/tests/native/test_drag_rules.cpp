// Which window a drag's notifications act on, when a drag is over, and which windows the system
// arranged at the drop.
#include "drag_rules.h"

#include <gtest/gtest.h>

using namespace trellane;

TEST(DecideDragStart, ASecondReportOfThePressIsTheSameDragAndAnyOtherStartEndsTheOldOne) {
    EXPECT_EQ(DecideDragStart(false, false, false), DragStartAction::Begin);
    EXPECT_EQ(DecideDragStart(true, true, false), DragStartAction::SameDrag);
    EXPECT_EQ(DecideDragStart(true, true, true), DragStartAction::EndOldAndBegin) << "a new press";
    EXPECT_EQ(DecideDragStart(true, false, false), DragStartAction::EndOldAndBegin);
}

TEST(NextDragStep, TheSnapWaitsForTheMoveToEndAndTheThreadToAnswer) {
    DragFacts facts;
    EXPECT_EQ(NextDragStep(facts), DragStep::Wait) << "pressed, loop not seen yet";
    facts.movingNow = facts.seenMoving = true;
    EXPECT_EQ(NextDragStep(facts), DragStep::Wait);
    facts.released = true;
    EXPECT_EQ(NextDragStep(facts), DragStep::Wait) << "released, the loop still runs";
    facts.movingNow = false;
    EXPECT_EQ(NextDragStep(facts), DragStep::Probe);
    facts.probeSent = true;
    EXPECT_EQ(NextDragStep(facts), DragStep::Wait);
    facts.probeAnswered = true;
    EXPECT_EQ(NextDragStep(facts), DragStep::Finish);
}

TEST(NextDragStep, EitherOrderOfTheSystemsEndAndTheRelease) {
    DragFacts facts;
    facts.endReported = true;
    EXPECT_EQ(NextDragStep(facts), DragStep::Probe) << "the system's end first";
    DragFacts releasedFirst;
    releasedFirst.released = true;
    releasedFirst.movingNow = true;
    EXPECT_EQ(NextDragStep(releasedFirst), DragStep::Wait);
    releasedFirst.endReported = true;
    EXPECT_EQ(NextDragStep(releasedFirst), DragStep::Probe);
}

TEST(NextDragStep, WithoutAMoveLoopSeenTheReleaseStillWaitsForTheThreadsAnswer) {
    DragFacts facts;
    facts.released = true;
    EXPECT_EQ(NextDragStep(facts), DragStep::Probe);
    facts.probeSent = true;
    EXPECT_EQ(NextDragStep(facts), DragStep::Wait);
    facts.probeAnswered = true;
    EXPECT_EQ(NextDragStep(facts), DragStep::Finish);
}

TEST(NextDragStep, ACancelledMoveEndsWithoutARelease) {
    DragFacts facts;
    facts.seenMoving = true;
    EXPECT_EQ(NextDragStep(facts), DragStep::Probe);
}

TEST(NextDragStep, AHungOrVanishedWindowEndsWithoutASnap) {
    DragFacts facts;
    facts.released = facts.movingNow = facts.seenMoving = true;
    // The window's program has 2 seconds.
    facts.msWaited = 1999;
    EXPECT_EQ(NextDragStep(facts), DragStep::Wait);
    facts.msWaited = 2000;
    EXPECT_EQ(NextDragStep(facts), DragStep::Abandon);
    DragFacts gone;
    gone.windowExists = false;
    EXPECT_EQ(NextDragStep(gone), DragStep::Abandon);
}

TEST(ResetsDragFlag, OnlyWhenNoReleaseWasReportedAndNoneIsOnItsWay) {
    EXPECT_TRUE(ResetsDragFlag(false, false));
    EXPECT_FALSE(ResetsDragFlag(true, false));
    EXPECT_FALSE(ResetsDragFlag(false, true));
}

TEST(LooksArranged, TheNormalRectangleInAnyOfItsCoordinatesMeansNotArranged) {
    ArrangedCheck check;
    check.onScreen = {100, 130, 500, 430};
    check.inWorkspace = {100, 90, 500, 390}; // a taskbar 40 high on top
    check.inParent = check.onScreen;
    check.normal = check.inWorkspace;
    EXPECT_FALSE(LooksArranged(check)) << "Windows: workspace coordinates";
    check.normal = check.onScreen;
    EXPECT_FALSE(LooksArranged(check)) << "Wine, another program's window: screen coordinates";
    check.inParent = {60, 50, 460, 350};
    check.normal = check.inParent;
    EXPECT_FALSE(LooksArranged(check)) << "an MDI child: its parent's client coordinates";
    check.normal = {200, 200, 600, 500};
    EXPECT_TRUE(LooksArranged(check)) << "docked: the normal rectangle is the one from before";
    check.maximized = true;
    EXPECT_FALSE(LooksArranged(check));
}
