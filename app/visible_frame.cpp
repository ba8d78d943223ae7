#include "visible_frame.h"

#include "system_function.h"

namespace trellane {

namespace {

// The attribute's number as the desktop window manager defines it; its header is not needed for a
// function found at run time.
constexpr DWORD kExtendedFrameBounds = 9;
constexpr DWORD kCloaked = 14;

using DwmGetWindowAttributeProc = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);

DwmGetWindowAttributeProc GetAttribute() noexcept {
    // Missing on systems before Vista.
    static const auto getAttribute =
        SystemFunction<DwmGetWindowAttributeProc>(L"dwmapi.dll", "DwmGetWindowAttribute");
    return getAttribute;
}

} // namespace

bool ReadVisibleFrame(HWND window, RECT& frame) noexcept {
    const auto getAttribute = GetAttribute();
    if (!getAttribute) return false;
    RECT bounds{};
    if (FAILED(getAttribute(window, kExtendedFrameBounds, &bounds, sizeof bounds))) return false;
    if (IsRectEmpty(&bounds)) return false;
    frame = bounds;
    return true;
}

bool ReadCloaked(HWND window) noexcept {
    const auto getAttribute = GetAttribute();
    DWORD cloaked = 0;
    return getAttribute && SUCCEEDED(getAttribute(window, kCloaked, &cloaked, sizeof cloaked)) &&
           cloaked != 0;
}

} // namespace trellane
