#include "window_calls.h"

#include "command_target.h"
#include "drag_rules.h"
#include "exclusion_list.h"
#include "raii.h"
#include "screen_geometry.h"
#include "system_function.h"
#include "trace.h"
#include "visible_frame.h"

namespace trellane {

namespace {

// IsWindowArranged is missing before Windows 10; elsewhere the placement tells.
using IsWindowArrangedProc = BOOL(WINAPI*)(HWND);
const IsWindowArrangedProc IsWindowArrangedPtr =
    SystemFunction<IsWindowArrangedProc>(L"User32.dll", "IsWindowArranged");

bool IsOwnThreads(HWND window) {
    return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

} // namespace

bool ReadWindowRect(HWND window, RECT& rect) {
    return GetWindowRect(window, &rect) != FALSE;
}

WindowBounds BoundsOf(const RECT& rect) {
    return WindowBounds{rect.left, rect.top, rect.right, rect.bottom};
}

// False when the attributes cannot be read: a window drawn with per-pixel alpha, or a system that
// does not tell for another program's window.
bool ReadLayeredAttributes(HWND window, LayeredState& state) {
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(window, &key, &alpha, &flags)) return false;
    state.colorKey = key;
    state.alpha = alpha;
    state.flags = flags;
    return true;
}

// Whether the system arranged the window at the drop (docked to an edge, laid out in a zone): such a
// window keeps the place the user asked the system for.
bool IsArranged(HWND window) {
    if (IsWindowArrangedPtr) return IsWindowArrangedPtr(window) != FALSE;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    RECT rect;
    if (!GetWindowPlacement(window, &placement) || !ReadWindowRect(window, rect)) return false;
    ArrangedCheck check;
    check.normal = BoundsOf(placement.rcNormalPosition);
    check.onScreen = BoundsOf(rect);
    check.inWorkspace = check.onScreen;
    check.inParent = check.onScreen;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        RECT workspace = rect;
        OffsetRect(&workspace, monitor.rcMonitor.left - monitor.rcWork.left,
                   monitor.rcMonitor.top - monitor.rcWork.top);
        check.inWorkspace = BoundsOf(workspace);
    }
    if (static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & WS_CHILD) {
        RECT inParent = rect;
        MapWindowPoints(nullptr, GetAncestor(window, GA_PARENT), reinterpret_cast<POINT*>(&inParent), 2);
        check.inParent = BoundsOf(inParent);
    }
    check.maximized = IsZoomed(window) != FALSE;
    check.minimized = IsIconic(window) != FALSE;
    return LooksArranged(check);
}

// The SetWindowPos flag that only asks another thread's window to change; this thread's own
// windows change at once.
UINT WaitingFlags(HWND window) {
    return IsOwnThreads(window) ? 0 : SWP_ASYNCWINDOWPOS;
}

// Changing a window's extended style sends it messages and waits for the answers: a window whose
// program does not answer is left as it is.
bool AnswersMessages(HWND window, const wchar_t* call) {
    if (IsOwnThreads(window) || !IsHungAppWindow(window)) return true;
    wchar_t subject[24];
    LogFailure(call, WindowSubject(window, subject), ERROR_TIMEOUT);
    return false;
}

// SetWindowPos with a placement worked out on the screen: a child window (an MDI document) is
// positioned in its parent's client coordinates.
void PlaceWindow(HWND window, SnapPlacement placement) {
    POINT origin{0, 0};
    if (static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & WS_CHILD) {
        const HWND parent = GetAncestor(window, GA_PARENT);
        if (parent) ClientToScreen(parent, &origin);
    }
    placement = PlacementInParent(placement, origin.x, origin.y);
    SetWindowPos(window, nullptr, placement.x, placement.y, placement.cx, placement.cy,
                 placement.flags | WaitingFlags(window));
}

bool IsOwnProcess(HWND window) {
    DWORD process = 0;
    return GetWindowThreadProcessId(window, &process) != 0 && process == GetCurrentProcessId();
}

std::wstring ProgramOf(HWND window) {
    char className[256] = {};
    GetClassNameA(window, className, 255);
    HWND drawing = window;
    if (DrawnByAppInside(className)) {
        const HWND core = FindWindowExW(window, nullptr, kAppCoreWindowClass.data(), nullptr);
        if (core) drawing = core;
    }
    DWORD processId = 0;
    if (!GetWindowThreadProcessId(drawing, &processId)) return {};
    const UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    wchar_t subject[24];
    if (!process) {
        LogFailure(L"OpenProcess", WindowSubject(drawing, subject));
        return {};
    }
    wchar_t path[MAX_PATH * 2] = {};
    DWORD length = MAX_PATH * 2;
    if (!QueryFullProcessImageNameW(process.get(), 0, path, &length)) {
        LogFailure(L"QueryFullProcessImageNameW", WindowSubject(drawing, subject));
        return {};
    }
    return FileNameOfPath(std::wstring_view(path, length));
}

// The window rectangle snapped by the frame the user sees, where the system reports one; a child
// window (an MDI document) has no invisible borders.
SnapPlacement SnapPlacementFor(HWND window, const RECT& rect, bool resizable, std::int32_t pitch) {
    const bool child = (static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & WS_CHILD) != 0;
    RECT frame;
    const RECT visible = !child && ReadVisibleFrame(window, frame) ? frame : rect;
    return SnapVisibleFrame(BoundsOf(rect), BoundsOf(visible), resizable, pitch);
}

HWND CommandTarget(HWND reported) {
    const HWND root = GetAncestor(reported, GA_ROOT);
    if (!root) return reported;
    std::vector<HWND> chain;
    std::vector<std::uint32_t> styles;
    for (HWND window = reported; window; window = GetAncestor(window, GA_PARENT)) {
        chain.push_back(window);
        styles.push_back(static_cast<std::uint32_t>(GetWindowLongA(window, GWL_STYLE)));
        if (window == root) break;
    }
    return chain[CommandTargetIndex(styles)];
}

} // namespace trellane
