// Administrator rights: which programs the hook cannot reach, the shared section's descriptor, and
// the balloon that names a window out of reach.
#include "integrity.h"

#include <gtest/gtest.h>

#include <string>

using namespace trellane;
namespace il = trellane::integrity;

TEST(HookReach, OnlyAHigherLevelIsOutOfReach) {
    EXPECT_FALSE(HookCannotReach(il::kMedium, il::kMedium));
    EXPECT_FALSE(HookCannotReach(il::kMedium, il::kLow));
    EXPECT_FALSE(HookCannotReach(il::kMedium, il::kUntrusted));
    EXPECT_TRUE(HookCannotReach(il::kMedium, il::kMediumPlus));
    EXPECT_TRUE(HookCannotReach(il::kMedium, il::kHigh));
    EXPECT_TRUE(HookCannotReach(il::kMedium, il::kSystem));
    EXPECT_FALSE(HookCannotReach(il::kHigh, il::kHigh));
    EXPECT_FALSE(HookCannotReach(il::kHigh, il::kMediumPlus));
    EXPECT_TRUE(HookCannotReach(il::kHigh, il::kSystem));
    EXPECT_TRUE(HookCannotReach(il::kLow, il::kMedium));
}

TEST(HookReach, AProcessThatCannotBeReadCountsAsHigher) {
    EXPECT_TRUE(HookCannotReach(il::kMedium, std::nullopt));
    EXPECT_TRUE(HookCannotReach(il::kSystem, std::nullopt));
    EXPECT_FALSE(HookCannotReach(std::nullopt, il::kSystem)) << "without its own level nothing is claimed";
    EXPECT_FALSE(HookCannotReach(std::nullopt, std::nullopt));
}

TEST(SharedSectionDescriptor, GrantsTheUserAndTheSystemWithAMediumLabel) {
    EXPECT_EQ(SharedSectionSddl(L"S-1-5-21-1004336348-1177238915-682003330-512"),
              L"D:P(A;;GA;;;S-1-5-21-1004336348-1177238915-682003330-512)(A;;GA;;;SY)S:(ML;;NW;;;ME)");
    EXPECT_EQ(SharedSectionSddl(L"S-1-5-21-0-0-0-1000"),
              L"D:P(A;;GA;;;S-1-5-21-0-0-0-1000)(A;;GA;;;SY)S:(ML;;NW;;;ME)");
}

TEST(SharedSectionDescriptor, TakesNothingButASid) {
    EXPECT_EQ(SharedSectionSddl(L""), L"");
    EXPECT_EQ(SharedSectionSddl(L"S-1-"), L"");
    EXPECT_EQ(SharedSectionSddl(L"S-1-5-"), L"");
    EXPECT_EQ(SharedSectionSddl(L"S-1-5--21"), L"");
    EXPECT_EQ(SharedSectionSddl(L"WD"), L"");
    EXPECT_EQ(SharedSectionSddl(L"S-1-5-21)(A;;GA;;;WD"), L"");
    EXPECT_EQ(SharedSectionSddl(L"s-1-5-18"), L"");
}

TEST(UnreachableBalloon, NamesTheWindow) {
    EXPECT_EQ(
        UnreachableBalloonText(L"タスク マネージャー", 256),
        L"「タスク マネージャー」は管理者として実行されているため、Trellane は操作できません。Trellane を管理者として"
        L"実行すると操作できます。");
}

TEST(UnreachableBalloon, CutsALongTitleToFitTheRecord) {
    const std::wstring full = UnreachableBalloonText(L"", 256);
    const std::size_t room = 255 - full.size();
    EXPECT_EQ(UnreachableBalloonText(std::wstring(room, L'a'), 256).size(), 255u) << "a title that just fits";
    EXPECT_EQ(UnreachableBalloonText(std::wstring(room, L'a'), 256).find(L"…"), std::wstring::npos);
    const std::wstring cut = UnreachableBalloonText(std::wstring(room + 1, L'a'), 256);
    EXPECT_EQ(cut.size(), 255u);
    EXPECT_EQ(cut.substr(0, 3), L"「aa");
    EXPECT_EQ(cut.substr(room, 2), L"…」");
    EXPECT_EQ(UnreachableBalloonText(std::wstring(1000, L'b'), 256).size(), 255u);
}

TEST(UnreachableBalloon, NeverSplitsASurrogatePair) {
    const std::size_t room = 255 - UnreachableBalloonText(L"", 256).size();
    // The pair would take the last two places before the ellipsis.
    std::wstring title(room - 2, L'a');
    // Written as its two halves: wchar_t has 16 bits only on Windows.
    title += static_cast<wchar_t>(0xD83D);
    title += static_cast<wchar_t>(0xDE00);
    title += L"tail";
    const std::wstring text = UnreachableBalloonText(title, 256);
    EXPECT_EQ(text.size(), 254u);
    EXPECT_EQ(text.substr(room - 1, 2), L"…」");
}

TEST(UnreachableBalloon, IsEmptyWhenNotEvenTheFixedTextFits) {
    EXPECT_EQ(UnreachableBalloonText(L"x", 10), L"");
}
