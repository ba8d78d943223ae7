#include "grid_window.h"

#include <cstdint>

#include "trace.h"

namespace trellane {

namespace {

constexpr DWORD kGridExStyle = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
constexpr UINT kPlaceFlags = SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOOWNERZORDER;

bool IsTopmostWindow(HWND window) {
    return (static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)) & WS_EX_TOPMOST) != 0;
}

} // namespace

WindowBounds VirtualScreenBounds() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return WindowBounds{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                        top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

void GridWindow::ShowBelow(HWND dragged, const GridLook& look) {
    const HWND root = GetAncestor(dragged, GA_ROOT);
    if (!root || !Create()) return;
    if (!(FDrawn && *FDrawn == look) && !Draw(look)) return;
    PlaceBelow(root);
}

// Called on every mouse move of a drag: one question to the system when nothing came between.
void GridWindow::KeepBelow(HWND root) {
    if (!FShown || GetWindow(root, GW_HWNDNEXT) == FWindow.get()) return;
    PlaceBelow(root);
}

void GridWindow::Hide() noexcept {
    if (!FShown) return;
    FShown = false;
    SetWindowPos(FWindow.get(), nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOZORDER | kPlaceFlags);
}

bool GridWindow::Create() {
    if (FWindow) return true;
    static const bool registered = RegisterBoundClass(kClassName);
    if (!registered) return false;
    // Bound to this object (FWindow) as it is made; placed and sized by its picture.
    if (CreateBoundWindow(kGridExStyle, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                          GetModuleHandleW(nullptr)))
        return true;
    LogFailure(L"CreateWindowExW", kClassName);
    return false;
}

// The picture goes to the system once, with the window's place and size. The lines are written
// into the pixels directly: GDI drawing into a 32-bit picture leaves its alpha at 0 (transparent).
// The picture is freed at once, the system keeps its own copy.
bool GridWindow::Draw(const GridLook& look) {
    FDrawn.reset();
    const int width = look.screen.right - look.screen.left;
    const int height = look.screen.bottom - look.screen.top;
    if (width <= 0 || height <= 0 || look.pitch < 1) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down, as DrawGridPixels writes it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const WindowDc screen(nullptr, WindowDc::Area::Client);
    const UniqueMemoryDc memoryDc(CreateCompatibleDC(screen.get()));
    void* bits = nullptr;
    const UniqueBitmap picture(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memoryDc || !picture || !bits) {
        LogFailure(L"CreateDIBSection", kClassName);
        return false;
    }
    DrawGridPixels(static_cast<std::uint32_t*>(bits), look, OpaqueLinePixel(look.color));
    const SelectedObject selected(memoryDc.get(), picture.get());
    POINT origin{look.screen.left, look.screen.top};
    SIZE size{width, height};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (!UpdateLayeredWindow(FWindow.get(), screen.get(), &origin, &size, memoryDc.get(), &source, 0, &blend,
                             ULW_ALPHA)) {
        LogFailure(L"UpdateLayeredWindow", kClassName);
        return false;
    }
    FDrawn = look;
    return true;
}

// Right below the dragged window's top-level window, in its band: a topmost window gets a topmost
// grid, any other a grid among the windows that are not.
void GridWindow::PlaceBelow(HWND root) {
    const HWND grid = FWindow.get();
    const bool topmost = IsTopmostWindow(root);
    if (IsTopmostWindow(grid) != topmost)
        SetWindowPos(grid, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, kPlaceFlags);
    FShown = true;
    if (!SetWindowPos(grid, root, 0, 0, 0, 0, SWP_SHOWWINDOW | kPlaceFlags)) {
        wchar_t subject[24];
        LogFailure(L"SetWindowPos", WindowSubject(root, subject));
    }
}

LRESULT GridWindow::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace trellane
