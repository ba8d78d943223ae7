// The windows folded up to their caption, each with the height to give back when it unfolds.
// Entries are "name=value" text in folding order: the window handle in decimal and the height.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trellane {

class FoldList {
public:
    // The name of a window handle: unsigned decimal, no sign, no leading zeros.
    static std::string NameOf(std::uint32_t handle);

    // A name matches the text before an entry's first '=', ignoring ASCII letter case; an entry
    // without '=' has no name. Lookups use the first match.
    bool Contains(std::string_view name) const;
    // The text after the first '=' of the first matching entry.
    std::optional<std::string> ValueOf(std::string_view name) const;

    // Adds name=height at the end. An earlier entry of the same name is dropped first, so there
    // is at most one entry per window and a window folded again counts as folded last.
    void Append(std::string_view name, std::int32_t height);
    // Removes the first matching entry; false when there was none.
    bool Remove(std::string_view name);

    bool Empty() const { return FEntries.empty(); }
    std::size_t Size() const { return FEntries.size(); }
    // The name of the window folded longest ago; empty when the list is empty.
    std::string FirstName() const;
    const std::vector<std::string>& Entries() const { return FEntries; }

private:
    std::vector<std::string>::const_iterator Find(std::string_view name) const;

    std::vector<std::string> FEntries;
};

// A name back as a window handle: the name read as a decimal number (optional sign, no blanks)
// from -2147483648 up to 4294967295, its 32-bit pattern returned, so every name NameOf writes
// names its handle again. A name that is no such number gives 0, the null handle, which makes
// every window call on it fail harmlessly.
std::uint32_t HandleFromName(std::string_view name);

// A stored height; 400 when the value is not a 32-bit decimal integer.
std::int32_t HeightFromValue(std::string_view value);

// A right double click arrives after an ordinary right press that may have folded the window.
// True when the fold happened (at foldTick, milliseconds of a wrapping 32-bit clock) on the same
// window within the double-click time before now, so the double click should unfold it first.
bool DoubleClickFollowsFold(bool sameWindow, std::uint32_t foldTick, std::uint32_t now,
                            std::uint32_t doubleClickTime);

} // namespace trellane
