#include "translucency.h"

#include "int32.h"

namespace trellane {

std::uint8_t AlphaForLevel(std::int32_t level) {
    // Keep the low 32 bits of the exact product, as a 32-bit multiply without overflow checks
    // would, then read them as two's complement.
    const std::int32_t product = Int32FromBits(static_cast<std::uint32_t>(std::int64_t{level} * 255));
    // Integer division truncates toward zero like Trunc of the floating quotient, and for
    // |product| <= 2^31 the floating quotient is never close enough to an integer to round onto it.
    const std::int32_t alpha = product / 100;
    return static_cast<std::uint8_t>(static_cast<std::uint64_t>(alpha) & 0xFFu);
}

TranslucencyAction DecideTranslucency(TranslucencyRequest request, bool madeTranslucent, bool layered,
                                      bool attributesReadable) {
    if (madeTranslucent)
        return request == TranslucencyRequest::On ? TranslucencyAction::Nothing : TranslucencyAction::Restore;
    switch (request) {
    case TranslucencyRequest::On:
        return layered ? TranslucencyAction::Nothing : TranslucencyAction::MakeTranslucent;
    case TranslucencyRequest::Off:
        return TranslucencyAction::Nothing;
    case TranslucencyRequest::Toggle:
        return (layered && !attributesReadable) ? TranslucencyAction::Nothing
                                                : TranslucencyAction::MakeTranslucent;
    }
    return TranslucencyAction::Nothing;
}

LayeredAttributes TranslucentAttributes(const LayeredState& before, std::int32_t level) {
    const bool keepKey = before.layered && (before.flags & kLwaColorKey) != 0;
    return {keepKey ? before.colorKey : 0u, AlphaForLevel(level), kLwaAlpha | (keepKey ? kLwaColorKey : 0u)};
}

namespace {
// Marks in each value, so that neither is ever 0 (no property) and a foreign value rarely passes.
constexpr std::uint64_t kStateMark = 1u << 30;
constexpr std::uint64_t kKeyMark = 1u << 24;
constexpr std::uint64_t kLayeredBit = 1u << 10;
constexpr std::uint64_t kStateBits = kStateMark | 0x00FF0000u | kLayeredBit | 0x300u | 0xFFu;
} // namespace

KeptTranslucency KeptValues(const TranslucencyRecord& record) {
    const LayeredState& before = record.before;
    KeptTranslucency kept;
    kept.state = kStateMark | (std::uint64_t{record.alphaGiven} << 16) | (before.layered ? kLayeredBit : 0) |
                 (std::uint64_t{before.flags & (kLwaColorKey | kLwaAlpha)} << 8) | before.alpha;
    kept.colorKey = kKeyMark | (before.colorKey & 0xFFFFFFu);
    return kept;
}

std::optional<TranslucencyRecord> RecordFromKept(const KeptTranslucency& kept) {
    if ((kept.state & ~kStateBits) != 0 || (kept.state & kStateMark) == 0) return std::nullopt;
    if ((kept.colorKey & ~(kKeyMark | 0xFFFFFFu)) != 0 || (kept.colorKey & kKeyMark) == 0)
        return std::nullopt;
    TranslucencyRecord record;
    record.before.layered = (kept.state & kLayeredBit) != 0;
    record.before.readable = true;
    record.before.alpha = static_cast<std::uint8_t>(kept.state & 0xFFu);
    record.before.flags = static_cast<std::uint32_t>((kept.state >> 8) & 0x3u);
    record.before.colorKey = static_cast<std::uint32_t>(kept.colorKey & 0xFFFFFFu);
    record.alphaGiven = static_cast<std::uint8_t>((kept.state >> 16) & 0xFFu);
    return record;
}

KeptTranslucencyAction DecideKeptTranslucency(const KeptTranslucency& kept, const LayeredState& now) {
    if (kept.state == 0 && kept.colorKey == 0) return KeptTranslucencyAction::None;
    const std::optional<TranslucencyRecord> record = RecordFromKept(kept);
    if (!record) return KeptTranslucencyAction::Ignore;
    if (!now.layered) return KeptTranslucencyAction::Drop;
    // Layered with no attributes yet: only the moment between our setting the style and the opacity
    // leaves a window so (it then shows nothing at all), so it is ours to put back.
    if (!now.readable)
        return record->before.layered ? KeptTranslucencyAction::Drop : KeptTranslucencyAction::Applies;
    const bool ourOpacity = (now.flags & kLwaAlpha) != 0 && now.alpha == record->alphaGiven;
    return ourOpacity ? KeptTranslucencyAction::Applies : KeptTranslucencyAction::Drop;
}

} // namespace trellane
