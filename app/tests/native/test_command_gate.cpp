// Which windows each command leaves alone.
#include "command_gate.h"

#include <gtest/gtest.h>

using namespace trellane;

namespace {

constexpr WindowCommand kAll[] = {WindowCommand::Drag,         WindowCommand::Grid, WindowCommand::Snap,
                                  WindowCommand::Translucency, WindowCommand::Fold, WindowCommand::Unfold,
                                  WindowCommand::Topmost,      WindowCommand::Pick};

WindowFacts With(bool WindowFacts::*fact) {
    WindowFacts facts;
    facts.*fact = true;
    return facts;
}

} // namespace

TEST(CommandGate, AnOrdinaryWindowTakesPartInEverything) {
    for (const WindowCommand command : kAll)
        EXPECT_TRUE(TakesPart(command, WindowFacts{})) << static_cast<int>(command);
}

TEST(CommandGate, OwnAndCloakedWindowsTakePartOnlyInGivingBack) {
    for (const auto fact : {&WindowFacts::ownProgram, &WindowFacts::cloaked})
        for (const WindowCommand command : kAll)
            EXPECT_EQ(TakesPart(command, With(fact)), command == WindowCommand::Unfold)
                << static_cast<int>(command);
}

TEST(CommandGate, AnExcludedWindowGetsNoGridAndNoSnapButEverythingElse) {
    const WindowFacts excluded = With(&WindowFacts::excluded);
    for (const WindowCommand command : kAll) {
        const bool gridOrSnap = command == WindowCommand::Grid || command == WindowCommand::Snap;
        EXPECT_EQ(TakesPart(command, excluded), !gridOrSnap) << static_cast<int>(command);
    }
}

TEST(CommandGate, TheSystemsOwnPlacementsAreKept) {
    for (const auto fact : {&WindowFacts::maximized, &WindowFacts::minimized}) {
        EXPECT_FALSE(TakesPart(WindowCommand::Snap, With(fact)));
        EXPECT_FALSE(TakesPart(WindowCommand::Fold, With(fact)));
        EXPECT_FALSE(TakesPart(WindowCommand::Unfold, With(fact))) << "only leaves the fold list";
        // Dragging a maximized window's caption restores it: the grid shows, the drop decides.
        EXPECT_TRUE(TakesPart(WindowCommand::Grid, With(fact)));
        EXPECT_TRUE(TakesPart(WindowCommand::Topmost, With(fact)));
    }
    const WindowFacts arranged = With(&WindowFacts::arranged);
    EXPECT_FALSE(TakesPart(WindowCommand::Snap, arranged));
    EXPECT_TRUE(TakesPart(WindowCommand::Fold, arranged));
    EXPECT_TRUE(TakesPart(WindowCommand::Grid, arranged));
}
