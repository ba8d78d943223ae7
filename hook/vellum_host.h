// The x64 edition's 32-bit companion, tools\VellumHost32.exe: it loads the 32-bit hook library
// (tools\Vellum32.dll, a name of its own as 64-bit and 32-bit hook libraries must have) so that
// 32-bit programs are hooked in their own processes, and reports to the same main form. What the
// program and the companion say to each other beyond the hook's notifications.
#pragma once

#include <windows.h>

namespace vellum {

// The companion's command line: "<main form's window> <program's process id> <ready event>", all
// decimal; the event is an inherited handle the companion sets once its hook is installed and its
// message queue exists.
constexpr const wchar_t* kHostExeName = L"tools\\VellumHost32.exe";
constexpr const wchar_t* kHostLibraryName = L"Vellum32.dll";

// Posted by the program to the companion's thread: wParam is the right-button truth value.
constexpr UINT WM_HOST_USE_RIGHT_BUTTON = WM_APP + 0x51;
// Posted by the program to the companion's thread when a drag ended without a reported release:
// the companion calls SetGrid again, which clears its library's drag flag.
constexpr UINT WM_HOST_RESET_DRAG = WM_APP + 0x52;

} // namespace vellum
