// One drag of one window, from the hook's drag start until the window's own move/size loop has
// ended and the system has applied the drop. The decisions are in drag_rules.h; this unit watches
// the window's thread (GetGUIThreadInfo), hears the system's move/size events, and asks the thread
// to answer once it is back in its own message loop. Nothing here waits for another program: every
// question to it is posted, and the answers come back to the main form as messages.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <utility>

#include "drag_rules.h"
#include "grid_window.h"
#include "private_messages.h"

namespace trellane {

// The form's timer that looks at the dragged window's thread while a session is open.
constexpr UINT_PTR kTimerDragId = 2;
constexpr UINT kDragPollMs = 15;

// The system's reports of move/size loops in other programs, heard out of context (no library is
// loaded anywhere for them) on the thread that creates this object, which must pump messages.
// Where the system reports none (Wine), the session's polling does the work alone.
class MoveSizeEvents {
public:
    explicit MoveSizeEvents(HWND form) noexcept;
    ~MoveSizeEvents();
    MoveSizeEvents(const MoveSizeEvents&) = delete;
    MoveSizeEvents& operator=(const MoveSizeEvents&) = delete;

private:
    HWINEVENTHOOK FHook = nullptr;
};

class DragSession {
public:
    // Starts the form's polling timer; the destructor stops it and hides the grid.
    DragSession(HWND form, HWND window, bool excluded, const RECT& rect);
    ~DragSession();
    DragSession(const DragSession&) = delete;
    DragSession& operator=(const DragSession&) = delete;

    HWND Window() const { return FWindow; }
    bool Excluded() const { return FExcluded; }
    const RECT& StartRect() const { return FStartRect; }
    bool Released() const { return FFacts.released; }
    bool MoveEnded() const { return MoveHasEnded(FFacts); }

    // The grid below the window until the session ends.
    void ShowGrid(GridWindow& grid, const GridLook& look) { FGrid.emplace(grid, FWindow, look); }
    // On a move: the grid back below the window if another window came between.
    void KeepGridBelow() {
        if (FGrid) FGrid->KeepBelow();
    }
    // The shown grid, to be hidden by the caller once the drop is done.
    std::optional<ShownGrid> TakeGrid() { return std::exchange(FGrid, std::nullopt); }
    // A release reported by the hook, for this window or any other.
    void Release();
    void OnMoveSizeEvent(HWND window, bool started);
    void OnSettled(WPARAM serial);
    // Looks at the window's thread now, sends the probe when it is due, and says what is next:
    // Finish or Abandon end the session.
    DragStep Advance();

private:
    HWND FForm;
    HWND FWindow;
    bool FExcluded;
    RECT FStartRect;
    DWORD FThreadId;
    DragFacts FFacts;
    DWORD FWaitTick = 0; // when the release came, or the probe went out if that was first
    WPARAM FProbeSerial = 0;
    std::optional<ShownGrid> FGrid;
};

} // namespace trellane
