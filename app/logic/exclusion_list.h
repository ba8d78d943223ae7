// The exclusion list: window class names that are never snapped to the grid, one per line of a
// plain text file in the system's ANSI code page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trellane {

// Splits the file's bytes into entries. A line ends at CR LF, a lone CR or a lone LF, so LF CR
// ends two lines, the second one empty. A last line without a line end counts; a line end at
// the very end adds no empty entry. A NUL byte ends the list, as if the file ended there. Each
// line is an entry byte for byte (a UTF-8 byte-order mark at the very start is not part of it), blanks
// included, and an empty line is an empty entry: a class name is compared as a whole, so nothing may be
// trimmed away.
std::vector<std::string> SplitExclusionLines(std::string_view bytes);

} // namespace trellane
