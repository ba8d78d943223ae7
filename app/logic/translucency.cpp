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

} // namespace trellane
