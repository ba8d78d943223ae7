// Fuzz target for the exclusion-list reader: SplitExclusionLines over arbitrary file bytes.
//
// Checked for every input:
//  - the entries equal those of an independent byte-by-byte reader of the documented rules, after
//    one UTF-8 byte-order mark at the start;
//  - no entry holds CR, LF or NUL, and nothing past the first NUL counts;
//  - the number of entries matches a separate count of line ends (CR LF, lone CR, lone LF);
//  - every byte before the first NUL is either in an entry or a line-end byte;
//  - writing the entries back, each ended by CR LF, LF or CR, and reading again gives them again.
#include "check.h"
#include "exclusion_list.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using trellane::SplitExclusionLines;
using Lines = std::vector<std::string>;

namespace {

// Text read again below starts with this mark, so that a first entry that itself begins with
// the mark's bytes keeps them.
constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view WithoutBom(std::string_view bytes) {
    return bytes.substr(0, kBom.size()) == kBom ? bytes.substr(kBom.size()) : bytes;
}

std::string_view BeforeNul(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\0') return bytes.substr(0, i);
    }
    return bytes;
}

// One byte at a time: a CR ends a line and swallows an LF right after it; an LF ends a line.
Lines ReferenceSplit(std::string_view text) {
    Lines lines;
    std::string current;
    bool lineOpen = false;
    bool afterCr = false;
    for (char c : text) {
        if (c == '\r') {
            lines.push_back(current);
            current.clear();
            lineOpen = false;
            afterCr = true;
        } else if (c == '\n') {
            if (!afterCr) {
                lines.push_back(current);
                current.clear();
                lineOpen = false;
            }
            afterCr = false;
        } else {
            current.push_back(c);
            lineOpen = true;
            afterCr = false;
        }
    }
    if (lineOpen) lines.push_back(current);
    return lines;
}

std::size_t CountLineEnds(std::string_view text) {
    std::size_t ends = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') ++ends;
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) ++ends;
    }
    return ends;
}

bool IsLineEndByte(char c) {
    return c == '\r' || c == '\n';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string_view text = BeforeNul(WithoutBom(bytes));
    const Lines lines = SplitExclusionLines(bytes);

    FUZZ_CHECK(lines == ReferenceSplit(text), "entries equal those of the reference reader");
    FUZZ_CHECK(SplitExclusionLines(std::string(kBom) + std::string(text)) == lines,
               "nothing from the first NUL on counts");

    std::size_t entryBytes = 0;
    for (const std::string& line : lines) {
        for (char c : line)
            FUZZ_CHECK(c != '\r' && c != '\n' && c != '\0', "no entry holds CR, LF or NUL");
        entryBytes += line.size();
    }

    const bool openLastLine = !text.empty() && !IsLineEndByte(text.back());
    FUZZ_CHECK(lines.size() == CountLineEnds(text) + (openLastLine ? 1 : 0),
               "one entry per line end, plus a last line without one");

    std::size_t lineEndBytes = 0;
    for (char c : text)
        lineEndBytes += IsLineEndByte(c) ? 1 : 0;
    FUZZ_CHECK(entryBytes + lineEndBytes == text.size(), "every byte is in an entry or ends a line");

    if (openLastLine) {
        FUZZ_CHECK(SplitExclusionLines(std::string(kBom) + std::string(text) + "\r\n") == lines,
                   "a line end after the last line adds no entry");
    }

    for (std::string_view ending : {"\r\n", "\n", "\r"}) {
        std::string written(kBom);
        written.reserve(kBom.size() + entryBytes + lines.size() * ending.size() + 8);
        for (const std::string& line : lines) {
            written += line;
            written += ending;
        }
        FUZZ_CHECK(SplitExclusionLines(written) == lines, "entries written back read the same");
        written += std::string_view("\0tail\r\n", 7);
        FUZZ_CHECK(SplitExclusionLines(written) == lines, "entries written back and a NUL read the same");
    }
    return 0;
}
