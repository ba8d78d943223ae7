// The display-mode menu captions line up in columns, and the question repeats the caption.
#include "display_mode.h"

#include <gtest/gtest.h>

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

TEST(DisplayModeQuestion, AppendsTheConfirmationPhrase) {
    EXPECT_EQ(DisplayModeQuestion(L"1024 x  768 (32Bit) 60Hz"),
              L"1024 x  768 (32Bit) 60Hz \u306B\u5909\u66F4\u3057\u307E\u3059\u3002");
    EXPECT_EQ(DisplayModeQuestion(L""), L" \u306B\u5909\u66F4\u3057\u307E\u3059\u3002");
}

TEST(DisplayModes, AtMost41AreListed) {
    EXPECT_EQ(kMaxDisplayModes, 41);
}
