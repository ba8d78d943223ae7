// What Trellane does to other programs' windows when the hook library reports a gesture: tracking
// a drag and snapping the window to the grid, showing the grid, translucency, folding, and the
// flash with the topmost toggle. Reads the settings the panel keeps; owns everything else it needs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bound_window.h"
#include "command_gate.h"
#include "drag_session.h"
#include "exclusion_file.h"
#include "fold_list.h"
#include "grid_window.h"
#include "hook_client.h"
#include "raii.h"
#include "settings.h"

namespace trellane {

class WindowCommands final : BoundWindow {
public:
    // form: the window that gets the hook's notifications and hands them on. The commands' own
    // timers and the system's answers go to a message-only window of their own. Windows left folded
    // or translucent by an earlier run get their look back here.
    WindowCommands(HWND form, const Settings& settings, HookClient& hook);
    ~WindowCommands();

    // A hook notification; false for any other message.
    bool OnNotification(UINT message, WPARAM wParam);
    // The exclusion list: window classes and programs that are never snapped and get no grid.
    void LoadExclusionList(const std::wstring& path);
    ExclusionFile& Exclusions() { return FExclusions; }
    // Makes the next right click on a window's caption pick that window (handed to `picked`)
    // instead of acting on it, until Escape or kPickTimeoutMs without a click.
    void BeginPick(std::function<void(HWND)> picked);
    void EndPick() noexcept;
    bool Picking() const { return FPicked != nullptr; }
    // Unfolds every folded window, in folding order; also when the program ends abnormally.
    void UnfoldAll() noexcept;
    // Unfolds every folded window, then waits a moment at most (kSessionEndWaitMs) for their heights
    // to come back, so that their programs, told next that the session ends, save their real sizes.
    void UnfoldAllBeforeSessionEnds() noexcept;
    // Unfolds every folded window and asks each to close.
    void CloseAllFolded();
    // Ends any drag without snapping and stops hearing the system's move/size reports.
    void StopDragging() noexcept;

private:
    // Notification handlers and the window operations behind them.
    void HMDragStart(HWND target);
    void HMMouseMove(HWND target);
    // A release reported for any window: the release of the open session's window.
    void HMDragEnd(HWND reported);
    // Looks at the open session's window and ends the session when its move is over.
    void AdvanceDrag();
    // Ends the open session: translucency off, the grid hidden, and with `snap` the window
    // snapped unless the system arranged it. Resets the hook's drag flag if no release was reported.
    void EndDrag(bool snap);
    // Gives back the session's translucency, then snaps its window when `snap` and it takes part.
    void FinishDrag(DragSession& drag, bool snap);
    void HMMClick(HWND target);
    void HMRClick(HWND target);
    void HMShiftRClick(HWND target);
    void Flash(HWND target);
    void HMRDblClk(HWND target);
    void FoldWindow(HWND target, bool fold);
    // Gives the window its height back (keeping its place and width) and its Close command.
    void Unfold(HWND target, const RECT& rect, std::int32_t height);
    // Unfolds the window folded longest ago and always drops its entry, so loops over the list end.
    // Returns that window.
    HWND UnfoldOldest();
    // Looks at the windows whose fold was asked for, and records the height each took.
    void WatchFolds() noexcept;
    void StopWatching(HWND window) noexcept;
    // At start: windows still folded by an earlier run that ended without unfolding them (killed,
    // crashed) get their height and Close command back.
    void GiveBackKeptFolds();
    // What the gate needs to know of the window now; the exclusion list is read again first when
    // it changed on disk.
    WindowFacts FactsOf(HWND target);
    bool IsExcluded(HWND target) const;
    // A right click while a pick lasts: picks the window; false when it is no window to pick.
    bool PickInstead(HWND target);

    // The commands' own window: their timers (the drag's, the fold watch) and the answers of the
    // system's callbacks, so that the form is no mailbox of a drag.
    void WindowBound(HWND window) noexcept override { FMailbox.reset(window); }
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void WindowUnbound() noexcept override { FMailbox.release(); }

    HWND FForm;
    UniqueWindow FMailbox;
    const Settings& FSettings;
    HookClient& FHook;
    FoldList FFolded;
    // Shown by a session below its window; kept from one drag to the next.
    GridWindow FGridWindow;
    // The drag under way, from the hook's drag start until its window's move has ended.
    std::unique_ptr<DragSession> FDrag;
    // The system's reports of move/size loops, heard on this (the interface) thread.
    std::unique_ptr<MoveSizeEvents> FMoveSizeEvents;
    ExclusionFile FExclusions;
    // Set while a pick lasts: who gets the picked window.
    std::function<void(HWND)> FPicked;
    // The window the last right click folded, and when, so that a right double click (which
    // starts with that click) can unfold it again.
    HWND FLastFolded = nullptr;
    DWORD FLastFoldTick = 0;
    // Windows asked to fold whose height has not changed yet, with what their record keeps.
    struct FoldWatch {
        HWND window;
        std::int32_t height;
        std::uint32_t dpi;
        DWORD since;
    };
    std::vector<FoldWatch> FWatched;
};

} // namespace trellane
