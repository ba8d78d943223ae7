#include "settings_value.h"

#include "int32.h"

namespace trellane {
namespace {

constexpr std::uint64_t kUint32Span = std::uint64_t{1} << 32;

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return static_cast<int>(c - L'0');
    if (c >= L'a' && c <= L'f') return static_cast<int>(c - L'a') + 10;
    if (c >= L'A' && c <= L'F') return static_cast<int>(c - L'A') + 10;
    return -1;
}

// Returns the length of the hexadecimal prefix at the start of text, 0 when there is none.
std::size_t HexPrefixLength(std::wstring_view text) {
    if (text.empty()) return 0;
    if (text[0] == L'$' || text[0] == L'x' || text[0] == L'X') return 1;
    if (text.size() >= 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) return 2;
    return 0;
}

std::optional<std::uint32_t> ParseHexDigits(std::wstring_view digits) {
    if (digits.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (wchar_t c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value >= kUint32Span) return std::nullopt; // leading zeros never get here
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace

std::optional<std::int32_t> ParseProfileInteger(std::wstring_view text) {
    text = text.substr(0, kProfileValueLimit);
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    text.remove_prefix(pos);

    bool negative = false;
    if (!text.empty() && (text[0] == L'-' || text[0] == L'+')) {
        negative = text[0] == L'-';
        text.remove_prefix(1);
    }

    const std::size_t prefix = HexPrefixLength(text);
    if (prefix == 0) return ParseInt32Digits(text, negative);

    const auto bits = ParseHexDigits(text.substr(prefix));
    if (!bits) return std::nullopt;
    // A sign before a hexadecimal value negates the 32-bit pattern, wrapping like the machine does.
    const std::uint32_t signedBits = negative ? static_cast<std::uint32_t>(0u - *bits) : *bits;
    return Int32FromBits(signedBits);
}

std::int32_t ReadProfileInteger(std::wstring_view text, std::int32_t fallback) {
    return ParseProfileInteger(text).value_or(fallback);
}

bool ReadProfileBool(std::wstring_view text, bool fallback) {
    const auto value = ParseProfileInteger(text);
    if (!value) return fallback;
    return *value != 0;
}

std::wstring FormatProfileInteger(std::int32_t value) {
    return std::to_wstring(value);
}

} // namespace trellane
