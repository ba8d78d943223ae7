#include "visible_frame.h"

#include "system_function.h"

namespace trellane {

namespace {

// The attribute's number as the desktop window manager defines it; its header is not needed for a
// function found at run time.
constexpr DWORD kExtendedFrameBounds = 9;

using DwmGetWindowAttributeProc = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);

} // namespace

bool ReadVisibleFrame(HWND window, RECT& frame) noexcept {
    // Missing on systems before Vista.
    static const auto getAttribute =
        SystemFunction<DwmGetWindowAttributeProc>(L"dwmapi.dll", "DwmGetWindowAttribute");
    if (!getAttribute) return false;
    RECT bounds{};
    if (FAILED(getAttribute(window, kExtendedFrameBounds, &bounds, sizeof bounds))) return false;
    if (IsRectEmpty(&bounds)) return false;
    frame = bounds;
    return true;
}

} // namespace trellane
