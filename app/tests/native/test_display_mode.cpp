// The display-mode menu: which modes it offers, captions in columns, and the texts around a change.
#include "display_mode.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace trellane;

TEST(DisplayModeCaption, PadsEachNumberToItsColumn) {
    EXPECT_EQ(DisplayModeCaption(1024, 768, 32, 60), L"1024 x  768 (32Bit) 60Hz");
    EXPECT_EQ(DisplayModeCaption(640, 480, 8, 1), L" 640 x  480 ( 8Bit)  1Hz");
    EXPECT_EQ(DisplayModeCaption(0, 0, 0, 0), L"   0 x    0 ( 0Bit)  0Hz");
}

TEST(DisplayModeCaption, WideNumbersOverflowTheirColumnsUncut) {
    EXPECT_EQ(DisplayModeCaption(12800, 10240, 128, 144), L"12800 x 10240 (128Bit) 144Hz");
}

TEST(DisplayModeCaption, NumbersPrintAsSigned32BitLikePercentD) {
    EXPECT_EQ(DisplayModeCaption(0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, 0xFFFFFFFEu),
              L"  -1 x -2147483648 (2147483647Bit) -2Hz");
}

TEST(DisplayModeQuestion, AsksAboutTheCaption) {
    EXPECT_EQ(DisplayModeQuestion(L"1024 x  768 (32Bit) 60Hz"), L"1024 x  768 (32Bit) 60Hz に変更しますか？");
    EXPECT_EQ(KeepModeCountdown(15), L"15 秒後に元に戻ります。");
}

TEST(OfferedDisplayModes, OneRateEachSizeOfTheCurrentDepthLargestFirst) {
    const std::vector<DisplayModeFacts> listed = {
        {640, 480, 32, 75},  {640, 480, 32, 60}, {800, 600, 16, 60},  {1024, 768, 32, 85},
        {1024, 768, 32, 70}, {800, 600, 32, 72}, {1280, 720, 32, 60}, {1024, 768, 32, 85},
    };
    EXPECT_EQ(OfferedDisplayModes(listed, {1280, 720, 32, 60}), (std::vector<std::size_t>{6, 3, 5, 1}));
}

TEST(OfferedDisplayModes, AtMost41AndTheCurrentSizeIsNeverCut) {
    std::vector<DisplayModeFacts> listed;
    for (std::uint32_t width = 100; width < 150; ++width)
        listed.push_back({width, 100, 32, 60});
    const std::vector<std::size_t> offered = OfferedDisplayModes(listed, listed[0]);
    ASSERT_EQ(offered.size(), 41u);
    EXPECT_EQ(offered.front(), 49u);
    EXPECT_EQ(offered[39], 10u);
    EXPECT_EQ(offered.back(), 0u);
    EXPECT_EQ(OfferedDisplayModes(listed, listed[49]).back(), 9u);
}

TEST(DisplayChangeFailureText, EachResultHasItsOwnReason) {
    std::vector<std::wstring> texts;
    for (long result = -7; result <= 1; ++result)
        if (result != 0) texts.push_back(DisplayChangeFailureText(L"640 x  480 (32Bit) 60Hz", result));
    EXPECT_EQ(texts.back(), L"640 x  480 (32Bit) 60Hz に変更できませんでした。\r\nこの画面モードにするには "
                            L"Windows の再起動が必要です。\r\n画面モードは元のままです。");
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(std::unique(texts.begin(), texts.end()), texts.end());
}
