// Path and result rules of the shell helpers: where the program's own files are found, what the
// startup shortcut stores, and when a started program counts as started.
#include "shell_rules.h"

#include <gtest/gtest.h>

using namespace trellane;

TEST(ExeDirectoryOf, KeepsTheFolderWithItsBackslash) {
    EXPECT_EQ(ExeDirectoryOf(L"C:\\Tools\\trellane.exe"), L"C:\\Tools\\");
}

TEST(ExeDirectoryOf, DriveRelativePathEndsAtTheColon) {
    EXPECT_EQ(ExeDirectoryOf(L"C:trellane.exe"), L"C:");
}

TEST(ExeDirectoryOf, BareNameHasNoFolder) {
    EXPECT_EQ(ExeDirectoryOf(L"trellane.exe"), L"");
    EXPECT_EQ(ExeDirectoryOf(L""), L"");
}

TEST(ExeDirectoryOf, UsesTheLastSeparator) {
    EXPECT_EQ(ExeDirectoryOf(L"\\\\server\\share\\a.b\\trellane.exe"), L"\\\\server\\share\\a.b\\");
    EXPECT_EQ(ExeDirectoryOf(L"C:\\Tools\\"), L"C:\\Tools\\");
}

TEST(ExeDirectoryOf, KeepsJapaneseFolderNames) {
    EXPECT_EQ(ExeDirectoryOf(L"D:\\ツール\\設定テスト\\trellane.exe"), L"D:\\ツール\\設定テスト\\");
}

TEST(WithTrailingBackslash, AppendsOneWhenMissing) {
    EXPECT_EQ(WithTrailingBackslash(L"C:\\Users\\me\\Startup"), L"C:\\Users\\me\\Startup\\");
}

TEST(WithTrailingBackslash, NeverDoublesIt) {
    EXPECT_EQ(WithTrailingBackslash(L"C:\\Users\\me\\Startup\\"), L"C:\\Users\\me\\Startup\\");
}

TEST(WithTrailingBackslash, DriveRootIsUnchanged) {
    EXPECT_EQ(WithTrailingBackslash(L"C:\\"), L"C:\\");
}

TEST(WithTrailingBackslash, EmptyBecomesABackslash) {
    EXPECT_EQ(WithTrailingBackslash(L""), L"\\");
}

TEST(WinExecSucceeded, ThirtyTwoIsTheFirstSuccess) {
    EXPECT_TRUE(WinExecSucceeded(32));
    EXPECT_FALSE(WinExecSucceeded(31));
}

TEST(WinExecSucceeded, ErrorCodesAndNegativesFail) {
    EXPECT_FALSE(WinExecSucceeded(0));
    EXPECT_FALSE(WinExecSucceeded(2));
    EXPECT_FALSE(WinExecSucceeded(-1));
    EXPECT_FALSE(WinExecSucceeded(INT32_MIN));
    EXPECT_TRUE(WinExecSucceeded(INT32_MAX));
}

TEST(ShowCommandFor, MapsEachLinkState) {
    EXPECT_EQ(ShowCommandFor(LinkShow::Normal), 1);
    EXPECT_EQ(ShowCommandFor(LinkShow::Minimized), 6);
    EXPECT_EQ(ShowCommandFor(LinkShow::Maximized), 3);
}

TEST(ShowCommandFor, LinkShowValuesAreStable) {
    EXPECT_EQ(static_cast<int>(LinkShow::Normal), 0);
    EXPECT_EQ(static_cast<int>(LinkShow::Minimized), 1);
    EXPECT_EQ(static_cast<int>(LinkShow::Maximized), 2);
}

TEST(SettingsPathFor, ReplacesTheExtension) {
    EXPECT_EQ(SettingsPathFor(L"C:\\Tools\\trellane.exe"), L"C:\\Tools\\trellane.ini");
}

TEST(SettingsPathFor, OnlyTheLastExtensionIsReplaced) {
    EXPECT_EQ(SettingsPathFor(L"C:\\Tools\\trellane.old.exe"), L"C:\\Tools\\trellane.old.ini");
}

TEST(SettingsPathFor, AppendsWhenThereIsNoExtension) {
    EXPECT_EQ(SettingsPathFor(L"C:\\Tools\\trellane"), L"C:\\Tools\\trellane.ini");
    EXPECT_EQ(SettingsPathFor(L"trellane"), L"trellane.ini");
}

TEST(SettingsPathFor, DotInAFolderNameIsNotAnExtension) {
    EXPECT_EQ(SettingsPathFor(L"C:\\v1.2\\trellane"), L"C:\\v1.2\\trellane.ini");
    EXPECT_EQ(SettingsPathFor(L"C:.cfg\\trellane"), L"C:.cfg\\trellane.ini");
}

TEST(SettingsPathFor, KeepsJapanesePaths) {
    EXPECT_EQ(SettingsPathFor(L"D:\\設定テスト\\trellane.exe"), L"D:\\設定テスト\\trellane.ini");
}
