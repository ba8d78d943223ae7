#pragma once

#include <windows.h>

namespace vellum {

// Runs in every process that receives mouse input while the hook is installed: constant work,
// no allocation, no waiting, nothing but GetAsyncKeyState, PostMessageA and CallNextHookEx.
LRESULT CALLBACK MouseHookProc(int code, WPARAM message, LPARAM info) noexcept;

} // namespace vellum
