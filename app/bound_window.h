// A window whose messages go to a member function of the object that made it. The object passes
// itself when it creates the window; the procedure binds the window to it at WM_NCCREATE, before
// anything else is handled, and unbinds it once WM_NCDESTROY has been handled, so that no later
// message reaches an object that may be gone. Nothing a handler throws escapes into the system's
// dispatcher: it is logged, and the message has no effect.
#pragma once

#include <windows.h>

#include "trace.h"

namespace trellane {

class BoundWindow {
public:
    BoundWindow(const BoundWindow&) = delete;
    BoundWindow& operator=(const BoundWindow&) = delete;

protected:
    // `procedureName` is what the log names when a handler throws.
    explicit BoundWindow(const wchar_t* procedureName) noexcept : FProcedureName(procedureName) {}
    ~BoundWindow() = default;

    // The procedure to register for the window's class.
    static LRESULT CALLBACK BoundWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    // Registers a class whose procedure is BoundWndProc, once: a class already there counts as done.
    static bool RegisterBoundClass(const wchar_t* className) noexcept {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = BoundWndProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = className;
        if (RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS) return true;
        LogFailure(L"RegisterClassExW", className);
        return false;
    }

    // CreateWindowExW for a class registered with BoundWndProc, the window bound to this object.
    HWND CreateBoundWindow(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x,
                           int y, int width, int height, HWND parent, HINSTANCE instance) noexcept {
        return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, nullptr,
                               instance, this);
    }

    // WM_NCCREATE has arrived: the object takes the window over, before any message is handled.
    virtual void WindowBound(HWND window) noexcept = 0;
    // Every message from WM_NCCREATE to WM_NCDESTROY, both included.
    virtual LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // WM_NCDESTROY has been handled: the system has destroyed the window; the object lets it go.
    virtual void WindowUnbound() noexcept = 0;

private:
    const wchar_t* FProcedureName;
};

inline LRESULT CALLBACK BoundWindow::BoundWndProc(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam) noexcept {
    BoundWindow* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<BoundWindow*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self) {
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->WindowBound(window);
        }
    } else {
        self = reinterpret_cast<BoundWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = self->WndProc(window, message, wParam, lParam);
    } catch (...) {
        wchar_t subject[24];
        LogFailure(self->FProcedureName, WindowSubject(window, subject), message);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->WindowUnbound();
    }
    return result;
}

} // namespace trellane
