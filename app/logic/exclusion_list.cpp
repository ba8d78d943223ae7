#include "exclusion_list.h"

namespace trellane {

namespace {

// Editors that save "UTF-8 with BOM" put these bytes before the first line.
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

wchar_t LowerAscii(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

} // namespace

bool HasUtf8Mark(std::string_view bytes) {
    return bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom;
}

std::vector<std::string> SplitExclusionLines(std::string_view bytes) {
    if (HasUtf8Mark(bytes)) bytes.remove_prefix(kUtf8Bom.size());
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

bool IsProgramLine(std::wstring_view line) {
    constexpr std::wstring_view kExtension = L".exe";
    if (line.size() <= kExtension.size()) return false;
    if (line.find_first_of(L"\\/:") != std::wstring_view::npos) return false;
    const std::wstring_view tail = line.substr(line.size() - kExtension.size());
    for (std::size_t i = 0; i < kExtension.size(); ++i)
        if (LowerAscii(tail[i]) != kExtension[i]) return false;
    return true;
}

std::wstring FileNameOfPath(std::wstring_view path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

bool DrawnByAppInside(std::string_view className) {
    if (className.size() != kAppFrameClass.size()) return false;
    for (std::size_t i = 0; i < className.size(); ++i)
        if (LowerAscii(static_cast<unsigned char>(className[i])) !=
            LowerAscii(static_cast<unsigned char>(kAppFrameClass[i])))
            return false;
    return true;
}

std::optional<std::string> WithLineAppended(std::string_view bytes, std::string_view line) {
    if (bytes.find('\0') != std::string_view::npos) return std::nullopt;
    std::string_view lineEnd = "\r\n";
    const std::size_t firstEnd = bytes.find_first_of("\r\n");
    if (firstEnd != std::string_view::npos) {
        const bool crLf = bytes.substr(firstEnd, 2) == "\r\n";
        lineEnd = crLf ? "\r\n" : bytes.substr(firstEnd, 1);
    }
    std::string text(bytes);
    const bool endsLine = text.empty() || text.back() == '\r' || text.back() == '\n' || text == kUtf8Bom;
    if (!endsLine) text += lineEnd;
    text += line;
    text += lineEnd;
    return text;
}

} // namespace trellane
