// How the exclusion file is cut into class names. Every byte of a line matters, because a
// class name is compared as a whole.
#include "exclusion_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace trellane;
using Lines = std::vector<std::string>;

TEST(ExclusionLines, EveryLineEndStyleEndsOneLine) {
    EXPECT_EQ(SplitExclusionLines("A\r\nB\rC\nD"), (Lines{"A", "B", "C", "D"}));
}

TEST(ExclusionLines, LfFollowedByCrEndsTwoLines) {
    EXPECT_EQ(SplitExclusionLines("A\n\rB"), (Lines{"A", "", "B"}));
    EXPECT_EQ(SplitExclusionLines("A\r\r\nB"), (Lines{"A", "", "B"}));
    EXPECT_EQ(SplitExclusionLines("A\r\n\r\nB"), (Lines{"A", "", "B"}));
}

TEST(ExclusionLines, LineEndAtTheVeryEndAddsNoEntry) {
    EXPECT_EQ(SplitExclusionLines("A\r\n"), (Lines{"A"}));
    EXPECT_EQ(SplitExclusionLines("A\r"), (Lines{"A"}));
    EXPECT_EQ(SplitExclusionLines("A\n"), (Lines{"A"}));
    EXPECT_EQ(SplitExclusionLines("A"), (Lines{"A"}));
    EXPECT_EQ(SplitExclusionLines("A\n\r"), (Lines{"A", ""})) << "only the final line end is silent";
}

TEST(ExclusionLines, EmptyLinesAreEmptyEntries) {
    EXPECT_EQ(SplitExclusionLines(""), Lines{});
    EXPECT_EQ(SplitExclusionLines("\r\n"), (Lines{""}));
    EXPECT_EQ(SplitExclusionLines("\n\n"), (Lines{"", ""}));
    EXPECT_EQ(SplitExclusionLines("\r\n\r\nA"), (Lines{"", "", "A"}));
}

TEST(ExclusionLines, BlanksAndOtherBytesAreKept) {
    EXPECT_EQ(SplitExclusionLines(" Notepad \r\n\tEdit\r\n   "), (Lines{" Notepad ", "\tEdit", "   "}));
    // Shift-JIS bytes, including a trail byte that looks like a backslash, pass through untouched.
    const std::string sjis = "\x83\x5C\x83\x74\x83\x67";
    EXPECT_EQ(SplitExclusionLines(sjis + "\r\nB"), (Lines{sjis, "B"}));
    EXPECT_EQ(SplitExclusionLines("\xFF\x80\x01"), (Lines{"\xFF\x80\x01"}));
}

TEST(ExclusionLines, AUtf8ByteOrderMarkAtTheStartIsSkipped) {
    EXPECT_EQ(SplitExclusionLines("\xEF\xBB\xBFNotepad\r\nEdit"),
              (std::vector<std::string>{"Notepad", "Edit"}));
    EXPECT_EQ(SplitExclusionLines("\xEF\xBB\xBF"), std::vector<std::string>{});
    // Only at the very start: elsewhere the bytes belong to the line.
    EXPECT_EQ(SplitExclusionLines("a\n\xEF\xBB\xBF"), (std::vector<std::string>{"a", "\xEF\xBB\xBF"}));
    EXPECT_EQ(SplitExclusionLines("\xEF\xBB"), std::vector<std::string>{"\xEF\xBB"});
}

TEST(ExclusionLines, NulEndsTheList) {
    using namespace std::string_literals;
    EXPECT_EQ(SplitExclusionLines("A\r\nB\0C\r\nD"s), (Lines{"A", "B"}));
    EXPECT_EQ(SplitExclusionLines("A\r\n\0B"s), (Lines{"A"}));
    EXPECT_EQ(SplitExclusionLines("\0A"s), Lines{});
    EXPECT_EQ(SplitExclusionLines("A\r\0\nB"s), (Lines{"A"}))
        << "a CR cut off from its LF ends the line alone";
}

TEST(ExclusionLines, LargeInputsSplitInLinearTime) {
    const std::string longLine(100000, 'w');
    std::string file;
    for (int i = 0; i < 20; ++i)
        file += longLine + (i % 2 == 0 ? "\r\n" : "\n");
    while (file.size() < 10 * 1000 * 1000)
        file += "ClassName\r";

    // A quadratic scan of these 10 MB would outlast the test's time limit many times over.
    const Lines lines = SplitExclusionLines(file);

    ASSERT_GT(lines.size(), 20u);
    EXPECT_EQ(lines.front(), longLine);
    EXPECT_EQ(lines[19], longLine);
    EXPECT_EQ(lines[20], "ClassName");
    EXPECT_EQ(lines.back(), "ClassName");
}

TEST(ExclusionLines, ABareFileNameEndingInExeNamesAProgram) {
    EXPECT_TRUE(IsProgramLine(L"notepad.exe"));
    EXPECT_TRUE(IsProgramLine(L"Chrome.EXE"));
    EXPECT_TRUE(IsProgramLine(L"秀丸.exe"))
        << "decoded first: no Shift-JIS trail byte can look like a folder";
    EXPECT_TRUE(IsProgramLine(L" a.exe")) << "blanks before the name are part of it";
    EXPECT_FALSE(IsProgramLine(L"notepad.exe ")) << "a trailing blank keeps it a class name";
    EXPECT_FALSE(IsProgramLine(L".exe"));
    EXPECT_FALSE(IsProgramLine(L"notepad.ex"));
    EXPECT_FALSE(IsProgramLine(L"Notepad"));
    EXPECT_FALSE(IsProgramLine(L"C:\\Windows\\notepad.exe"));
    EXPECT_FALSE(IsProgramLine(L"tools/notepad.exe"));
    EXPECT_FALSE(IsProgramLine(L"c:notepad.exe"));
    EXPECT_EQ(FileNameOfPath(L"C:\\Program Files\\App\\app.exe"), L"app.exe");
    EXPECT_EQ(FileNameOfPath(L"app.exe"), L"app.exe");
}

TEST(ExclusionLines, AStoreAppFrameIsAskedForTheAppInside) {
    EXPECT_TRUE(DrawnByAppInside("ApplicationFrameWindow"));
    EXPECT_TRUE(DrawnByAppInside("applicationframewindow"));
    EXPECT_FALSE(DrawnByAppInside("ApplicationFrameWindow2"));
    EXPECT_FALSE(DrawnByAppInside("Chrome_WidgetWin_1"));
}

TEST(ExclusionLines, AnAddedLineKeepsTheFileAndEndsLikeItsLines) {
    EXPECT_EQ(WithLineAppended("", "a.exe"), "a.exe\r\n");
    EXPECT_EQ(WithLineAppended("Notepad\r\n", "a.exe"), "Notepad\r\na.exe\r\n");
    EXPECT_EQ(WithLineAppended("Notepad\nEdit", "a.exe"), "Notepad\nEdit\na.exe\n")
        << "the last line gets its end";
    EXPECT_EQ(WithLineAppended("Notepad\rEdit\r", "x"), "Notepad\rEdit\rx\r");
    EXPECT_EQ(WithLineAppended("Notepad", "x"), "Notepad\r\nx\r\n");
    EXPECT_EQ(WithLineAppended("\xEF\xBB\xBF", "x"), "\xEF\xBB\xBFx\r\n") << "a mark alone is no line";
    EXPECT_EQ(WithLineAppended("\xEF\xBB\xBF\x95\x5C\n", "\x95\x5C"), "\xEF\xBB\xBF\x95\x5C\n\x95\x5C\n");
    EXPECT_FALSE(WithLineAppended(std::string("A\0B", 3), "x")) << "a line after a NUL would never be read";
    EXPECT_TRUE(HasUtf8Mark("\xEF\xBB\xBFNotepad"));
    EXPECT_FALSE(HasUtf8Mark("Notepad"));
}
