// The list of folded windows: unfolding must find the right window and its old height, and
// restore-all must visit windows in the order they were folded.
#include "fold_list.h"
#include "fold_record_rule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace trellane;
using Entries = std::vector<std::string>;

TEST(FoldListNames, HandleInUnsignedDecimal) {
    EXPECT_EQ(FoldList::NameOf(0), "0");
    EXPECT_EQ(FoldList::NameOf(0x000A02F4), "656116");
    EXPECT_EQ(FoldList::NameOf(0x7FFFFFFF), "2147483647");
    EXPECT_EQ(FoldList::NameOf(0xFFFFFFFF), "4294967295");
}

TEST(FoldListNames, BackToTheHandleTheyName) {
    EXPECT_EQ(HandleFromName("656116"), 0x000A02F4u);
    EXPECT_EQ(HandleFromName(FoldList::NameOf(0x7FFFFFFF)), 0x7FFFFFFFu);
    EXPECT_EQ(HandleFromName("-1"), 0xFFFFFFFFu);
    EXPECT_EQ(HandleFromName("-2147483648"), 0x80000000u);
    EXPECT_EQ(HandleFromName("+42"), 42u);
    // Names are written unsigned: those above the signed range name their handle too.
    EXPECT_EQ(HandleFromName("2147483648"), 0x80000000u);
    for (const std::uint32_t handle : {0x80000000u, 0x80000001u, 0xC0FFEE00u, 0xFFFFFFFFu})
        EXPECT_EQ(HandleFromName(FoldList::NameOf(handle)), handle) << FoldList::NameOf(handle);
    EXPECT_EQ(HandleFromName("4294967296"), 0u) << "beyond 32 bits";
}

TEST(FoldListDoubleClick, UnfoldsOnlyTheWindowItsFirstClickFoldedWithinTheTime) {
    EXPECT_TRUE(DoubleClickFollowsFold(true, 1000, 1000, 500));
    EXPECT_TRUE(DoubleClickFollowsFold(true, 1000, 1500, 500));
    EXPECT_FALSE(DoubleClickFollowsFold(true, 1000, 1501, 500));
    EXPECT_FALSE(DoubleClickFollowsFold(false, 1000, 1100, 500));
    // The millisecond clock wraps after 49.7 days.
    EXPECT_TRUE(DoubleClickFollowsFold(true, 0xFFFFFF00u, 0x00000010u, 500));
}

TEST(FoldListNames, AnythingElseIsTheNullHandle) {
    for (const char* name : {"", "-", "+", " 42", "42 ", "4 2", "0x2A", "$2A", "42a", "-2147483649", "1e3"})
        EXPECT_EQ(HandleFromName(name), 0u) << '"' << name << '"';
}

TEST(FoldListHeights, DecimalOrFourHundred) {
    EXPECT_EQ(HeightFromValue("600"), 600);
    EXPECT_EQ(HeightFromValue("0"), 0);
    EXPECT_EQ(HeightFromValue("-5"), -5);
    EXPECT_EQ(HeightFromValue("2147483647"), 2147483647);
    EXPECT_EQ(HeightFromValue("-2147483648"), -2147483647 - 1);
    for (const char* value : {"", "abc", "60 0", " 600", "2147483648", "=600", "600="})
        EXPECT_EQ(HeightFromValue(value), 400) << '"' << value << '"';
}

TEST(FoldList, StartsEmpty) {
    const FoldList list;
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.Size(), 0u);
    EXPECT_EQ(list.FirstName(), "");
    EXPECT_FALSE(list.Contains("1"));
    EXPECT_EQ(list.ValueOf("1"), std::nullopt);
}

TEST(FoldList, FoldThenUnfoldOneWindow) {
    FoldList list;
    list.Append(FoldList::NameOf(656116), 600);
    EXPECT_EQ(list.Entries(), (Entries{"656116=600"}));
    EXPECT_TRUE(list.Contains("656116"));
    EXPECT_EQ(list.ValueOf("656116"), "600");
    EXPECT_EQ(HeightFromValue(*list.ValueOf("656116")), 600);

    EXPECT_TRUE(list.Remove("656116"));
    EXPECT_TRUE(list.Empty());
    EXPECT_FALSE(list.Remove("656116")) << "a second removal finds nothing";
}

TEST(FoldList, KeepsFoldingOrderForRestoreAll) {
    FoldList list;
    list.Append("300", 100);
    list.Append("100", -7);
    list.Append("200", 0);
    EXPECT_EQ(list.Entries(), (Entries{"300=100", "100=-7", "200=0"}));

    std::vector<std::string> visited;
    while (!list.Empty()) {
        visited.push_back(list.FirstName());
        list.Remove(visited.back());
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"300", "100", "200"}));
}

TEST(FoldList, RemovingFromTheMiddleKeepsTheRestInOrder) {
    FoldList list;
    list.Append("1", 10);
    list.Append("2", 20);
    list.Append("3", 30);
    EXPECT_TRUE(list.Remove("2"));
    EXPECT_EQ(list.Entries(), (Entries{"1=10", "3=30"}));
}

TEST(FoldList, FoldingAgainReplacesTheEntryAndMovesItLast) {
    FoldList list;
    list.Append("1", 10);
    list.Append("2", 20);
    list.Append("1", 11);
    EXPECT_EQ(list.Entries(), (Entries{"2=20", "1=11"}));
    EXPECT_EQ(list.ValueOf("1"), "11");
}

TEST(FoldList, NamesMatchWholeAndIgnoreLetterCase) {
    FoldList list;
    list.Append("Ab", 1);
    list.Append("12", 2);
    EXPECT_TRUE(list.Contains("aB"));
    EXPECT_EQ(list.ValueOf("AB"), "1");
    EXPECT_FALSE(list.Contains("1")) << "a prefix is not the name";
    EXPECT_FALSE(list.Contains("123"));
    EXPECT_FALSE(list.Contains("12=2")) << "the value is not part of the name";
    EXPECT_FALSE(list.Contains(""));
    list.Append("aB", 3);
    EXPECT_EQ(list.Entries(), (Entries{"12=2", "aB=3"})) << "one entry per name whatever its case";
}

TEST(FoldList, NameAndValueSplitAtTheFirstEqualsSign) {
    FoldList list;
    list.Append("a=b", 5); // stored as "a=b=5": its name is "a", its value "b=5"
    EXPECT_TRUE(list.Contains("a"));
    EXPECT_FALSE(list.Contains("a=b"));
    EXPECT_EQ(list.ValueOf("a"), "b=5");
    EXPECT_EQ(list.FirstName(), "a");
    EXPECT_EQ(HeightFromValue(*list.ValueOf("a")), 400);
}

TEST(FoldList, EmptyNameIsAName) {
    FoldList list;
    list.Append("", 9);
    EXPECT_TRUE(list.Contains(""));
    EXPECT_EQ(list.ValueOf(""), "9");
    EXPECT_EQ(list.FirstName(), "");
    EXPECT_EQ(HandleFromName(list.FirstName()), 0u);
    EXPECT_TRUE(list.Remove(""));
    EXPECT_TRUE(list.Empty());
}

TEST(KeptFold, OnlyAPlausibleRecordOfAWindowStillFoldedGivesItsHeightBack) {
    constexpr std::int32_t kMinTrack = 27;
    const auto action = [](const KeptFold& record, std::int32_t height, std::uint32_t dpi = 96) {
        return DecideKeptFold(record, height, dpi, kMinTrack).action;
    };
    EXPECT_EQ(action({400, 22}, 27), KeptFoldAction::GiveBack)
        << "the system kept the window at its least height";
    EXPECT_EQ(action({400, 22}, 28), KeptFoldAction::Drop) << "sized by the user since";
    EXPECT_EQ(action({400, 30}, 27), KeptFoldAction::Drop);
    EXPECT_EQ(action({400, 22}, 400), KeptFoldAction::Drop) << "unfolded by its program";
    // Damaged or foreign values are never trusted, whatever the window's height.
    for (const KeptFold damaged :
         {KeptFold{0, 22}, KeptFold{400, 0}, KeptFold{22, 22}, KeptFold{21, 22}, KeptFold{32768, 22},
          KeptFold{400, 0xFFFFFFFFu}, KeptFold{0xFFFFFFFF00000190u, 22}, KeptFold{0, 0}, KeptFold{400, 22, 5},
          KeptFold{400, 22, kFoldSeen | 4000}, KeptFold{400, 22, 0x20000 | 96}}) {
        EXPECT_EQ(action(damaged, 22), KeptFoldAction::Ignore) << damaged.height << " " << damaged.folded;
    }
    EXPECT_EQ(DecideKeptFold({32767, 22}, 22, 96, kMinTrack).height, 32767);
}

TEST(KeptFold, AFoldSeenMatchesOnlyItsOwnHeightAtThePresentScale) {
    const KeptFold held{400, 200, FoldStateValue(96, true)};
    EXPECT_EQ(DecideKeptFold(held, 200, 96, 27).action, KeptFoldAction::GiveBack) << "held at its own least";
    EXPECT_EQ(DecideKeptFold({400, 23, FoldStateValue(96, true)}, 27, 96, 27).action, KeptFoldAction::Drop)
        << "no tolerance once the height was seen";
    EXPECT_EQ(DecideKeptFold(held, 300, 144, 27).height, 600) << "on a monitor at 150 % since";
    EXPECT_EQ(DecideKeptFold(held, 200, 0, 27).height, 400) << "an unknown scale counts as the same";
    EXPECT_EQ(FoldStateValue(9999, true), kFoldSeen) << "no implausible scale is recorded";
    // The fold is seen at the first change of height, or given up on in time.
    EXPECT_EQ(DecideFoldWatch(400, 200, 30), FoldWatchStep::Seen);
    EXPECT_EQ(DecideFoldWatch(400, 400, kFoldWatchMs - 1), FoldWatchStep::Wait);
    EXPECT_EQ(DecideFoldWatch(400, 400, kFoldWatchMs), FoldWatchStep::GiveUp);
}

TEST(FoldedHeight, TheBandIsTheFrameAndCaptionOfTheStyleAndNeverLessThanAnOrdinaryCaption) {
    EXPECT_EQ(CaptionBand(-23, 4, 23), 27) << "sizing frame above and below";
    EXPECT_EQ(CaptionBand(-22, 3, 23), 25) << "dialog frame";
    EXPECT_EQ(CaptionBand(-19, 3, 20), 22) << "small caption";
    EXPECT_EQ(CaptionBand(-4, 4, 23), 23) << "a title bar drawn by its program";
    EXPECT_EQ(CaptionBand(5, -5, 0), 1) << "never empty";
}

TEST(FoldedHeight, AStretchedWindowsCaptionIsMeasuredInItsMonitorsPixels) {
    EXPECT_EQ(FoldedHeightOnScreen(27, 96, 96), 27);
    EXPECT_EQ(FoldedHeightOnScreen(27, 96, 144), 41) << "a window of a program unaware of scales at 150 %";
    EXPECT_EQ(FoldedHeightOnScreen(40, 144, 144), 40) << "a window drawn at its monitor's scale";
    EXPECT_EQ(FoldedHeightOnScreen(27, 0, 144), 27);
    EXPECT_EQ(FoldedHeightOnScreen(27, 96, 0), 27);
    EXPECT_EQ(FoldedHeightOnScreen(32767, 96, 192), kLargestWindowHeight);
}
