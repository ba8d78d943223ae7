// What a value in the settings file means. A damaged or hand-edited file must fall back to the
// defaults, and colour values written as hexadecimal system-colour references must survive.
#include "settings_value.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

using namespace trellane;

namespace {
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
} // namespace

TEST(ProfileIntegerDecimal, ReadsSignedValues) {
    EXPECT_EQ(ParseProfileInteger(L"0"), 0);
    EXPECT_EQ(ParseProfileInteger(L"32"), 32);
    EXPECT_EQ(ParseProfileInteger(L"+32"), 32);
    EXPECT_EQ(ParseProfileInteger(L"-32"), -32);
    EXPECT_EQ(ParseProfileInteger(L"-0"), 0);
    EXPECT_EQ(ParseProfileInteger(L"0032"), 32);
    EXPECT_EQ(ParseProfileInteger(L"16777215"), 16777215);
}

TEST(ProfileIntegerDecimal, SkipsLeadingSpacesAndTabsOnly) {
    EXPECT_EQ(ParseProfileInteger(L"   7"), 7);
    EXPECT_EQ(ParseProfileInteger(L"\t 7"), 7);
    EXPECT_EQ(ParseProfileInteger(L" \t-7"), -7);
    EXPECT_EQ(ParseProfileInteger(L"\n7"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger(L"- 7"), std::nullopt) << "no blank between sign and digits";
}

TEST(ProfileIntegerDecimal, RejectsAnythingAfterTheDigits) {
    EXPECT_EQ(ParseProfileInteger(L"7 "), std::nullopt);
    EXPECT_EQ(ParseProfileInteger(L"7\t"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger(L"7px"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger(L"1.5"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger(L"1e3"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger(std::wstring(L"7\0", 2)), std::nullopt);
}

TEST(ProfileIntegerDecimal, RejectsTextWithoutDigits) {
    for (const wchar_t* text : {L"", L"   ", L"-", L"+", L"+-1", L"--1", L"abc", L"true", L"\uFF11"})
        EXPECT_EQ(ParseProfileInteger(text), std::nullopt)
            << "text: " << testing::PrintToString(std::wstring(text));
}

TEST(ProfileIntegerDecimal, AcceptsExactlyThe32BitRange) {
    EXPECT_EQ(ParseProfileInteger(L"2147483647"), kMax);
    EXPECT_EQ(ParseProfileInteger(L"-2147483648"), kMin);
    EXPECT_EQ(ParseProfileInteger(L"2147483648"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger(L"-2147483649"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger(L"4294967295"), std::nullopt) << "no unsigned wrap for decimal";
    EXPECT_EQ(ParseProfileInteger(L"99999999999999999999999999"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger(L"000000000000002147483647"), kMax) << "leading zeros are not overflow";
}

TEST(ProfileIntegerHex, AcceptsEveryPrefix) {
    for (const wchar_t* text : {L"$1F", L"x1F", L"X1F", L"0x1F", L"0X1F", L"$1f", L"0x001f"})
        EXPECT_EQ(ParseProfileInteger(text), 31) << testing::PrintToString(std::wstring(text));
}

TEST(ProfileIntegerHex, MapsToTwosComplement) {
    EXPECT_EQ(ParseProfileInteger(L"$FFFFFFFF"), -1);
    EXPECT_EQ(ParseProfileInteger(L"$7FFFFFFF"), kMax);
    EXPECT_EQ(ParseProfileInteger(L"$80000000"), kMin);
    EXPECT_EQ(ParseProfileInteger(L"0x00FFFFFF"), 16777215);
    EXPECT_EQ(ParseProfileInteger(L"$000000000001"), 1) << "leading zeros beyond 8 digits are harmless";
}

TEST(ProfileIntegerHex, SystemColourReferencesReadTheSameInBothNotations) {
    // clBtnFace: top bit set, low byte the system colour index 15.
    EXPECT_EQ(ParseProfileInteger(L"0x8000000F"), -2147483633);
    EXPECT_EQ(ParseProfileInteger(L"-2147483633"), -2147483633);
    // A colour with the 0xFF000000 marker written in decimal.
    EXPECT_EQ(ParseProfileInteger(L"-16777201"), ParseProfileInteger(L"$FF00000F"));
}

TEST(ProfileIntegerHex, SignNegatesThePattern) {
    EXPECT_EQ(ParseProfileInteger(L"-$10"), -16);
    EXPECT_EQ(ParseProfileInteger(L"+0x10"), 16);
    EXPECT_EQ(ParseProfileInteger(L" -x10"), -16);
    EXPECT_EQ(ParseProfileInteger(L"-$FFFFFFFF"), 1);
    EXPECT_EQ(ParseProfileInteger(L"-$80000000"), kMin);
}

TEST(ProfileIntegerHex, RejectsMalformedValues) {
    for (const wchar_t* text : {L"$", L"0x", L"x", L"-$", L"$G", L"0x1G", L"$ 1", L"$-1", L"$$1", L"0xx1",
                                L"$100000000", L"$FFFFFFFFF", L"$1 "})
        EXPECT_EQ(ParseProfileInteger(text), std::nullopt) << testing::PrintToString(std::wstring(text));
}

TEST(ProfileIntegerLength, OnlyTheFirst2047CharactersTakePart) {
    ASSERT_EQ(kProfileValueLimit, 2047u);
    // Leading zeros fill the buffer: the last digit is dropped once it falls beyond the limit.
    EXPECT_EQ(ParseProfileInteger(std::wstring(2046, L'0') + L"7"), 7);
    EXPECT_EQ(ParseProfileInteger(std::wstring(2047, L'0') + L"7"), 0);
    EXPECT_EQ(ParseProfileInteger(std::wstring(2046, L' ') + L"7"), 7);
    EXPECT_EQ(ParseProfileInteger(std::wstring(2047, L' ') + L"7"), std::nullopt);
    // Garbage past the cut is never seen.
    EXPECT_EQ(ParseProfileInteger(std::wstring(2046, L'0') + L"1junk"), 1);
}

TEST(ProfileRead, FallsBackForMissingInvalidOrOverflowingValues) {
    EXPECT_EQ(ReadProfileInteger(L"", 32), 32);
    EXPECT_EQ(ReadProfileInteger(L"wide", 32), 32);
    EXPECT_EQ(ReadProfileInteger(L"2147483648", 70), 70);
    EXPECT_EQ(ReadProfileInteger(L"1000", 32), 1000) << "range checks belong to the caller";
    EXPECT_EQ(ReadProfileInteger(L"0", 32), 0);
}

TEST(ProfileRead, BooleanIsAnyNonzeroInteger) {
    EXPECT_TRUE(ReadProfileBool(L"1", false));
    EXPECT_TRUE(ReadProfileBool(L"-1", false));
    EXPECT_TRUE(ReadProfileBool(L"$FF", false));
    EXPECT_FALSE(ReadProfileBool(L"0", true));
    EXPECT_FALSE(ReadProfileBool(L"0x0", true));
    EXPECT_TRUE(ReadProfileBool(L"", true));
    EXPECT_FALSE(ReadProfileBool(L"", false));
    EXPECT_TRUE(ReadProfileBool(L"false", true)) << "words are not integers";
    EXPECT_FALSE(ReadProfileBool(L"yes", false));
}

TEST(ProfileWrite, DecimalRoundTripsThroughTheReader) {
    EXPECT_EQ(FormatProfileInteger(0), L"0");
    EXPECT_EQ(FormatProfileInteger(16777215), L"16777215");
    EXPECT_EQ(FormatProfileInteger(-1), L"-1");
    EXPECT_EQ(FormatProfileInteger(kMin), L"-2147483648");
    for (std::int32_t value : {kMin, -2147483633, -1, 0, 1, 70, kMax})
        EXPECT_EQ(ParseProfileInteger(FormatProfileInteger(value)), value);
}
