// What the main form does with the hook library's notifications: tracking a drag and snapping the
// window to the grid, painting the grid, translucency, folding, and the flash with the topmost toggle.
#include "frmParletU.h"

#include <vector>

#include "color_table.h"
#include "grid.h"
#include "screen_geometry.h"
#include "translucency.h"
#include "visible_frame.h"

namespace trellane {

namespace {

bool ReadWindowRect(HWND window, RECT& rect) {
    return GetWindowRect(window, &rect) != FALSE;
}

WindowBounds BoundsOf(const RECT& rect) {
    return WindowBounds{rect.left, rect.top, rect.right, rect.bottom};
}

std::string FoldNameOf(HWND window) {
    return FoldList::NameOf(static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(window)));
}

HWND WindowOfFoldName(const std::string& name) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(HandleFromName(name)));
}

// Under some systems (Wine among them) invalidating "all windows" does not reach the bare desktop;
// redraw it explicitly, frames and all, so that no grid line stays behind.
void RepaintWholeScreen(BOOL erase) {
    InvalidateRect(nullptr, nullptr, erase);
    RedrawWindow(GetDesktopWindow(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | (erase ? RDW_ERASE : 0u));
}

// The bounding rectangle of all monitors, in screen coordinates.
RECT VirtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// Every line in one call: one call per line costs more than the drawing at small pitches.
void DrawGridLines(HDC dc, const RECT& area, std::int32_t pitch) {
    const GridLineRun columns = GridLinesAcross(area.left, area.right - area.left, pitch);
    const GridLineRun rows = GridLinesAcross(area.top, area.bottom - area.top, pitch);
    std::vector<POINT> ends;
    ends.reserve(2 * static_cast<std::size_t>(columns.count + rows.count));
    for (std::int32_t i = 0; i < columns.count; ++i) {
        const int x = columns.first + i * pitch;
        ends.push_back(POINT{x, area.top});
        ends.push_back(POINT{x, area.bottom});
    }
    for (std::int32_t j = 0; j < rows.count; ++j) {
        const int y = rows.first + j * pitch;
        ends.push_back(POINT{area.left, y});
        ends.push_back(POINT{area.right, y});
    }
    const std::vector<DWORD> pointsPerLine(ends.size() / 2, 2);
    if (!pointsPerLine.empty())
        PolyPolyline(dc, ends.data(), pointsPerLine.data(), static_cast<DWORD>(pointsPerLine.size()));
}

// The window rectangle snapped by the frame the user sees, where the system reports one.
SnapPlacement SnapPlacementFor(HWND window, const RECT& rect, bool resizable, std::int32_t pitch) {
    RECT frame;
    const RECT visible = ReadVisibleFrame(window, frame) ? frame : rect;
    return SnapVisibleFrame(BoundsOf(rect), BoundsOf(visible), resizable, pitch);
}

} // namespace

// ---- Drag tracking and grid snapping -----------------------------------------------------------

void TfrmTrellane::HMDragStart(HWND target) {
    CaptureDragWindow(target);
    // Also for excluded windows: translucency while moving does not depend on the grid.
    if (IsChecked(chkMoveToumei)) SetTranslucency(target, false, true, FToumei);
}

bool TfrmTrellane::IsExcludedClass(const char* className) const {
    const int nameLength = lstrlenA(className);
    for (const std::string& entry : FExcluded) {
        if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, entry.data(), static_cast<int>(entry.size()),
                           className, nameLength) == CSTR_EQUAL)
            return true;
    }
    return false;
}

void TfrmTrellane::CaptureDragWindow(HWND target) {
    RECT rect;
    if (!ReadWindowRect(target, rect)) return;
    char className[256] = {};
    GetClassNameA(target, className, 255);
    if (IsExcludedClass(className)) return;
    FDragActive = true;

    const WindowDc windowDc(target, WindowDc::Area::Whole);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    FSnapshot.reset();
    FSnapshotSize = SIZE{width, height};
    if (!windowDc) return;
    FSnapshot.reset(CreateCompatibleBitmap(windowDc.get(), width, height));
    if (!FSnapshot) return;
    const UniqueMemoryDc memoryDc(CreateCompatibleDC(windowDc.get()));
    if (!memoryDc) return;
    const SelectedObject selected(memoryDc.get(), FSnapshot.get());
    BitBlt(memoryDc.get(), 0, 0, width, height, windowDc.get(), 0, 0, SRCCOPY);
}

void TfrmTrellane::HMMouseMove(HWND target) {
    if (!FDragActive || !IsChecked(chkGraphicLine)) return;
    DrawGridOnScreen(target);
    FGridDrawn = true;
}

void TfrmTrellane::DrawGridOnScreen(HWND target) {
    if (FGridWidth < 1) return;
    // The screen's own device context spans every monitor in screen coordinates, so the grid keeps
    // its origin at the primary screen's corner and reaches monitors left of or above it.
    const WindowDc dc(nullptr, WindowDc::Area::Client);
    if (!dc) return;

    const COLORREF color = ColorToRgb(FGridColor, [](int index) { return GetSysColor(index); });
    const UniquePen pen(CreatePen(PS_SOLID, 1, color));
    {
        const SelectedObject selectedPen(dc.get(), pen.get());
        SetROP2(dc.get(), R2_COPYPEN);
        DrawGridLines(dc.get(), VirtualScreen(), FGridWidth);
    }

    RECT windowRect;
    if (!FSnapshot || !ReadWindowRect(target, windowRect)) return;
    const UniqueMemoryDc memoryDc(CreateCompatibleDC(dc.get()));
    if (!memoryDc) return;
    const SelectedObject selectedBitmap(memoryDc.get(), FSnapshot.get());
    BitBlt(dc.get(), windowRect.left, windowRect.top, FSnapshotSize.cx, FSnapshotSize.cy, memoryDc.get(), 0,
           0, SRCCOPY);
}

std::int32_t TfrmTrellane::SnapToGrid(std::int32_t value) const {
    return trellane::SnapToGrid(value, FGridWidth);
}

void TfrmTrellane::HMDragEnd(HWND target) {
    if (IsChecked(chkMoveToumei)) SetTranslucency(target, false, false, FToumei);
    try {
        RECT rect;
        if (FUseGrid && FDragActive && FGridWidth >= 1 && ReadWindowRect(target, rect)) {
            const auto style = static_cast<DWORD>(GetWindowLongA(target, GWL_STYLE));
            const SnapPlacement placement =
                SnapPlacementFor(target, rect, (style & WS_THICKFRAME) != 0, FGridWidth);
            SetWindowPos(target, nullptr, placement.x, placement.y, placement.cx, placement.cy,
                         placement.flags);
            InvalidateRect(target, nullptr, TRUE);
        }
    } catch (...) {
        // Whatever went wrong, the painted grid is still wiped and the drag still ends below.
    }
    if (FGridDrawn) {
        RepaintWholeScreen(FALSE);
        PostMessageA(nullptr, WM_PAINT, 0, 0);
        FGridDrawn = false;
    }
    FDragActive = false;
}

// ---- Translucency --------------------------------------------------------------------------------

void TfrmTrellane::SetTranslucency(HWND target, bool toggle, bool on, std::int32_t level) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#ifdef _MSC_VER
#pragma warning(suppress : 4996)
#endif
    GetVersionExA(&version);
    if (version.dwMajorVersion < 5) return;

    const auto exStyle = static_cast<DWORD>(GetWindowLongA(target, GWL_EXSTYLE));
    switch (DecideTranslucency(toggle, on, (exStyle & WS_EX_LAYERED) != 0)) {
    case TranslucencyAction::Nothing:
        return;
    case TranslucencyAction::Clear:
        SetWindowLongA(target, GWL_EXSTYLE, static_cast<LONG>(exStyle & ~static_cast<DWORD>(WS_EX_LAYERED)));
        return;
    case TranslucencyAction::SetAndApplyAlpha:
        SetWindowLongA(target, GWL_EXSTYLE, static_cast<LONG>(exStyle | WS_EX_LAYERED));
        if (SetLayeredWindowAttributesPtr)
            SetLayeredWindowAttributesPtr(target, 0, AlphaForLevel(level), LWA_ALPHA);
        return;
    }
}

void TfrmTrellane::HMMClick(HWND target) {
    SetTranslucency(target, true, true, FToumei);
}

// ---- Folding -------------------------------------------------------------------------------------

void TfrmTrellane::HMRClick(HWND target) {
    if (!IsChecked(chkOritatami)) return;
    FoldWindow(target, !FFolded.Contains(FoldNameOf(target)));
}

void TfrmTrellane::FoldWindow(HWND target, bool fold) {
    const std::string name = FoldNameOf(target);
    RECT rect;
    if (fold) {
        FFolded.Remove(name);
        if (!ReadWindowRect(target, rect)) return;
        FFolded.Append(name, rect.bottom - rect.top);
        const int foldedHeight = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
        SetWindowPos(target, nullptr, rect.left, rect.top, rect.right - rect.left, foldedHeight,
                     SWP_NOZORDER);
        // Closing a folded window would lose the height it is to get back.
        RemoveMenu(GetSystemMenu(target, FALSE), SC_CLOSE, MF_BYCOMMAND);
        InvalidateRect(nullptr, nullptr, TRUE);
        PostMessageA(nullptr, WM_PAINT, 0, 0);
        return;
    }
    const std::optional<std::string> value = FFolded.ValueOf(name);
    if (!value) return;
    if (!ReadWindowRect(target, rect)) return;
    const std::int32_t height = HeightFromValue(*value);
    SetWindowPos(target, nullptr, rect.left, rect.top, rect.right - rect.left, height, SWP_NOZORDER);
    FFolded.Remove(name);
    GetSystemMenu(target, TRUE);
    InvalidateRect(nullptr, nullptr, TRUE);
    PostMessageA(target, WM_PAINT, 0, 0);
}

HWND TfrmTrellane::UnfoldOldest() {
    const std::string name = FFolded.FirstName();
    const HWND target = WindowOfFoldName(name);
    FoldWindow(target, false);
    // A window that has gone away, or a name that is no handle, leaves its entry behind.
    if (FFolded.Contains(name)) FFolded.Remove(name);
    return target;
}

void TfrmTrellane::popMacFreeClick() noexcept {
    try {
        while (!FFolded.Empty())
            UnfoldOldest();
    } catch (...) {
        // Out of memory while restoring: nothing more can be done for the remaining windows.
    }
}

void TfrmTrellane::popMacFreeCloseClick() {
    while (!FFolded.Empty())
        PostMessageA(UnfoldOldest(), WM_CLOSE, 0, 0);
}

// ---- Attention flash and topmost toggle -----------------------------------------------------------

void TfrmTrellane::HMShiftRClick(HWND target) {
    FlashWindow(target, TRUE);
    Sleep(50);
    FlashWindow(target, FALSE);
    FlashWindow(target, TRUE);
    Sleep(50);
    FlashWindow(target, FALSE);
    FlashWindow(target, TRUE);
    const auto exStyle = static_cast<DWORD>(GetWindowLongA(target, GWL_EXSTYLE));
    const HWND order = (exStyle & WS_EX_TOPMOST) ? HWND_NOTOPMOST : HWND_TOPMOST;
    SetWindowPos(target, order, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TfrmTrellane::HMRDblClk(HWND target) {
    HMShiftRClick(target);
}

} // namespace trellane
