// target_windows.exe: plain windows of another program for the window-manipulation tests.
//
// It answers the queries of target_windows.h.
//
//   target_windows.exe <class>:<resizable|fixed>:<left>:<top>:<width>:<height> [...]
//
// Each argument makes one top-level window of its own class, captioned like the class, at the given
// place. The windows answer every message in the ordinary way; the program ends when the last one
// is closed.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>
#include <vector>

#include "target_windows.h"

namespace {

using targetwindows::kQueryAlpha;
using targetwindows::kQueryCloseCommand;

int g_openWindows = 0;

LRESULT CALLBACK TargetWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        // A solid, known colour, so that screen reads can tell the window from the grid.
        const HBRUSH brush = CreateSolidBrush(RGB(40, 90, 160));
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return 0;
    }
    case kQueryCloseCommand:
        // Menus belong to their process, so the test asks the window itself whether its system menu
        // still has Close.
        return GetMenuState(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND) != static_cast<UINT>(-1)
                   ? 1
                   : 0;
    case kQueryAlpha: {
        // 0x100 | alpha while the window is layered with an opacity, else 0.
        BYTE alpha = 0;
        DWORD flags = 0;
        if (!GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA)) return 0;
        return 0x100 | alpha;
    }
    case WM_DESTROY:
        if (--g_openWindows == 0) PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::wstring::npos) return parts;
        start = end + 1;
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; arguments && i < count; ++i) {
        const auto fields = Split(arguments[i], L':');
        if (fields.size() != 6) continue;
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = TargetWndProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = fields[0].c_str();
        RegisterClassExW(&windowClass);
        const DWORD style = fields[1] == L"resizable"
                                ? WS_OVERLAPPEDWINDOW
                                : (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
        const HWND window = CreateWindowExW(
            0, fields[0].c_str(), fields[0].c_str(), style, std::wcstol(fields[2].c_str(), nullptr, 10),
            std::wcstol(fields[3].c_str(), nullptr, 10), std::wcstol(fields[4].c_str(), nullptr, 10),
            std::wcstol(fields[5].c_str(), nullptr, 10), nullptr, nullptr, instance, nullptr);
        if (!window) continue;
        ++g_openWindows;
        ShowWindow(window, SW_SHOWNORMAL);
        UpdateWindow(window);
    }
    LocalFree(arguments);
    if (g_openWindows == 0) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
