// The settings record and its table: defaults, the order keys are written in, where writing stops,
// and that what is written reads back unchanged.
#include "settings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace trellane;

namespace {

using IniFile = std::map<std::wstring, std::wstring>;

SettingReader ReaderOf(const IniFile& file) {
    return [&file](const wchar_t* key) -> std::optional<std::wstring> {
        const auto found = file.find(key);
        if (found == file.end()) return std::nullopt;
        return found->second;
    };
}

} // namespace

namespace trellane {
// How a failed comparison shows a record: as its settings file.
void PrintTo(const Settings& settings, std::ostream* out) {
    *out << SettingsFileText(settings);
}
} // namespace trellane

TEST(Settings, DefaultsAreThoseOfAFirstStart) {
    const Settings settings = DefaultSettings();
    EXPECT_FALSE(settings.graphicLine);
    EXPECT_EQ(settings.gridWidth, 32);
    EXPECT_EQ(settings.gridColor, 16777215);
    EXPECT_EQ(settings.toumei, 70);
    EXPECT_FALSE(settings.autoHide);
    EXPECT_TRUE(settings.useGrid);
    EXPECT_TRUE(settings.moveToumei);
    EXPECT_TRUE(settings.oritatami);
    EXPECT_EQ(ReadSettings(ReaderOf({})), settings) << "an empty file gives the defaults";
}

TEST(Settings, KeysAreWrittenInTheirOrderAsDecimalAndFlags) {
    std::vector<std::wstring> lines;
    ASSERT_TRUE(WriteSettings(DefaultSettings(), [&](const wchar_t* key, const std::wstring& text) {
        lines.push_back(std::wstring(key) + L"=" + text);
        return true;
    }));
    const std::vector<std::wstring> expected = {L"chkGraphicLine=0", L"GridWidth=32",  L"color=16777215",
                                                L"toumei=70",        L"chkAutoHide=0", L"chkUseGrid=1",
                                                L"chkMoveToumei=1",  L"chkOritatami=1"};
    EXPECT_EQ(lines, expected);
}

TEST(Settings, TheFileTextIsTheSectionThenEveryKeyAsWritten) {
    std::string lines;
    WriteSettings(DefaultSettings(), [&](const wchar_t* key, const std::wstring& text) {
        for (const wchar_t c : std::wstring(key) + L"=" + text + L"\r\n")
            lines += static_cast<char>(c);
        return true;
    });
    EXPECT_EQ(SettingsFileText(DefaultSettings()), "[setting]\r\n" + lines);
}

TEST(Settings, EveryMemberTakesPartInEquality) {
    for (const SettingRow& row : kSettingRows) {
        Settings changed = DefaultSettings();
        if (row.flag) changed.*row.flag = !(changed.*row.flag);
        if (row.number) changed.*row.number += 1;
        EXPECT_NE(changed, DefaultSettings()) << std::wstring(row.key);
    }
}

TEST(Settings, WritingStopsAtTheFirstRefusedKey) {
    std::vector<std::wstring> tried;
    EXPECT_FALSE(WriteSettings(DefaultSettings(), [&](const wchar_t* key, const std::wstring&) {
        tried.emplace_back(key);
        return tried.size() < 3;
    }));
    EXPECT_EQ(tried, (std::vector<std::wstring>{L"chkGraphicLine", L"GridWidth", L"color"}));
}

TEST(Settings, WrittenSettingsReadBackUnchanged) {
    Settings settings = DefaultSettings();
    settings.graphicLine = true;
    settings.gridWidth = 17;
    settings.gridColor = static_cast<std::int32_t>(0x80000005u);
    settings.toumei = 45;
    settings.autoHide = true;
    settings.useGrid = false;
    settings.moveToumei = false;
    settings.oritatami = false;
    IniFile file;
    ASSERT_TRUE(WriteSettings(settings, [&](const wchar_t* key, const std::wstring& text) {
        file[key] = text;
        return true;
    }));
    EXPECT_EQ(file.size(), 8u);
    EXPECT_EQ(ReadSettings(ReaderOf(file)), settings);
}

TEST(Settings, ReadValuesFallBackOrAreHeldInRange) {
    const IniFile file = {{L"GridWidth", L"1000"},
                          {L"color", L"white"},
                          {L"chkUseGrid", L"no"},
                          {L"chkGraphicLine", L"$1"},
                          {L"chkOritatami", L"0"}};
    const Settings settings = ReadSettings(ReaderOf(file));
    EXPECT_EQ(settings.gridWidth, 320);
    EXPECT_EQ(settings.gridColor, 16777215) << "not an integer: the default";
    EXPECT_TRUE(settings.useGrid) << "not an integer: the default";
    EXPECT_TRUE(settings.graphicLine);
    EXPECT_FALSE(settings.oritatami);
    EXPECT_EQ(ReadSettings(ReaderOf({{L"GridWidth", L"0"}})).gridWidth, 4);
    EXPECT_EQ(ReadSettings(ReaderOf({{L"toumei", L"0"}})).toumei, 20) << "0 would hide translucent windows";
    EXPECT_EQ(ReadSettings(ReaderOf({{L"toumei", L"250"}})).toumei, 100);
}
