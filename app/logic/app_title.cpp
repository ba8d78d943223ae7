#include "app_title.h"

namespace trellane {
namespace {

wchar_t LowerLatin(wchar_t c) {
    constexpr wchar_t kCaseDistance = 0x20; // the same in all three Latin blocks below
    const bool asciiUpper = c >= L'A' && c <= L'Z';
    // U+00D7 (multiplication sign) sits among the Latin-1 capitals but has no lower case.
    const bool latin1Upper = c >= 0x00C0 && c <= 0x00DE && c != 0x00D7;
    const bool fullWidthUpper = c >= 0xFF21 && c <= 0xFF3A;
    if (asciiUpper || latin1Upper || fullWidthUpper) return static_cast<wchar_t>(c + kCaseDistance);
    return c;
}

} // namespace

std::wstring ApplicationTitle(std::wstring_view exePath) {
    std::wstring_view name = exePath;
    const std::size_t lastSeparator = name.find_last_of(L"\\/:");
    if (lastSeparator != std::wstring_view::npos) name.remove_prefix(lastSeparator + 1);
    // Everything from the first dot goes, so "my.tool.exe" keeps only "my".
    name = name.substr(0, name.find(L'.'));

    std::wstring title(name);
    for (std::size_t i = 1; i < title.size(); ++i)
        title[i] = LowerLatin(title[i]);
    return title;
}

} // namespace trellane
