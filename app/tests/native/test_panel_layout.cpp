// The settings group's lines stack in the order of their rows, and the group, the buttons on its
// bottom edge and the panel follow them: a new check box moves everything below it by one line.
#include "panel_layout.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using namespace trellane;

namespace {

auto Fields(const DesignBounds& b) {
    return std::tuple{b.left, b.top, b.width, b.height};
}

// A group at (8, 100) with two stacked check boxes, a labelled field set off below them, the
// given extra check boxes at the end, and a button on the group's bottom edge.
std::vector<Place> Panel(int extraChecks) {
    std::vector<Place> places = {At(16, 16, 100, 12), GroupAt(8, 100, 300),     CheckLine(150),
                                 CheckLine(160),      LabelLine(24).AfterGap(), Beside(112, 3, 80, 21)};
    for (int i = 0; i < extraChecks; ++i)
        places.push_back(CheckLine(170));
    places.push_back(OnGroupBottom(320, 0, 100, 40));
    return places;
}

} // namespace

TEST(PanelLayout, StackedCheckBoxesFollowTheirRowsAndOnlyTheLastKeepsItsExtraPixel) {
    const PanelLayout layout = LayOutPanel(Panel(0));
    EXPECT_EQ(Fields(layout.bounds[0]), std::tuple(16, 16, 100, 12)) << "fixed places stay";
    EXPECT_EQ(Fields(layout.bounds[2]), std::tuple(24, 116, 150, 16));
    EXPECT_EQ(Fields(layout.bounds[3]), std::tuple(24, 132, 160, 17)) << "the line below is set off";
    EXPECT_EQ(Fields(layout.bounds[4]), std::tuple(24, 156, 90, 12)) << "16 + 8 below the last box";
    EXPECT_EQ(Fields(layout.bounds[5]), std::tuple(120, 159, 80, 21)) << "on the label's line";
}

TEST(PanelLayout, TheGroupTheButtonsOnItsEdgeAndThePanelFollowTheLines) {
    const PanelLayout layout = LayOutPanel(Panel(0));
    // The label's line takes 24 pixels; the group ends 9 below the last line.
    EXPECT_EQ(Fields(layout.bounds[1]), std::tuple(8, 100, 300, 56 + 24 + 9));
    EXPECT_EQ(Fields(layout.bounds[6]), std::tuple(320, 100 + 89 - 40, 100, 40));
    EXPECT_EQ(layout.width, kPanelWidth);
    EXPECT_EQ(layout.height, 100 + 89 + 9);
}

TEST(PanelLayout, ANewCheckBoxIsOneRowAndMovesEverythingBelowItByOneLine) {
    const PanelLayout before = LayOutPanel(Panel(1));
    const PanelLayout after = LayOutPanel(Panel(2));
    EXPECT_EQ(after.bounds[6].top, before.bounds[6].top);
    EXPECT_EQ(before.bounds[6].height, 17) << "the last box";
    EXPECT_EQ(after.bounds[6].height, 16) << "now stacked on the new one";
    EXPECT_EQ(Fields(after.bounds[7]), std::tuple(24, before.bounds[6].top + 16, 170, 17));
    EXPECT_EQ(after.bounds[1].height, before.bounds[1].height + 16);
    EXPECT_EQ(after.bounds[8].top, before.bounds[7].top + 16) << "the button stays on the group's edge";
    EXPECT_EQ(after.height, before.height + 16);
}

TEST(PanelLayout, ABuddyHasNoBoundsOfItsOwn) {
    const PanelLayout layout =
        LayOutPanel({GroupAt(8, 160, 337), LabelLine(24), Beside(112, 0, 89, 21), Buddy()});
    EXPECT_EQ(Fields(layout.bounds[3]), std::tuple(0, 0, 0, 0));
}
