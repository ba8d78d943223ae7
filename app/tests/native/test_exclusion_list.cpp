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
