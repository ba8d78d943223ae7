#include "shell_rules.h"

namespace trellane {

namespace {

// Where the file name begins: just after the last folder or drive separator.
std::size_t FileNameStart(std::wstring_view path) {
    const std::size_t separator = path.find_last_of(L"\\:");
    return separator == std::wstring_view::npos ? 0 : separator + 1;
}

} // namespace

std::wstring ExeDirectoryOf(std::wstring_view exePath) {
    return std::wstring(exePath.substr(0, FileNameStart(exePath)));
}

std::wstring WithTrailingBackslash(std::wstring_view path) {
    std::wstring result(path);
    if (result.empty() || result.back() != L'\\') result.push_back(L'\\');
    return result;
}

bool WinExecSucceeded(std::int32_t result) {
    return result > 31;
}

int ShowCommandFor(LinkShow show) {
    switch (show) {
    case LinkShow::Normal:
        return 1; // SW_SHOWNORMAL
    case LinkShow::Minimized:
        return 6; // SW_MINIMIZE: the program starts minimised and not active
    case LinkShow::Maximized:
        return 3; // SW_SHOWMAXIMIZED
    }
    return 1;
}

std::wstring SettingsPathFor(std::wstring_view exePath) {
    const std::size_t nameStart = FileNameStart(exePath);
    const std::size_t dot = exePath.find_last_of(L'.');
    // A dot inside a folder name is not an extension.
    const std::size_t stemEnd = (dot == std::wstring_view::npos || dot < nameStart) ? exePath.size() : dot;
    return std::wstring(exePath.substr(0, stemEnd)) + L".ini";
}

} // namespace trellane
