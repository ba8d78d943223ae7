// Reading and writing the values of the settings file. The system's profile functions hand
// values over as text; these rules decide what a value means, so that a hand-edited or damaged
// file falls back to defaults instead of surprising the user.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trellane {

// The reading buffer holds 2048 characters including the terminator, so longer values arrive
// cut to this many characters.
constexpr std::size_t kProfileValueLimit = 2047;

// An optionally signed decimal integer, or hexadecimal after "$", "x", "X", "0x" or "0X" (a sign
// may precede the prefix). Leading spaces and tabs are skipped; anything after the digits,
// trailing blanks included, makes the value invalid, exactly like the framework's own integer
// conversion (the system's profile reader already drops blanks around a value in the file).
// Hexadecimal maps to the 32-bit two's-complement pattern ("$FFFFFFFF" is -1) and may carry
// leading zeros, but more than 32 significant bits are invalid. A decimal value outside the
// 32-bit range is invalid. Only the first kProfileValueLimit characters take part.
std::optional<std::int32_t> ParseProfileInteger(std::wstring_view text);

// The integer value, or fallback when the text is missing, invalid or out of range.
std::int32_t ReadProfileInteger(std::wstring_view text, std::int32_t fallback);

// True for any nonzero integer, false for zero, fallback when the text is not an integer.
bool ReadProfileBool(std::wstring_view text, bool fallback);

// Decimal text as "%d" writes it, so a written file reads back unchanged.
std::wstring FormatProfileInteger(std::int32_t value);

} // namespace trellane
