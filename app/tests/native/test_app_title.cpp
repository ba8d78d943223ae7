// The message-box caption follows the executable's name, however the user renamed or placed it.
#include "app_title.h"

#include <gtest/gtest.h>

using namespace trellane;

TEST(ApplicationTitle, CapitalisedLikeTheFileNameWithLaterLettersLowered) {
    EXPECT_EQ(ApplicationTitle(L"C:\\X\\TRELLANE.EXE"), L"Trellane");
    EXPECT_EQ(ApplicationTitle(L"C:\\X\\trellane.exe"), L"trellane") << "the first letter is never raised";
    EXPECT_EQ(ApplicationTitle(L"C:\\X\\TrellANE"), L"Trellane");
}

TEST(ApplicationTitle, CutsAtTheFirstDotOfTheFileNameOnly) {
    EXPECT_EQ(ApplicationTitle(L"my.tool.exe"), L"my");
    EXPECT_EQ(ApplicationTitle(L"C:\\My.Apps\\Grid.Tool.EXE"), L"Grid");
    EXPECT_EQ(ApplicationTitle(L"C:\\Apps\\.hidden.exe"), L"");
    EXPECT_EQ(ApplicationTitle(L"C:\\Apps\\NOEXT"), L"Noext");
}

TEST(ApplicationTitle, AnySeparatorEndsTheDirectory) {
    EXPECT_EQ(ApplicationTitle(L"D:/tools/GRID.EXE"), L"Grid");
    EXPECT_EQ(ApplicationTitle(L"D:GRID.EXE"), L"Grid");
    EXPECT_EQ(ApplicationTitle(L"\\\\server\\share\\dir/sub\\GRID.EXE"), L"Grid");
    EXPECT_EQ(ApplicationTitle(L"C:\\X\\"), L"");
    EXPECT_EQ(ApplicationTitle(L""), L"");
}

TEST(ApplicationTitle, LowersLatinLettersOfEveryWidth) {
    EXPECT_EQ(ApplicationTitle(L"\u00C9T\u00C9.EXE"), L"\u00C9t\u00E9"); // ÉTÉ -> Été
    EXPECT_EQ(ApplicationTitle(L"A\u00D7B\u00DE.EXE"), L"A\u00D7b\u00FE")
        << "the multiplication sign has no lower case";
    EXPECT_EQ(ApplicationTitle(L"\uFF27\uFF32\uFF29\uFF24.EXE"),
              L"\uFF27\uFF52\uFF49\uFF44"); // ＧＲＩＤ -> Ｇｒｉｄ
}

TEST(ApplicationTitle, LeavesJapaneseDigitsAndSymbolsAlone) {
    EXPECT_EQ(ApplicationTitle(L"C:\\\u30B0\u30EA\u30C3\u30C9ABC.EXE"), L"\u30B0\u30EA\u30C3\u30C9abc");
    EXPECT_EQ(ApplicationTitle(L"X_1-2[@].EXE"), L"X_1-2[@]");
}
