// The grid shown while a window is dragged: one window of this program over the whole virtual
// screen, right below the dragged window in the z-order, showing nothing but the lines. It is a
// layered window with per-pixel alpha whose picture the system keeps, so it never paints (it stays
// right while an outline drag locks the screen for drawing), and it lets every click through and
// is never activated. Other windows are never drawn on, so nothing is left to wipe when it hides.
#pragma once

#include <windows.h>

#include <optional>
#include <utility>

#include "bound_window.h"
#include "grid_image.h"
#include "raii.h"

namespace trellane {

class GridWindow final : BoundWindow {
public:
    // The class the grid window is registered with; the window itself is made at its first use.
    static constexpr wchar_t kClassName[] = L"TrellaneGridWindow";

    GridWindow() noexcept : BoundWindow(L"GridWindow::WndProc") {}
    // The window goes first, while the object it reports to is still whole.
    ~GridWindow() { FWindow.reset(); }

    // The grid of `look`, shown right below `dragged`'s top-level window (topmost when that window
    // is). The picture is drawn again only when the look has changed since the last drag.
    void ShowBelow(HWND dragged, const GridLook& look);
    // Puts the grid back right below `root` (the dragged window's top-level window) when another
    // window has come between.
    void KeepBelow(HWND root);
    void Hide() noexcept;

private:
    bool Create();
    bool Draw(const GridLook& look);
    void PlaceBelow(HWND root);

    void WindowBound(HWND window) noexcept override { FWindow.reset(window); }
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void WindowUnbound() noexcept override {
        FWindow.release();
        FDrawn.reset();
        FShown = false;
    }

    UniqueWindow FWindow;
    // The look of the picture the window holds.
    std::optional<GridLook> FDrawn;
    bool FShown = false;
};

// The grid window shown below a dragged window for as long as this object lives (a drag session
// owns one, and hands it over at its end), so that every way a session ends hides it.
class ShownGrid {
public:
    ShownGrid(GridWindow& grid, HWND dragged, const GridLook& look)
        : FGrid(&grid), FRoot(GetAncestor(dragged, GA_ROOT)) {
        grid.ShowBelow(dragged, look);
    }
    ~ShownGrid() {
        if (FGrid) FGrid->Hide();
    }
    ShownGrid(ShownGrid&& other) noexcept : FGrid(std::exchange(other.FGrid, nullptr)), FRoot(other.FRoot) {}
    ShownGrid(const ShownGrid&) = delete;
    ShownGrid& operator=(const ShownGrid&) = delete;
    ShownGrid& operator=(ShownGrid&&) = delete;

    void KeepBelow() {
        if (FGrid && FRoot) FGrid->KeepBelow(FRoot);
    }

private:
    GridWindow* FGrid;
    // The dragged window's top-level window: an MDI document moves inside the same frame.
    HWND FRoot;
};

// The bounding rectangle of all monitors, in screen coordinates: what the grid covers.
WindowBounds VirtualScreenBounds();

} // namespace trellane
