#include "fold_record.h"

#include "system_function.h"
#include "trace.h"

namespace trellane {

namespace {

// Registered once and never deleted, so the names stay the same atoms for as long as any window
// carries them: a property set by atom adds no reference per window, so no window that closes
// without its record removed leaks one.
ATOM RecordAtom(const wchar_t* name) noexcept {
    const ATOM atom = GlobalAddAtomW(name);
    if (!atom) LogFailure(L"GlobalAddAtomW", name);
    return atom;
}
ATOM HeightAtom() noexcept {
    static const ATOM atom = RecordAtom(L"jp.trellane.Trellane.FoldedFrom");
    return atom;
}
ATOM FoldedAtom() noexcept {
    static const ATOM atom = RecordAtom(L"jp.trellane.Trellane.FoldedTo");
    return atom;
}

HANDLE AsPropertyValue(std::int32_t value) noexcept {
    return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(value));
}

std::uint64_t PropertyValue(HWND window, ATOM atom) noexcept {
    if (!atom) return 0;
    return static_cast<std::uint64_t>(reinterpret_cast<UINT_PTR>(GetPropW(window, MAKEINTATOM(atom))));
}

using GetDpiForWindowProc = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiProc = int(WINAPI*)(int, UINT);
using GetDpiForMonitorProc = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI

// A system metric of the window's own scale, in the pixels of its monitor.
std::int32_t MetricOnScreen(HWND window, int first, int second) noexcept {
    static const auto dpiForWindow = SystemFunction<GetDpiForWindowProc>(L"User32.dll", "GetDpiForWindow");
    static const auto metricsForDpi =
        SystemFunction<GetSystemMetricsForDpiProc>(L"User32.dll", "GetSystemMetricsForDpi");
    static const auto dpiForMonitor = SystemFunction<GetDpiForMonitorProc>(L"Shcore.dll", "GetDpiForMonitor");
    const auto plain = [&] { return GetSystemMetrics(first) + (second < 0 ? 0 : GetSystemMetrics(second)); };
    if (!dpiForWindow || !metricsForDpi) return plain();
    const UINT windowDpi = dpiForWindow(window);
    if (windowDpi == 0) return plain();
    const std::int32_t atWindowScale =
        metricsForDpi(first, windowDpi) + (second < 0 ? 0 : metricsForDpi(second, windowDpi));
    UINT monitorDpi = 0;
    UINT unused = 0;
    if (!dpiForMonitor || FAILED(dpiForMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST),
                                               kEffectiveDpi, &monitorDpi, &unused)))
        monitorDpi = 0;
    return FoldedHeightOnScreen(atWindowScale, windowDpi, monitorDpi);
}

BOOL CALLBACK CollectRecorded(HWND window, LPARAM found) noexcept {
    if (PropertyValue(window, HeightAtom()) != 0 || PropertyValue(window, FoldedAtom()) != 0) {
        try {
            reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
        } catch (...) {
            return FALSE;
        }
    }
    return TRUE;
}

} // namespace

bool KeepFoldRecord(HWND window, std::int32_t height, std::int32_t folded) noexcept {
    if (!HeightAtom() || !FoldedAtom()) return false;
    if (SetPropW(window, MAKEINTATOM(HeightAtom()), AsPropertyValue(height)) &&
        SetPropW(window, MAKEINTATOM(FoldedAtom()), AsPropertyValue(folded)))
        return true;
    wchar_t subject[24];
    LogFailure(L"SetPropW", WindowSubject(window, subject));
    DropFoldRecord(window);
    return false;
}

void DropFoldRecord(HWND window) noexcept {
    if (HeightAtom()) RemovePropW(window, MAKEINTATOM(HeightAtom()));
    if (FoldedAtom()) RemovePropW(window, MAKEINTATOM(FoldedAtom()));
}

KeptFold ReadFoldRecord(HWND window) noexcept {
    return KeptFold{PropertyValue(window, HeightAtom()), PropertyValue(window, FoldedAtom())};
}

std::vector<HWND> WindowsWithFoldRecords() {
    std::vector<HWND> found;
    // From the desktop window, every top-level window and every window inside one (MDI documents).
    EnumChildWindows(GetDesktopWindow(), CollectRecorded, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::int32_t FoldedHeightOf(HWND window) noexcept {
    return MetricOnScreen(window, SM_CYCAPTION, SM_CYFRAME);
}

std::int32_t MinTrackHeightOf(HWND window) noexcept {
    return MetricOnScreen(window, SM_CYMINTRACK, -1);
}

} // namespace trellane
