// Fuzz target for the settings-file values: ParseProfileInteger, ReadProfileInteger,
// ReadProfileBool and FormatProfileInteger over arbitrary UTF-16 text.
//
// Input bytes become UTF-16 code units one for one (so seeds stay readable text), except that the
// byte 0xFF followed by two more bytes gives the code unit hi*256+lo; that way every code unit
// (NUL, lone surrogates, full-width digits, the ideographic space) can be reached.
//
// Checked for every input:
//  - the parser agrees with an independent reference parser written from the documented rules;
//  - ReadProfileInteger and ReadProfileBool agree with the parse for several fallbacks;
//  - a parsed value formats as "%d" does, and that text parses back to the same value;
//  - only the first kProfileValueLimit characters count: text past the limit never changes the
//    result, and text pushed past the limit by leading blanks or zeros is as good as cut off;
//  - any 32-bit value survives decimal and every hexadecimal spelling.
#include "check.h"
#include "settings_value.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

using trellane::FormatProfileInteger;
using trellane::kProfileValueLimit;
using trellane::ParseProfileInteger;
using trellane::ReadProfileBool;
using trellane::ReadProfileInteger;

namespace {

constexpr std::size_t kLimit = 2047; // the value buffer of the system's profile reader, less its terminator
static_assert(kLimit == kProfileValueLimit, "the reading limit changed");

std::wstring Decode(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    text.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && i + 2 < size) {
            text.push_back(static_cast<wchar_t>((data[i + 1] << 8) | data[i + 2]));
            i += 2;
        } else {
            text.push_back(static_cast<wchar_t>(data[i]));
        }
    }
    return text;
}

bool IsDecimalDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

bool IsHexDigit(wchar_t c) {
    return IsDecimalDigit(c) || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

std::uint32_t HexValue(wchar_t c) {
    if (IsDecimalDigit(c)) return static_cast<std::uint32_t>(c - L'0');
    if (c >= L'a' && c <= L'f') return static_cast<std::uint32_t>(c - L'a' + 10);
    return static_cast<std::uint32_t>(c - L'A' + 10);
}

std::int32_t FromBits(std::uint32_t bits) {
    std::int32_t value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::uint32_t ToBits(std::int32_t value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// The documented rules, implemented differently: the range check compares digit strings.
std::optional<std::int32_t> ReferenceParse(std::wstring_view text) {
    if (text.size() > kLimit) text = text.substr(0, kLimit);
    std::size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    std::wstring_view rest = text.substr(i);

    std::size_t prefix = 0;
    if (rest.size() >= 2 && rest[0] == L'0' && (rest[1] == L'x' || rest[1] == L'X')) {
        prefix = 2;
    } else if (!rest.empty() && (rest[0] == L'$' || rest[0] == L'x' || rest[0] == L'X')) {
        prefix = 1;
    }
    std::wstring_view digits = rest.substr(prefix);
    if (digits.empty()) return std::nullopt;
    for (wchar_t c : digits) {
        if (prefix != 0 ? !IsHexDigit(c) : !IsDecimalDigit(c)) return std::nullopt;
    }
    const std::size_t firstSignificant = digits.find_first_not_of(L'0');
    const std::wstring_view significant =
        firstSignificant == std::wstring_view::npos ? std::wstring_view{} : digits.substr(firstSignificant);

    if (prefix != 0) {
        if (significant.size() > 8) return std::nullopt;
        std::uint32_t bits = 0;
        for (wchar_t c : significant)
            bits = (bits << 4) | HexValue(c);
        if (negative) bits = ~bits + 1u;
        return FromBits(bits);
    }
    const std::wstring_view bound = negative ? L"2147483648" : L"2147483647";
    if (significant.size() > bound.size()) return std::nullopt;
    if (significant.size() == bound.size() && significant > bound) return std::nullopt;
    std::int64_t magnitude = 0;
    for (wchar_t c : significant)
        magnitude = magnitude * 10 + (c - L'0');
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::wstring PrintfDecimal(std::int32_t value) {
    char buffer[16];
    const int length = std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(value));
    return std::wstring(buffer, buffer + length);
}

std::wstring PrintfHex(std::uint32_t bits, bool upper) {
    char buffer[16];
    const int length = std::snprintf(buffer, sizeof buffer, upper ? "%X" : "%x", static_cast<unsigned>(bits));
    return std::wstring(buffer, buffer + length);
}

// Parses and compares with the reference only: for the long variants below.
std::optional<std::int32_t> ReferencedParse(std::wstring_view text) {
    const auto parsed = ParseProfileInteger(text);
    FUZZ_CHECK(parsed == ReferenceParse(text), "ParseProfileInteger agrees with the reference parser");
    return parsed;
}

// Parses, compares with the reference and checks the readers built on the parse.
std::optional<std::int32_t> CheckedParse(std::wstring_view text) {
    const auto parsed = ReferencedParse(text);

    for (std::int32_t fallback : {0, -1, 70, INT32_MIN, INT32_MAX}) {
        FUZZ_CHECK(ReadProfileInteger(text, fallback) == parsed.value_or(fallback),
                   "ReadProfileInteger is the parse or the fallback");
    }
    for (bool fallback : {false, true}) {
        FUZZ_CHECK(ReadProfileBool(text, fallback) == (parsed ? *parsed != 0 : fallback),
                   "ReadProfileBool is 'nonzero' of the parse or the fallback");
    }
    if (parsed) {
        const std::wstring written = FormatProfileInteger(*parsed);
        FUZZ_CHECK(written == PrintfDecimal(*parsed), "FormatProfileInteger writes as %d does");
        FUZZ_CHECK(ParseProfileInteger(written) == parsed, "a written value reads back unchanged");
    }
    return parsed;
}

// Text whose first `kept` characters of `tail` are the last ones inside the limit, built in one
// reused buffer (fresh 8 KiB allocations on every run would cost most of the time under ASan).
// The caller keeps head.size() + kept <= kLimit.
const std::wstring& PushedPastLimit(std::wstring_view head, wchar_t fill, std::wstring_view tail,
                                    std::size_t kept) {
    static std::wstring text;
    text.assign(head);
    text.append(kLimit - head.size() - kept, fill);
    text.append(tail);
    return text;
}

// The first kLimit characters of text followed by `extra`, in a reused buffer.
const std::wstring& CutAndAppend(const std::wstring& text, std::wstring_view extra) {
    static std::wstring cut;
    cut.assign(text, 0, kLimit);
    cut.append(extra);
    return cut;
}

// `kept` (1..text.size()) is how many characters of the text stay inside the limit when leading
// fill (blanks, tabs, decimal zeros or "$" and hexadecimal zeros, chosen by `fill`) pushes the
// rest past it.
void CheckLimit(const std::wstring& text, std::optional<std::int32_t> parsed, std::size_t kept,
                unsigned fill) {
    if (text.size() > kLimit) {
        FUZZ_CHECK(ParseProfileInteger(CutAndAppend(text, L"")) == parsed,
                   "text past the limit does not count");
        FUZZ_CHECK(ParseProfileInteger(CutAndAppend(text, L"0")) == parsed,
                   "a digit past the limit does not count");
        FUZZ_CHECK(ParseProfileInteger(CutAndAppend(text, L"z")) == parsed,
                   "a letter past the limit does not count");
        FUZZ_CHECK(ParseProfileInteger(CutAndAppend(text, L" ")) == parsed,
                   "a blank past the limit does not count");
    }
    if (kept == 0 || kept > text.size() || kept > kLimit) return;

    const std::wstring_view inside = std::wstring_view(text).substr(0, kept);
    switch (fill % 4) {
    case 0:
        FUZZ_CHECK(ReferencedParse(PushedPastLimit(L"", L' ', text, kept)) == ParseProfileInteger(inside),
                   "leading blanks that push text past the limit act as a cut");
        break;
    case 1:
        FUZZ_CHECK(ReferencedParse(PushedPastLimit(L"", L'\t', text, kept)) == ParseProfileInteger(inside),
                   "leading tabs that push text past the limit act as a cut");
        break;
    case 2:
        // Zeros join decimal digits; before a hexadecimal prefix they would make "00x1".
        if (IsDecimalDigit(text[0]) &&
            !(kept >= 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X'))) {
            FUZZ_CHECK(ReferencedParse(PushedPastLimit(L"", L'0', text, kept)) == ParseProfileInteger(inside),
                       "leading decimal zeros that push digits past the limit act as a cut");
        }
        break;
    default:
        if (kept < kLimit) {
            FUZZ_CHECK(ReferencedParse(PushedPastLimit(L"$", L'0', text, kept)) ==
                           ParseProfileInteger(std::wstring(L"$") + std::wstring(inside)),
                       "leading hexadecimal zeros that push digits past the limit act as a cut");
        }
        break;
    }
}

// Every spelling of one 32-bit value reads back as that value.
void CheckSpellings(std::int32_t value) {
    const std::uint32_t bits = ToBits(value);
    FUZZ_CHECK(ParseProfileInteger(FormatProfileInteger(value)) == value, "decimal round trip");
    FUZZ_CHECK(ParseProfileInteger(L" \t " + FormatProfileInteger(value)) == value,
               "leading blanks are skipped");
    FUZZ_CHECK(!ParseProfileInteger(FormatProfileInteger(value) + L" "), "a trailing blank is invalid");
    for (std::wstring_view prefix : {L"$", L"x", L"X", L"0x", L"0X"}) {
        for (bool upper : {false, true}) {
            const std::wstring hex = PrintfHex(bits, upper);
            FUZZ_CHECK(ParseProfileInteger(std::wstring(prefix) + hex) == value, "hexadecimal spelling");
            FUZZ_CHECK(ParseProfileInteger(L"+" + std::wstring(prefix) + L"000" + hex) == value,
                       "hexadecimal spelling with sign and leading zeros");
            FUZZ_CHECK(ParseProfileInteger(L"-" + std::wstring(prefix) + hex) == FromBits(~bits + 1u),
                       "a minus before a hexadecimal value negates the 32-bit pattern");
        }
    }
    const std::int64_t wide = value;
    for (std::int64_t outside : {wide + (std::int64_t{1} << 32), wide - (std::int64_t{1} << 32)}) {
        const std::string digits = std::to_string(outside);
        FUZZ_CHECK(!ParseProfileInteger(std::wstring(digits.begin(), digits.end())), "decimal out of range");
    }
    char padded[16];
    const int length = std::snprintf(padded, sizeof padded, "$1%08X", static_cast<unsigned>(bits));
    FUZZ_CHECK(!ParseProfileInteger(std::wstring(padded, padded + length)),
               "more than 32 bits of hexadecimal");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = Decode(data, size);
    const auto parsed = CheckedParse(text);
    // The last and the middle byte pick the fill and where the cut falls, so that over many inputs
    // every cut is tried with every fill.
    if (!text.empty()) {
        const unsigned pick = data[size - 1] + 256u * data[size / 2];
        CheckLimit(text, parsed, 1 + (pick >> 2) % text.size(), pick);
    }

    if (size >= 4) {
        std::uint32_t bits;
        std::memcpy(&bits, data, sizeof bits);
        CheckSpellings(FromBits(bits));
    }
    if (parsed) CheckSpellings(*parsed);
    return 0;
}
