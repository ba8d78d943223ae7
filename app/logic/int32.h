// 32-bit integers as the system and text files hold them: bit patterns read as two's complement,
// and strict decimal digits inside the signed range.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace trellane {

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
