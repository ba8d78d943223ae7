// 32-bit integers as the system and text files hold them: bit patterns read as two's complement,
// strict decimal digits inside the signed range, and the 64-bit arithmetic that keeps screen
// coordinates from overflowing before they are brought back into 32 bits.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace trellane {

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

// The nearest 32-bit value: far-off results saturate instead of wrapping to the other side.
constexpr std::int32_t ClampToInt32(std::int64_t value) noexcept {
    return static_cast<std::int32_t>(std::clamp(value, kInt32Min, kInt32Max));
}

// Division rounding toward minus infinity (C++ rounds toward zero), so that negative coordinates
// fall on the same grid as positive ones.
constexpr std::int64_t FloorDivide(std::int64_t numerator, std::int64_t positiveDenominator) noexcept {
    const std::int64_t quotient = numerator / positiveDenominator;
    const bool roundedTowardZero = (numerator % positiveDenominator) != 0 && numerator < 0;
    return roundedTowardZero ? quotient - 1 : quotient;
}

// Division rounding toward plus infinity.
constexpr std::int64_t CeilDivide(std::int64_t numerator, std::int64_t positiveDenominator) noexcept {
    return -FloorDivide(-numerator, positiveDenominator);
}

// Reads a 32-bit pattern as two's complement without relying on the implementation-defined
// unsigned-to-signed conversion.
constexpr std::int32_t Int32FromBits(std::uint32_t bits) noexcept {
    if (bits <= 0x7FFFFFFFu) return static_cast<std::int32_t>(bits);
    return static_cast<std::int32_t>(static_cast<std::int64_t>(bits) - (std::int64_t{1} << 32));
}

// Decimal digits only (no sign, no blanks), negated when asked, inside the 32-bit signed range;
// nullopt for anything else, an empty text included.
template <class Char>
std::optional<std::int32_t> ParseInt32Digits(std::basic_string_view<Char> digits, bool negative) {
    if (digits.empty()) return std::nullopt;
    // The magnitude may reach 2^31 for INT32_MIN; stopping past that keeps the sum small.
    constexpr std::int64_t kMaxMagnitude = std::int64_t{1} << 31;
    std::int64_t magnitude = 0;
    for (const Char c : digits) {
        if (c < Char('0') || c > Char('9')) return std::nullopt;
        magnitude = magnitude * 10 + static_cast<std::int64_t>(c - Char('0'));
        if (magnitude > kMaxMagnitude) return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

} // namespace trellane
