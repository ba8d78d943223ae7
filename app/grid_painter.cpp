#include "grid_painter.h"

#include <vector>

#include "raii.h"
#include "trace.h"

namespace trellane {
namespace {

// The bounding rectangle of all monitors, in screen coordinates.
WindowBounds VirtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return WindowBounds{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                        top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// Every line in one call: one call per line costs more than the drawing at small pitches.
void DrawGridLines(HDC dc, const GridPatch& patch, std::int32_t pitch) {
    const WindowBounds& area = patch.area;
    std::vector<POINT> ends;
    ends.reserve(2 * static_cast<std::size_t>(patch.columns.count + patch.rows.count));
    for (std::int32_t i = 0; i < patch.columns.count; ++i) {
        const int x = patch.columns.first + i * pitch;
        ends.push_back(POINT{x, area.top});
        ends.push_back(POINT{x, area.bottom});
    }
    for (std::int32_t j = 0; j < patch.rows.count; ++j) {
        const int y = patch.rows.first + j * pitch;
        ends.push_back(POINT{area.left, y});
        ends.push_back(POINT{area.right, y});
    }
    const std::vector<DWORD> pointsPerLine(ends.size() / 2, 2);
    if (!pointsPerLine.empty())
        PolyPolyline(dc, ends.data(), pointsPerLine.data(), static_cast<DWORD>(pointsPerLine.size()));
}

} // namespace

void GridPainter::Paint(HWND target, HBITMAP image, SIZE imageSize, std::int32_t pitch, COLORREF color) {
    if (pitch < 1) return;
    const HWND desktop = GetDesktopWindow();
    if (!desktop) return;
    RECT desktopRect{};
    GetWindowRect(desktop, &desktopRect);
    // The desktop window spans every monitor. Its device context counts from the desktop's corner;
    // moved to count in screen coordinates, the grid keeps its origin at the primary screen's corner
    // and reaches monitors left of or above it.
    const WindowDc dc(desktop, WindowDc::Area::Whole);
    if (!dc) {
        LogFailure(L"GetWindowDC", L"desktop");
        return;
    }
    SetViewportOrgEx(dc.get(), -desktopRect.left, -desktopRect.top, nullptr);

    RECT windowRect;
    std::optional<WindowBounds> window;
    if (GetWindowRect(target, &windowRect))
        window = WindowBounds{windowRect.left, windowRect.top, windowRect.right, windowRect.bottom};
    std::optional<WindowBounds> imageBounds;
    if (image && window)
        imageBounds =
            WindowBounds{window->left, window->top, window->left + imageSize.cx, window->top + imageSize.cy};
    const WindowBounds screen = VirtualScreen();
    const GridRedraw redraw = FTrail.Next(imageBounds, window, GridLook{pitch, color, screen});
    {
        const UniquePen pen(CreatePen(PS_SOLID, 1, color));
        const SelectedObject selectedPen(dc.get(), pen.get());
        SetROP2(dc.get(), R2_COPYPEN);
        // The image covers its place right after; lines drawn there first would only flicker.
        if (imageBounds)
            ExcludeClipRect(dc.get(), imageBounds->left, imageBounds->top, imageBounds->right,
                            imageBounds->bottom);
        if (redraw.wholeScreen) DrawGridLines(dc.get(), GridInside(screen, pitch), pitch);
        for (std::int32_t i = 0; i < redraw.areaCount; ++i)
            DrawGridLines(dc.get(), GridInside(redraw.areas[static_cast<std::size_t>(i)], pitch), pitch);
        SelectClipRgn(dc.get(), nullptr);
    }

    if (!imageBounds) return;
    const UniqueMemoryDc memoryDc(CreateCompatibleDC(dc.get()));
    if (!memoryDc) {
        LogFailure(L"CreateCompatibleDC", L"window image");
        return;
    }
    const SelectedObject selectedBitmap(memoryDc.get(), image);
    BitBlt(dc.get(), imageBounds->left, imageBounds->top, imageSize.cx, imageSize.cy, memoryDc.get(), 0, 0,
           SRCCOPY);
}

} // namespace trellane
