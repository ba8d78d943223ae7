// Fuzz target for the folded-window list: a sequence of operations decoded from the input is run
// on a FoldList and on a plain model of it, and the two must agree after every step.
//
// Input format, read from the front (missing bytes read as 0, so every input is valid):
//   operation byte, then its arguments:
//     0 Append(name, height)   1 Remove(name)   2 Contains(name)   3 ValueOf(name)
//     4 FirstName()            5 HandleFromName(text)              6 HeightFromValue(text)
//     7 restore all (take the first name, turn it into a handle, remove it, until empty)
//     8 handle round trip of a 32-bit handle
//   name: selector byte s, by s % 4:
//     0 the name of a handle used before (pool entry s / 4), 1 the name of a new 4-byte handle,
//     2 arbitrary text (length byte, then bytes; for Append every '=' becomes ':', because a
//       window's name never holds one), 3 the name of an entry in the list with ASCII case flipped
//   text: length byte (0..63), then bytes;  height: 4 bytes;  handle: 4 bytes (little-endian).
//
// Checked: the list's entries equal the model's "name=height" texts in folding order; at most
// one entry per name (ASCII case ignored); lookups find the first match; HandleFromName and
// HeightFromValue agree with a reference reading of a decimal (-2^31 .. 2^32 - 1 for handles,
// the 32-bit signed range for heights); NameOf writes "%u"; HandleFromName(NameOf(h)) == h for
// every h; restoring all folded windows ends, in folding order, with an empty list.
#include "check.h"
#include "fold_list.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

using trellane::FoldList;
using trellane::HandleFromName;
using trellane::HeightFromValue;

namespace {

constexpr std::size_t kMaxOperations = 512;
constexpr std::size_t kMaxPool = 64;

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Done() const { return pos_ >= size_; }
    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::uint32_t Word() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= static_cast<std::uint32_t>(Byte()) << (8 * i);
        return value;
    }
    std::string Text() {
        const std::size_t length = Byte() % 64;
        std::string text;
        for (std::size_t i = 0; i < length && !Done(); ++i)
            text.push_back(static_cast<char>(Byte()));
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

char FlipCase(char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c + ('a' - 'A'));
    if (c >= 'a' && c <= 'z') return static_cast<char>(c - ('a' - 'A'));
    return c;
}

std::string Lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), Lower);
    return out;
}

std::string PrintfUnsigned(std::uint32_t value) {
    char buffer[16];
    const int length = std::snprintf(buffer, sizeof buffer, "%u", static_cast<unsigned>(value));
    return std::string(buffer, static_cast<std::size_t>(length));
}

// Optional sign and at least one decimal digit, nothing else, inside the 32-bit signed range;
// the range is checked on the digit string.
std::optional<std::int32_t> ReferenceDecimal(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    const std::size_t first = text.find_first_not_of('0');
    const std::string_view significant =
        first == std::string_view::npos ? std::string_view{} : text.substr(first);
    const std::string_view bound = negative ? "2147483648" : "2147483647";
    if (significant.size() > bound.size()) return std::nullopt;
    if (significant.size() == bound.size() && significant > bound) return std::nullopt;
    std::int64_t magnitude = 0;
    for (char c : significant)
        magnitude = magnitude * 10 + (c - '0');
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::uint32_t ReferenceHandle(std::string_view name) {
    if (const auto value = ReferenceDecimal(name)) {
        const std::int64_t wide = *value;
        return static_cast<std::uint32_t>(wide < 0 ? wide + (std::int64_t{1} << 32) : wide);
    }
    // Unsigned names above the signed range, as NameOf writes them.
    if (!name.empty() && name[0] == '+') name.remove_prefix(1);
    if (name.empty() || name.find_first_not_of("0123456789") != std::string_view::npos) return 0;
    const std::size_t first = name.find_first_not_of('0');
    const std::string_view significant =
        first == std::string_view::npos ? std::string_view{} : name.substr(first);
    if (significant.size() > 10 || (significant.size() == 10 && significant > "4294967295")) return 0;
    std::uint64_t magnitude = 0;
    for (char c : significant)
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
    return static_cast<std::uint32_t>(magnitude);
}

struct ModelEntry {
    std::string name;
    std::int32_t height;
};

class Model {
public:
    std::vector<ModelEntry> entries;

    std::vector<ModelEntry>::iterator Find(std::string_view name) {
        const std::string key = Lowered(name);
        return std::find_if(entries.begin(), entries.end(),
                            [&key](const ModelEntry& e) { return Lowered(e.name) == key; });
    }
    void Append(std::string_view name, std::int32_t height) {
        const auto found = Find(name);
        if (found != entries.end()) entries.erase(found);
        entries.push_back({std::string(name), height});
    }
    bool Remove(std::string_view name) {
        const auto found = Find(name);
        if (found == entries.end()) return false;
        entries.erase(found);
        return true;
    }
};

void CheckSame(const FoldList& list, const Model& model) {
    const auto& actual = list.Entries();
    FUZZ_CHECK(actual.size() == model.entries.size(), "as many entries as the model");
    FUZZ_CHECK(list.Size() == actual.size() && list.Empty() == actual.empty(),
               "Size and Empty match Entries");
    std::set<std::string> names;
    for (std::size_t i = 0; i < actual.size(); ++i) {
        const ModelEntry& expected = model.entries[i];
        FUZZ_CHECK(actual[i] == expected.name + "=" + std::to_string(expected.height),
                   "entry is name=height, in folding order");
        FUZZ_CHECK(names.insert(Lowered(expected.name)).second, "at most one entry per name");
    }
    FUZZ_CHECK(list.FirstName() == (model.entries.empty() ? std::string() : model.entries.front().name),
               "FirstName is the name of the window folded longest ago");
}

void CheckHandleRoundTrip(std::uint32_t handle) {
    const std::string name = FoldList::NameOf(handle);
    FUZZ_CHECK(name == PrintfUnsigned(handle), "NameOf writes unsigned decimal");
    const std::uint32_t expected = handle;
    FUZZ_CHECK(HandleFromName(name) == expected, "HandleFromName(NameOf(h)) is h");
    FUZZ_CHECK(HandleFromName("+" + name) == expected, "a plus sign changes nothing");
    if (handle <= 0x80000000u) {
        FUZZ_CHECK(HandleFromName("-" + name) == 0u - handle, "a negative name gives its 32-bit pattern");
    }
    FUZZ_CHECK(HeightFromValue(name) == (handle <= 0x7FFFFFFFu ? static_cast<std::int32_t>(handle) : 400),
               "a height is a 32-bit decimal or 400");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    FoldList list;
    Model model;
    std::vector<std::uint32_t> pool = {0u, 1u, 65536u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu};

    auto nameArgument = [&](bool forAppend) {
        const std::uint8_t selector = in.Byte();
        switch (selector % 4) {
        case 0:
            return FoldList::NameOf(pool[(selector / 4u) % pool.size()]);
        case 1: {
            const std::uint32_t handle = in.Word();
            if (pool.size() < kMaxPool) pool.push_back(handle);
            return FoldList::NameOf(handle);
        }
        case 2: {
            std::string text = in.Text();
            if (forAppend) std::replace(text.begin(), text.end(), '=', ':');
            return text;
        }
        default: {
            if (model.entries.empty()) return FoldList::NameOf(0);
            std::string name = model.entries[(selector / 4u) % model.entries.size()].name;
            std::transform(name.begin(), name.end(), name.begin(), FlipCase);
            return name;
        }
        }
    };

    for (std::size_t step = 0; step < kMaxOperations && !in.Done(); ++step) {
        switch (in.Byte() % 9) {
        case 0: {
            const std::string name = nameArgument(true);
            const auto height = static_cast<std::int32_t>(in.Word());
            list.Append(name, height);
            model.Append(name, height);
            FUZZ_CHECK(list.Contains(name), "an appended name is found");
            FUZZ_CHECK(list.Entries().back().compare(0, name.size(), name) == 0, "an appended name is last");
            break;
        }
        case 1: {
            const std::string name = nameArgument(false);
            FUZZ_CHECK(list.Remove(name) == model.Remove(name), "Remove finds what the model finds");
            break;
        }
        case 2: {
            const std::string name = nameArgument(false);
            FUZZ_CHECK(list.Contains(name) == (model.Find(name) != model.entries.end()),
                       "Contains finds what the model finds");
            break;
        }
        case 3: {
            const std::string name = nameArgument(false);
            const auto value = list.ValueOf(name);
            const auto found = model.Find(name);
            if (found == model.entries.end()) {
                FUZZ_CHECK(!value, "no value for a name not in the list");
            } else {
                FUZZ_CHECK(value && *value == std::to_string(found->height), "the value is the height as %d");
                FUZZ_CHECK(HeightFromValue(*value) == found->height, "a stored height reads back");
            }
            break;
        }
        case 4:
            // FirstName is checked after every step; the operation stays so that stored inputs
            // keep their meaning.
            break;
        case 5: {
            const std::string text = in.Text();
            FUZZ_CHECK(HandleFromName(text) == ReferenceHandle(text),
                       "HandleFromName agrees with the reference");
            break;
        }
        case 6: {
            const std::string text = in.Text();
            FUZZ_CHECK(HeightFromValue(text) == ReferenceDecimal(text).value_or(400),
                       "HeightFromValue agrees with the reference");
            break;
        }
        case 7: {
            const std::size_t count = list.Size();
            for (std::size_t i = 0; i < count; ++i) {
                const std::string name = list.FirstName();
                FUZZ_CHECK(name == model.entries[i].name, "windows are restored in folding order");
                FUZZ_CHECK(HandleFromName(name) == ReferenceHandle(name), "the restored handle");
                FUZZ_CHECK(list.Remove(name), "the first name is found");
                FUZZ_CHECK(list.Size() == count - i - 1, "each restore removes one entry");
            }
            FUZZ_CHECK(list.Empty(), "restoring all folded windows empties the list");
            model.entries.clear();
            break;
        }
        default:
            CheckHandleRoundTrip(in.Word());
            break;
        }
        CheckSame(list, model);
    }
    return 0;
}
