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

TranslucencyAction DecideTranslucency(bool toggle, bool on, bool layered) {
    if (toggle) return layered ? TranslucencyAction::Clear : TranslucencyAction::SetAndApplyAlpha;
    if (on) return layered ? TranslucencyAction::Nothing : TranslucencyAction::SetAndApplyAlpha;
    return layered ? TranslucencyAction::Clear : TranslucencyAction::Nothing;
}

} // namespace trellane
