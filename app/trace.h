// Failures that the program deliberately carries on after still leave one line in the debugger
// output (a debug-output viewer on Windows; under Wine WINEDEBUG=+debugstr, or warn+seh in Wine 8),
// so that a report of "nothing happened" can be traced without a debugger attached.
#pragma once

#include <string_view>

namespace trellane {

// "Trellane: <call> failed (<subject>), error <code>"; subject names the window or file concerned.
// This form takes the thread's last-error value, so call it right after the failed call.
void LogFailure(const wchar_t* call, std::wstring_view subject) noexcept;
// The same with a result code of the call's own (a display-change result, an HRESULT).
void LogFailure(const wchar_t* call, std::wstring_view subject, unsigned long code) noexcept;

// The subject text for a window: its handle in hexadecimal.
std::wstring_view WindowSubject(const void* window, wchar_t (&buffer)[24]) noexcept;

} // namespace trellane
