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
    const auto value = ParseStrictInt32(name);
    if (!value) return 0;
    return static_cast<std::uint32_t>(*value); // modular by definition: the same bit pattern
}

std::int32_t HeightFromValue(std::string_view value) {
    return ParseStrictInt32(value).value_or(kHeightWhenUnreadable);
}

} // namespace trellane
