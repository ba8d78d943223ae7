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
        TranslucencyRequest request;
        bool made, layered, readable;
        TranslucencyAction expected;
    };
    using A = TranslucencyAction;
    using R = TranslucencyRequest;
    for (const Row row :
         {// Windows we made translucent go back to what they were; a drag start leaves them be.
          Row{R::On, true, true, true, A::Nothing}, Row{R::Off, true, true, true, A::Restore},
          Row{R::Toggle, true, true, true, A::Restore}, Row{R::Off, true, true, false, A::Restore},
          // Opaque windows become translucent at a drag start or a middle click only.
          Row{R::On, false, false, true, A::MakeTranslucent}, Row{R::Off, false, false, true, A::Nothing},
          Row{R::Toggle, false, false, true, A::MakeTranslucent},
          // Windows layered by their own program: never cleared, dragged as they are; a middle
          // click takes them over only when their attributes can be put back.
          Row{R::On, false, true, true, A::Nothing}, Row{R::Off, false, true, true, A::Nothing},
          Row{R::Toggle, false, true, true, A::MakeTranslucent},
          Row{R::Toggle, false, true, false, A::Nothing}, Row{R::On, false, true, false, A::Nothing},
          Row{R::Off, false, true, false, A::Nothing}})
        EXPECT_EQ(DecideTranslucency(row.request, row.made, row.layered, row.readable), row.expected)
            << "request=" << static_cast<int>(row.request) << " made=" << row.made
            << " layered=" << row.layered << " readable=" << row.readable;
}

TEST(DecideTranslucency, DragCycleAndMiddleClickCycle) {
    using R = TranslucencyRequest;
    // A drag: on at the press, off at the release, back where it started.
    EXPECT_EQ(DecideTranslucency(R::On, false, false, true), TranslucencyAction::MakeTranslucent);
    EXPECT_EQ(DecideTranslucency(R::Off, true, true, true), TranslucencyAction::Restore);
    // A window made translucent by a middle click keeps its opacity during the drag, yet ends opaque.
    EXPECT_EQ(DecideTranslucency(R::On, true, true, true), TranslucencyAction::Nothing);
    // Two middle clicks flip there and back.
    EXPECT_EQ(DecideTranslucency(R::Toggle, false, false, true), TranslucencyAction::MakeTranslucent);
    EXPECT_EQ(DecideTranslucency(R::Toggle, true, true, true), TranslucencyAction::Restore);
}

TEST(TranslucentAttributes, TheLevelsOpacityAndAColourKeyTheWindowHad) {
    const LayeredAttributes plain = TranslucentAttributes(LayeredState{}, 70);
    EXPECT_EQ(plain.alpha, 178);
    EXPECT_EQ(plain.flags, kLwaAlpha);
    EXPECT_EQ(plain.colorKey, 0u);
    const LayeredAttributes keyed =
        TranslucentAttributes(LayeredState{true, true, 0x00FF00FFu, 200, kLwaColorKey | kLwaAlpha}, 20);
    EXPECT_EQ(keyed.alpha, 51);
    EXPECT_EQ(keyed.flags, kLwaAlpha | kLwaColorKey);
    EXPECT_EQ(keyed.colorKey, 0x00FF00FFu);
    // A key is only a key with its flag.
    EXPECT_EQ(TranslucentAttributes(LayeredState{true, true, 0x123456u, 200, kLwaAlpha}, 70).flags,
              kLwaAlpha);
}

TEST(KeptTranslucency, ARecordReadsBackAsWrittenAndSaysWhetherTheWindowIsStillAsWeLeftIt) {
    const TranslucencyRecord written{LayeredState{true, true, 0x00FF00FFu, 200, kLwaColorKey | kLwaAlpha},
                                     51};
    const KeptTranslucency kept = KeptValues(written);
    for (const std::uint64_t value : {kept.state, kept.colorKey})
        EXPECT_TRUE(value != 0 && value < (std::uint64_t{1} << 31)) << value;
    const auto read = RecordFromKept(kept);
    ASSERT_TRUE(read.has_value());
    EXPECT_TRUE(read->before.layered);
    EXPECT_EQ(read->before.colorKey, 0x00FF00FFu);
    EXPECT_EQ(read->before.alpha, 200);
    EXPECT_EQ(read->before.flags, kLwaColorKey | kLwaAlpha);
    EXPECT_EQ(read->alphaGiven, 51);
    EXPECT_FALSE(RecordFromKept(KeptValues(TranslucencyRecord{LayeredState{}, 178}))->before.layered);

    using A = KeptTranslucencyAction;
    const LayeredState ours{true, true, 0x00FF00FFu, 51, kLwaColorKey | kLwaAlpha};
    EXPECT_EQ(DecideKeptTranslucency(KeptTranslucency{}, ours), A::None);
    EXPECT_EQ(DecideKeptTranslucency(kept, ours), A::Applies);
    // Its program changed the layering since: not layered, another opacity, per-pixel alpha.
    EXPECT_EQ(DecideKeptTranslucency(kept, LayeredState{}), A::Drop);
    EXPECT_EQ(DecideKeptTranslucency(kept, LayeredState{true, true, 0, 200, kLwaAlpha}), A::Drop);
    EXPECT_EQ(DecideKeptTranslucency(kept, LayeredState{true, true, 0x00FF00FFu, 51, kLwaColorKey}), A::Drop);
    EXPECT_EQ(DecideKeptTranslucency(kept, LayeredState{true, false, 0, 255, 0}), A::Drop);
    // Layered without attributes: only our own half-done change leaves an opaque window so.
    const KeptTranslucency fromOpaque = KeptValues(TranslucencyRecord{LayeredState{}, 178});
    EXPECT_EQ(DecideKeptTranslucency(fromOpaque, LayeredState{true, false, 0, 255, 0}), A::Applies);
    // Values this program never writes: no marks, stray bits, one of the two missing.
    for (const KeptTranslucency foreign :
         {KeptTranslucency{0x12345, kept.colorKey}, KeptTranslucency{kept.state | (1u << 12), kept.colorKey},
          KeptTranslucency{kept.state, kept.colorKey | (1u << 28)}, KeptTranslucency{kept.state, 0},
          KeptTranslucency{0, kept.colorKey}, KeptTranslucency{~std::uint64_t{0}, ~std::uint64_t{0}}})
        EXPECT_EQ(DecideKeptTranslucency(foreign, ours), A::Ignore)
            << foreign.state << " " << foreign.colorKey;
}
