#include "fold_record.h"

#include "system_function.h"
#include "trace.h"
#include "window_property.h"

namespace trellane {

namespace {

ATOM HeightAtom() noexcept {
    static const ATOM atom = RecordAtom(L"jp.trellane.Trellane.FoldedFrom");
    return atom;
}
ATOM FoldedAtom() noexcept {
    static const ATOM atom = RecordAtom(L"jp.trellane.Trellane.FoldedTo");
    return atom;
}
ATOM StateAtom() noexcept {
    static const ATOM atom = RecordAtom(L"jp.trellane.Trellane.FoldedAt");
    return atom;
}

using GetDpiForWindowProc = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiProc = int(WINAPI*)(int, UINT);
using GetDpiForMonitorProc = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using AdjustWindowRectExForDpiProc = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
constexpr int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI

const auto DpiForWindow = SystemFunction<GetDpiForWindowProc>(L"User32.dll", "GetDpiForWindow");
const auto MetricsForDpi =
    SystemFunction<GetSystemMetricsForDpiProc>(L"User32.dll", "GetSystemMetricsForDpi");
const auto AdjustForDpi =
    SystemFunction<AdjustWindowRectExForDpiProc>(L"User32.dll", "AdjustWindowRectExForDpi");

// The scale the window is drawn at; 0 where the system has no per-window scales.
UINT WindowDpi(HWND window) noexcept {
    return DpiForWindow && MetricsForDpi ? DpiForWindow(window) : 0;
}

// A system metric (or the sum of two) at the window's own scale, in the window's pixels.
std::int32_t MetricAtScale(UINT windowDpi, int first, int second) noexcept {
    const auto metric = [windowDpi](int index) {
        return windowDpi ? MetricsForDpi(index, windowDpi) : GetSystemMetrics(index);
    };
    return metric(first) + (second < 0 ? 0 : metric(second));
}

// A height at the window's own scale in the pixels of its monitor.
std::int32_t OnScreen(HWND window, UINT windowDpi, std::int32_t atWindowScale) noexcept {
    static const auto dpiForMonitor = SystemFunction<GetDpiForMonitorProc>(L"Shcore.dll", "GetDpiForMonitor");
    if (!windowDpi) return atWindowScale;
    UINT monitorDpi = 0;
    UINT unused = 0;
    if (!dpiForMonitor || FAILED(dpiForMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST),
                                               kEffectiveDpi, &monitorDpi, &unused)))
        monitorDpi = 0;
    return FoldedHeightOnScreen(atWindowScale, windowDpi, monitorDpi);
}

} // namespace

bool KeepFoldRecord(HWND window, std::int32_t height, std::int32_t folded, std::uint32_t dpi,
                    bool seen) noexcept {
    if (SetPropertyValue(window, HeightAtom(), static_cast<std::uint32_t>(height)) &&
        SetPropertyValue(window, FoldedAtom(), static_cast<std::uint32_t>(folded)) &&
        SetPropertyValue(window, StateAtom(), static_cast<std::uint32_t>(FoldStateValue(dpi, seen))))
        return true;
    wchar_t subject[24];
    LogFailure(L"SetPropW", WindowSubject(window, subject));
    DropFoldRecord(window);
    return false;
}

void DropFoldRecord(HWND window) noexcept {
    for (const ATOM atom : {HeightAtom(), FoldedAtom(), StateAtom()})
        RemoveProperty(window, atom);
}

KeptFold ReadFoldRecord(HWND window) noexcept {
    return KeptFold{PropertyValue(window, HeightAtom()), PropertyValue(window, FoldedAtom()),
                    PropertyValue(window, StateAtom())};
}

std::vector<HWND> WindowsWithFoldRecords() {
    return WindowsWithProperty({HeightAtom(), FoldedAtom(), StateAtom()});
}

std::int32_t FoldedHeightOf(HWND window) noexcept {
    const UINT dpi = WindowDpi(window);
    // Scroll bars belong to the client area, and a menu bar lies below the caption.
    const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & ~(WS_VSCROLL | WS_HSCROLL);
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    RECT frame{0, 0, 0, 0};
    const BOOL adjusted = dpi && AdjustForDpi ? AdjustForDpi(&frame, style, FALSE, exStyle, dpi)
                                              : AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    if (!adjusted) {
        wchar_t subject[24];
        LogFailure(L"AdjustWindowRectEx", WindowSubject(window, subject));
        frame = RECT{0, 0, 0, 0};
    }
    // The least band is an ordinary caption of the window's kind: a tool window's caption is small.
    const int caption = (exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION;
    const std::int32_t band = CaptionBand(frame.top, frame.bottom, MetricAtScale(dpi, caption, SM_CYFRAME));
    return OnScreen(window, dpi, band);
}

std::int32_t MinTrackHeightOf(HWND window) noexcept {
    const UINT dpi = WindowDpi(window);
    return OnScreen(window, dpi, MetricAtScale(dpi, SM_CYMINTRACK, -1));
}

std::uint32_t DpiOf(HWND window) noexcept {
    return DpiForWindow ? DpiForWindow(window) : 0;
}

} // namespace trellane
