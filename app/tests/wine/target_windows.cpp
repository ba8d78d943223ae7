// target_windows.exe: plain windows of another program for the window-manipulation tests.
//
// It answers the queries of target_windows.h, and stops answering when told to.
//
//   target_windows.exe <class>:<kind>:<left>:<top>:<width>:<height> [...] [endsession=<file>]
//
// Each layout makes one top-level window of its own class, captioned like the class, at the given
// place. Kinds: resizable, fixed (no sizing border), layered (resizable, layered by this program
// with alpha 200), maximized (resizable, shown maximized), listbox (resizable, holding a list box
// with a vertical scroll bar at (10,10)-(130,160) of its client area), least200 (resizable, never
// less than 200 pixels high: it answers WM_GETMINMAXINFO so), dialog (a popup with a caption and a
// dialog frame), tool (a popup with a tool window's small caption) and hangsatdrop (resizable; at the
// end of each move or resize it sets kNotAnsweringEvent, if the test created it, and answers nothing
// for 3 seconds, as a program that hangs there). The windows answer every
// message in the ordinary way; the program ends when the last one is closed. With endsession=,
// each window appends "<class> <left> <top> <right> <bottom>" to that file when the session is
// about to end, as a program that saves its window sizes would read them.
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
std::wstring g_sessionLog;

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
    case WM_GETMINMAXINFO:
        // The window's user data is the least height it holds itself at, if any.
        if (const LONG_PTR least = GetWindowLongPtrW(window, GWLP_USERDATA))
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.y = static_cast<LONG>(least);
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_EXITSIZEMOVE:
        if (GetPropW(window, L"HangsAtDrop")) {
            const HANDLE hanging = OpenEventW(EVENT_MODIFY_STATE, FALSE, targetwindows::kNotAnsweringEvent);
            if (hanging) {
                SetEvent(hanging);
                CloseHandle(hanging);
            }
            Sleep(3000);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    case kQueryCloseCommand:
        // Menus belong to their process, so the test asks the window itself whether its system menu
        // still has Close.
        return GetMenuState(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND) != static_cast<UINT>(-1)
                   ? 1
                   : 0;
    case WM_QUERYENDSESSION: {
        if (!g_sessionLog.empty()) {
            char className[64] = {};
            GetClassNameA(window, className, 64);
            RECT rect{};
            GetWindowRect(window, &rect);
            const std::string line = std::string(className) + " " + std::to_string(rect.left) + " " +
                                     std::to_string(rect.top) + " " + std::to_string(rect.right) + " " +
                                     std::to_string(rect.bottom) + "\r\n";
            const HANDLE file = CreateFileW(g_sessionLog.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            DWORD written = 0;
            if (file != INVALID_HANDLE_VALUE) {
                WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
                CloseHandle(file);
            }
        }
        return TRUE;
    }
    case kQueryAlpha: {
        // 0x100 | alpha while the window is layered with an opacity, else 0.
        BYTE alpha = 0;
        DWORD flags = 0;
        if (!GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA)) return 0;
        return 0x100 | alpha;
    }
    case targetwindows::kStopAnswering: {
        const HANDLE stopped = OpenEventW(EVENT_MODIFY_STATE, FALSE, targetwindows::kNotAnsweringEvent);
        const HANDLE answerAgain = OpenEventW(SYNCHRONIZE, FALSE, targetwindows::kAnswerAgainEvent);
        if (stopped) SetEvent(stopped);
        if (answerAgain) WaitForSingleObject(answerAgain, 60000);
        if (stopped) CloseHandle(stopped);
        if (answerAgain) CloseHandle(answerAgain);
        return 0;
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
        const std::wstring argument = arguments[i];
        if (argument.rfind(L"endsession=", 0) == 0) g_sessionLog = argument.substr(11);
    }
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
        const std::wstring& kind = fields[1];
        // Popups, so that the system's least height for an overlapped window does not hide the band.
        const bool popup = kind == L"dialog" || kind == L"tool";
        const DWORD style = kind == L"fixed" ? (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX)
                            : popup          ? WS_POPUP | WS_CAPTION | WS_SYSMENU
                                             : WS_OVERLAPPEDWINDOW;
        const DWORD exStyle = kind == L"layered" ? WS_EX_LAYERED
                              : kind == L"tool"  ? WS_EX_TOOLWINDOW
                                                 : (kind == L"dialog" ? WS_EX_DLGMODALFRAME : 0);
        const HWND window = CreateWindowExW(
            exStyle, fields[0].c_str(), fields[0].c_str(), style, std::wcstol(fields[2].c_str(), nullptr, 10),
            std::wcstol(fields[3].c_str(), nullptr, 10), std::wcstol(fields[4].c_str(), nullptr, 10),
            std::wcstol(fields[5].c_str(), nullptr, 10), nullptr, nullptr, instance, nullptr);
        if (!window) continue;
        ++g_openWindows;
        if (kind == L"least200") SetWindowLongPtrW(window, GWLP_USERDATA, 200);
        if (kind == L"hangsatdrop") SetPropW(window, L"HangsAtDrop", window);
        // This program's own look, which nobody else may take away.
        if (kind == L"layered") SetLayeredWindowAttributes(window, 0, 200, LWA_ALPHA);
        if (kind == L"listbox") {
            const HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr,
                                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 10,
                                              10, 120, 150, window, nullptr, instance, nullptr);
            for (int item = 0; item < 60; ++item)
                SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(item).c_str()));
        }
        ShowWindow(window, kind == L"maximized" ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
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
