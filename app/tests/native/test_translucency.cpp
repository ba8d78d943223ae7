// The opacity given to translucent windows and when a window's layered style changes.
#include "translucency.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

using namespace trellane;

TEST(AlphaForLevel, TheScrollBarRange) {
    EXPECT_EQ(AlphaForLevel(20), 51);
    EXPECT_EQ(AlphaForLevel(70), 178);
    EXPECT_EQ(AlphaForLevel(100), 255);
    EXPECT_EQ(AlphaForLevel(21), 53);
    EXPECT_EQ(AlphaForLevel(99), 252);
}

TEST(AlphaForLevel, LevelsFromAnEditedFileKeepOnlyTheLowByte) {
    EXPECT_EQ(AlphaForLevel(0), 0);
    EXPECT_EQ(AlphaForLevel(1), 2);
    EXPECT_EQ(AlphaForLevel(101), 1) << "257 wraps past opaque";
    EXPECT_EQ(AlphaForLevel(255), 138);
    EXPECT_EQ(AlphaForLevel(-1), 254) << "-2.55 truncates toward zero to -2";
    EXPECT_EQ(AlphaForLevel(-20), 205);
}

TEST(AlphaForLevel, ProductWrapsLike32BitArithmetic) {
    EXPECT_EQ(AlphaForLevel(8421504), 19) << "2147483520 still fits";
    EXPECT_EQ(AlphaForLevel(8421505), 237) << "wraps to -2147483521";
    EXPECT_EQ(AlphaForLevel(std::numeric_limits<std::int32_t>::max()), 17);
    EXPECT_EQ(AlphaForLevel(std::numeric_limits<std::int32_t>::min()), 236);
}

TEST(AlphaForLevel, MatchesTheFloatingQuotientEverywhereItWraps) {
    // Sample levels spread across the whole range; the reference divides in long double.
    for (std::int64_t level = std::numeric_limits<std::int32_t>::min();
         level <= std::numeric_limits<std::int32_t>::max(); level += 999983) {
        std::int64_t product = (level * 255) % (std::int64_t{1} << 32);
        if (product >= (std::int64_t{1} << 31)) product -= std::int64_t{1} << 32;
        if (product < -(std::int64_t{1} << 31)) product += std::int64_t{1} << 32;
        const auto truncated =
            static_cast<std::int64_t>(std::trunc(static_cast<long double>(product) / 100.0L));
        ASSERT_EQ(AlphaForLevel(static_cast<std::int32_t>(level)),
                  static_cast<std::uint8_t>(truncated & 0xFF))
            << "level=" << level;
    }
}

TEST(DecideTranslucency, TheWholeTable) {
    struct Row {
        bool toggle, on, layered;
        TranslucencyAction expected;
    };
    using A = TranslucencyAction;
    for (const Row row :
         {Row{true, true, true, A::Clear}, Row{true, false, true, A::Clear},
          Row{true, true, false, A::SetAndApplyAlpha}, Row{true, false, false, A::SetAndApplyAlpha},
          Row{false, true, true, A::Nothing}, Row{false, true, false, A::SetAndApplyAlpha},
          Row{false, false, true, A::Clear}, Row{false, false, false, A::Nothing}})
        EXPECT_EQ(DecideTranslucency(row.toggle, row.on, row.layered), row.expected)
            << "toggle=" << row.toggle << " on=" << row.on << " layered=" << row.layered;
}

TEST(DecideTranslucency, DragCycleAndMiddleClickCycle) {
    // A drag: on at the press, off at the release, back where it started.
    EXPECT_EQ(DecideTranslucency(false, true, false), TranslucencyAction::SetAndApplyAlpha);
    EXPECT_EQ(DecideTranslucency(false, false, true), TranslucencyAction::Clear);
    // A window already layered keeps its own opacity during the drag, yet ends opaque.
    EXPECT_EQ(DecideTranslucency(false, true, true), TranslucencyAction::Nothing);
    // Two middle clicks flip there and back.
    EXPECT_EQ(DecideTranslucency(true, true, false), TranslucencyAction::SetAndApplyAlpha);
    EXPECT_EQ(DecideTranslucency(true, true, true), TranslucencyAction::Clear);
}
