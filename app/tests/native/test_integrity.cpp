// Administrator rights: which programs the hook cannot reach, the shared section's descriptor, and
// the balloon that names a window out of reach.
#include "integrity.h"

#include <gtest/gtest.h>

#include <string>

using namespace trellane;
namespace il = trellane::integrity;

TEST(HookReach, OnlyAHigherOrUnreadableLevelIsOutOfReach) {
    EXPECT_FALSE(HookCannotReach(il::kMedium, il::kMedium));
    EXPECT_FALSE(HookCannotReach(il::kMedium, il::kLow));
    EXPECT_FALSE(HookCannotReach(il::kMedium, il::kUntrusted));
    EXPECT_TRUE(HookCannotReach(il::kMedium, il::kMediumPlus));
    EXPECT_TRUE(HookCannotReach(il::kMedium, il::kHigh));
    EXPECT_FALSE(HookCannotReach(il::kHigh, il::kHigh));
    EXPECT_TRUE(HookCannotReach(il::kHigh, il::kSystem));
    EXPECT_TRUE(HookCannotReach(il::kMedium, std::nullopt)) << "a process that cannot be opened";
    EXPECT_TRUE(HookCannotReach(il::kSystem, std::nullopt));
    EXPECT_FALSE(HookCannotReach(std::nullopt, il::kSystem)) << "without its own level nothing is claimed";
}

TEST(SharedSectionDescriptor, GrantsTheUserAndTheSystemWithAMediumLabelAndTakesNothingButASid) {
    EXPECT_EQ(SharedSectionSddl(L"S-1-5-21-1004336348-1177238915-682003330-1001"),
              L"D:P(A;;GA;;;S-1-5-21-1004336348-1177238915-682003330-1001)(A;;GA;;;SY)S:(ML;;NW;;;ME)");
    for (const wchar_t* notASid :
         {L"", L"S-1-", L"S-1-5-", L"S-1-5--21", L"WD", L"s-1-5-18", L"S-1-5-21)(A;;GA;;;WD"})
        EXPECT_EQ(SharedSectionSddl(notASid), L"") << notASid;
}

TEST(UnreachableBalloon, NamesTheWindow) {
    EXPECT_EQ(
        UnreachableBalloonText(L"タスク マネージャー", 256),
        L"「タスク マネージャー」は管理者として実行されているため、Trellane は操作できません。Trellane を管理者として"
        L"実行すると操作できます。");
    EXPECT_EQ(UnreachableBalloonText(L"x", 10), L"") << "not even the fixed text fits";
}

TEST(UnreachableBalloon, CutsALongTitleToFitTheRecordButNeverInsideASurrogatePair) {
    const std::size_t room = 255 - UnreachableBalloonText(L"", 256).size();
    EXPECT_EQ(UnreachableBalloonText(std::wstring(room, L'a'), 256).find(L"…"), std::wstring::npos);
    const std::wstring cut = UnreachableBalloonText(std::wstring(room + 1, L'a'), 256);
    EXPECT_EQ(cut.size(), 255u);
    EXPECT_EQ(cut.substr(room - 1, 3), L"a…」");
    // The pair would take the last two places before the ellipsis. Written as its two halves:
    // wchar_t has 16 bits only on Windows.
    std::wstring title(room - 2, L'a');
    title += {static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00), L't'};
    const std::wstring text = UnreachableBalloonText(title, 256);
    EXPECT_EQ(text.size(), 254u);
    EXPECT_EQ(text.substr(room - 1, 2), L"…」");
}
