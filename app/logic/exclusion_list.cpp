#include "exclusion_list.h"

namespace trellane {

std::vector<std::string> SplitExclusionLines(std::string_view bytes) {
    // Editors that save "UTF-8 with BOM" put these bytes before the first class name.
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) bytes.remove_prefix(kUtf8Bom.size());
    bytes = bytes.substr(0, bytes.find('\0'));

    std::vector<std::string> lines;
    std::size_t lineStart = 0;
    while (lineStart < bytes.size()) {
        const std::size_t lineEnd = bytes.find_first_of("\r\n", lineStart);
        if (lineEnd == std::string_view::npos) {
            lines.emplace_back(bytes.substr(lineStart));
            break;
        }
        lines.emplace_back(bytes.substr(lineStart, lineEnd - lineStart));
        const bool crLf = bytes[lineEnd] == '\r' && lineEnd + 1 < bytes.size() && bytes[lineEnd + 1] == '\n';
        lineStart = lineEnd + (crLf ? 2 : 1);
    }
    return lines;
}

} // namespace trellane
