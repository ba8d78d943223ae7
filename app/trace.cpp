#include "trace.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <iterator>

namespace trellane {

void LogFailure(const wchar_t* call, std::wstring_view subject) noexcept {
    LogFailure(call, subject, GetLastError());
}

void LogFailure(const wchar_t* call, std::wstring_view subject, unsigned long code) noexcept {
    // A fixed buffer: this runs on failure paths, where allocating could fail too.
    wchar_t line[640] = {};
    const int subjectLength = static_cast<int>(std::min<std::size_t>(subject.size(), 512));
    std::swprintf(line, std::size(line), L"Trellane: %ls failed (%.*ls), error %lu\n", call, subjectLength,
                  subject.data(), code);
    OutputDebugStringW(line);
}

std::wstring_view WindowSubject(const void* window, wchar_t (&buffer)[24]) noexcept {
    const int length = std::swprintf(buffer, std::size(buffer), L"window %p", window);
    return std::wstring_view(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

} // namespace trellane
