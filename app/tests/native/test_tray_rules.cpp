// The tray icon's decisions: the tooltip cut, the shift state, the events of each shell callback,
// and the key strokes of the Windows-key shortcuts.
#include "tray_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace trellane;

namespace {

std::string Describe(const TraySteps& steps) {
    std::string text;
    for (const TrayStep& step : steps) {
        if (!text.empty()) text += " ";
        switch (step.action) {
        case TrayAction::MouseMove:
            text += "Move";
            break;
        case TrayAction::MouseDown:
            text += "Down";
            break;
        case TrayAction::MouseUp:
            text += "Up";
            break;
        case TrayAction::Click:
            text += "Click";
            break;
        case TrayAction::DblClick:
            text += "DblClick";
            break;
        case TrayAction::PopupLeftMenu:
            text += "PopupL";
            break;
        case TrayAction::PopupRightMenu:
            text += "PopupR";
            break;
        }
        if (step.action == TrayAction::MouseDown || step.action == TrayAction::MouseUp)
            text += "(" + std::to_string(static_cast<int>(step.button)) +
                    (step.doubleClick ? ",double" : "") + ")";
    }
    return text;
}

} // namespace

namespace {
// Shift-JIS lead bytes, as the system reports them on code page 932.
bool ShiftJisLead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
bool NoLead(unsigned char) {
    return false;
}
} // namespace

TEST(TrayHint, SeventyBytesKeepTheirFirstSixtyThree) {
    const std::string hint(70, 'h');
    EXPECT_EQ(CutTrayHint(hint, NoLead), std::string(63, 'h'));
    EXPECT_EQ(CutTrayHint(hint, ShiftJisLead), std::string(63, 'h'));
}

TEST(TrayHint, SixtyThreeBytesAndShorterStayWhole) {
    const std::string exact = std::string(62, 'a') + "z";
    EXPECT_EQ(CutTrayHint(exact, ShiftJisLead), exact);
    EXPECT_EQ(CutTrayHint("Trellane", ShiftJisLead), "Trellane");
    EXPECT_EQ(CutTrayHint("", ShiftJisLead), "");
}

TEST(TrayHint, TheCutNeverSplitsADoubleByteCharacter) {
    // 32 two-byte characters (64 bytes): the 63rd byte is a lead byte, so the cut keeps 62.
    std::string hint;
    for (int i = 0; i < 32; ++i)
        hint += "\x83\x67";
    const std::string cut = CutTrayHint(hint, ShiftJisLead);
    ASSERT_EQ(cut.size(), 62u);
    EXPECT_EQ(cut.back(), '\x67');
    // A trail byte that looks like a lead byte (0x83 0x83) is still counted with its pair.
    const std::string shifted = "a" + std::string(31, '\x83') + std::string(31, '\x83') + "bc";
    EXPECT_EQ(CutTrayHint(shifted, ShiftJisLead).size(), 63u);
    // Without double-byte characters, bytes are cut as they come.
    EXPECT_EQ(CutTrayHint(hint, NoLead).size(), 63u);
}

TEST(TrayShiftState, BitValuesAreOneToSixtyFour) {
    EXPECT_EQ(TShiftState().Bits(), 0);
    EXPECT_EQ((TShiftState() + TShift::ssShift).Bits(), 1);
    EXPECT_EQ((TShiftState() + TShift::ssAlt).Bits(), 2);
    EXPECT_EQ((TShiftState() + TShift::ssCtrl).Bits(), 4);
    EXPECT_EQ((TShiftState() + TShift::ssLeft).Bits(), 8);
    EXPECT_EQ((TShiftState() + TShift::ssRight).Bits(), 16);
    EXPECT_EQ((TShiftState() + TShift::ssMiddle).Bits(), 32);
    EXPECT_EQ((TShiftState() + TShift::ssDouble).Bits(), 64);
    const TShiftState both = TShiftState() + TShift::ssShift + TShift::ssCtrl;
    EXPECT_TRUE(both.Contains(TShift::ssShift));
    EXPECT_TRUE(both.Contains(TShift::ssCtrl));
    EXPECT_FALSE(both.Contains(TShift::ssAlt));
    EXPECT_EQ(both, TShiftState(5));
}

TEST(TrayShiftState, KeysAreAskedShiftCtrlAltThenLeftRightMiddle) {
    std::vector<int> asked;
    ShiftStateFrom([&](int key) {
        asked.push_back(key);
        return std::int16_t{0};
    });
    EXPECT_EQ(asked, (std::vector<int>{0x10, 0x11, 0x12, 0x01, 0x02, 0x04}));
}

TEST(TrayShiftState, OnlyTheHighBitMeansDown) {
    EXPECT_TRUE(IsKeyDown(static_cast<std::int16_t>(0x8000)));
    EXPECT_TRUE(IsKeyDown(static_cast<std::int16_t>(0xFF81)));
    EXPECT_FALSE(IsKeyDown(1)); // toggled, not down
    EXPECT_FALSE(IsKeyDown(0));
}

TEST(TrayShiftState, ShiftAndCtrlWithTheLeftButtonDownGiveOneFourAndEight) {
    const TShiftState shift = ShiftStateFrom([](int key) {
        const bool down = key == 0x10 || key == 0x11 || key == 0x01;
        return static_cast<std::int16_t>(down ? 0x8000 : 0x0001);
    });
    EXPECT_EQ(shift.Bits(), 1 + 4 + 8);
}

TEST(TrayShiftState, EveryKeyDownGivesEveryButDouble) {
    const TShiftState shift = ShiftStateFrom([](int) { return static_cast<std::int16_t>(0x8000); });
    EXPECT_EQ(shift.Bits(), 63);
}

TEST(TrayCallback, EachMouseMessageRaisesItsEventsInOrder) {
    EXPECT_EQ(Describe(TrayStepsFor(512)), "Move");
    EXPECT_EQ(Describe(TrayStepsFor(513)), "Down(0)");
    EXPECT_EQ(Describe(TrayStepsFor(514)), "Click Up(0) PopupL");
    EXPECT_EQ(Describe(TrayStepsFor(515)), "DblClick Down(0,double)");
    EXPECT_EQ(Describe(TrayStepsFor(516)), "Down(1)");
    EXPECT_EQ(Describe(TrayStepsFor(517)), "Up(1) PopupR");
    EXPECT_EQ(Describe(TrayStepsFor(518)), "Down(1,double)");
    EXPECT_EQ(Describe(TrayStepsFor(519)), "Down(2)");
    EXPECT_EQ(Describe(TrayStepsFor(520)), "Up(2)");
    EXPECT_EQ(Describe(TrayStepsFor(521)), "Down(2,double)");
}

TEST(TrayCallback, OtherMessagesRaiseNothing) {
    for (std::uint32_t message : {0u, 511u, 522u, 0x400u, 0x405u, 0x00010201u, 0xFFFFFFFFu})
        EXPECT_EQ(TrayStepsFor(message).count, 0u) << message;
}

TEST(TrayCallback, TheCallbackMessageIsWmUser) {
    EXPECT_EQ(kTrayCallbackMessage, 0x400u);
}

TEST(WindowsKeyShortcut, WindowsKeyDownLetterDownWindowsKeyUp) {
    for (std::uint8_t letter : {kMinimizeAllKey, kShowDesktopKey, kExplorerKey}) {
        const auto strokes = WindowsKeyShortcut(letter);
        EXPECT_EQ(strokes[0].virtualKey, 0x5B);
        EXPECT_EQ(strokes[0].flags, 0u);
        EXPECT_EQ(strokes[1].virtualKey, letter);
        EXPECT_EQ(strokes[1].flags, 0u);
        EXPECT_EQ(strokes[2].virtualKey, 0x5B);
        EXPECT_EQ(strokes[2].flags, 2u);
    }
}

TEST(WindowsKeyShortcut, LettersAreMDAndE) {
    EXPECT_EQ(kMinimizeAllKey, 'M');
    EXPECT_EQ(kShowDesktopKey, 'D');
    EXPECT_EQ(kExplorerKey, 'E');
}
