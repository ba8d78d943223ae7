#include "fold_list.h"

#include <algorithm>

#include "int32.h"

namespace trellane {
namespace {

constexpr std::int32_t kHeightWhenUnreadable = 400;

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

std::optional<std::string_view> EntryName(std::string_view entry) {
    const std::size_t separator = entry.find('=');
    if (separator == std::string_view::npos) return std::nullopt;
    return entry.substr(0, separator);
}

// Optional sign and decimal digits, nothing else, inside the 32-bit signed range.
std::optional<std::int32_t> ParseStrictInt32(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    return ParseInt32Digits(text, negative);
}

} // namespace

std::string FoldList::NameOf(std::uint32_t handle) {
    return std::to_string(handle);
}

std::vector<std::string>::const_iterator FoldList::Find(std::string_view name) const {
    return std::find_if(FEntries.begin(), FEntries.end(), [name](const std::string& entry) {
        const auto entryName = EntryName(entry);
        return entryName && EqualIgnoringAsciiCase(*entryName, name);
    });
}

bool FoldList::Contains(std::string_view name) const {
    return Find(name) != FEntries.end();
}

std::optional<std::string> FoldList::ValueOf(std::string_view name) const {
    const auto found = Find(name);
    if (found == FEntries.end()) return std::nullopt;
    return found->substr(found->find('=') + 1);
}

void FoldList::Append(std::string_view name, std::int32_t height) {
    Remove(name);
    std::string entry(name);
    entry += '=';
    entry += std::to_string(height);
    FEntries.push_back(std::move(entry));
}

bool FoldList::Remove(std::string_view name) {
    const auto found = Find(name);
    if (found == FEntries.end()) return false;
    FEntries.erase(found);
    return true;
}

std::string FoldList::FirstName() const {
    if (FEntries.empty()) return {};
    return std::string(EntryName(FEntries.front()).value_or(std::string_view{}));
}

std::uint32_t HandleFromName(std::string_view name) {
    bool negative = false;
    if (!name.empty() && (name[0] == '-' || name[0] == '+')) {
        negative = name[0] == '-';
        name.remove_prefix(1);
    }
    if (name.empty()) return 0;
    // Names are written unsigned, so handles from 2^31 up must come back too; negative names
    // give their 32-bit pattern.
    const std::uint64_t limit = negative ? (std::uint64_t{1} << 31) : 0xFFFFFFFFu;
    std::uint64_t magnitude = 0;
    for (const char c : name) {
        if (c < '0' || c > '9') return 0;
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
        if (magnitude > limit) return 0;
    }
    return static_cast<std::uint32_t>(negative ? (0 - magnitude) & 0xFFFFFFFFu : magnitude);
}

std::int32_t HeightFromValue(std::string_view value) {
    return ParseStrictInt32(value).value_or(kHeightWhenUnreadable);
}

bool DoubleClickFollowsFold(bool sameWindow, std::uint32_t foldTick, std::uint32_t now,
                            std::uint32_t doubleClickTime) {
    // Unsigned subtraction measures across the clock's wrap.
    return sameWindow && static_cast<std::uint32_t>(now - foldTick) <= doubleClickTime;
}

} // namespace trellane
