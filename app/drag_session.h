// One drag of one window, from the hook's drag start until the window's own move/size loop has
// ended and the system has applied the drop. The decisions are in drag_rules.h; this unit watches
// the window's thread (GetGUIThreadInfo), hears the system's move/size events, and asks the thread
// to answer once it is back in its own message loop. Nothing here waits for another program: every
// question to it is posted, and the answers come back as messages to the window commands' own
// window. A session owns everything its drag changes and gives it all back when it ends.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "drag_rules.h"
#include "grid_window.h"
#include "private_messages.h"

namespace trellane {

// The timer of the window commands' own window that looks at the dragged window's thread while a
// session is open.
constexpr UINT_PTR kTimerDragId = 2;
constexpr UINT kDragPollMs = 15;

// The system's reports of move/size loops in other programs, heard out of context (no library is
// loaded anywhere for them) on the thread that creates this object, which must pump messages, and
// posted to `mailbox`. Where the system reports none (Wine), the session's polling does the work.
class MoveSizeEvents {
public:
    explicit MoveSizeEvents(HWND mailbox) noexcept;
    ~MoveSizeEvents();
    MoveSizeEvents(const MoveSizeEvents&) = delete;
    MoveSizeEvents& operator=(const MoveSizeEvents&) = delete;

private:
    HWINEVENTHOOK FHook = nullptr;
};

class DragSession {
public:
    // mailbox: the window that gets the session's timer and the answers to its probe. takesPart:
    // the window is snapped and gets the grid (it could be measured at the press and its class is
    // not excluded).
    DragSession(HWND mailbox, HWND window, bool takesPart);
    // Gives back the window's look, stops the timer, and hides the grid, whichever way the session
    // ends (the drop, Escape, a timeout, a window gone, quitting).
    ~DragSession();
    DragSession(const DragSession&) = delete;
    DragSession& operator=(const DragSession&) = delete;

    HWND Window() const { return FWindow; }
    bool TakesPart() const { return FTakesPart; }
    bool Released() const { return FFacts.released; }
    bool MoveEnded() const { return MoveHasEnded(FFacts); }

    // The grid below the window until the session ends.
    void ShowGrid(GridWindow& grid, const GridLook& look) { FGrid.emplace(grid, FWindow, look); }
    // On a move: the grid back below the window if another window came between.
    void KeepGridBelow() {
        if (FGrid) FGrid->KeepBelow();
    }
    // The window translucent at `level` while it moves; what it was before is the record it carries.
    void MakeTranslucent(std::int32_t level);
    // The window's look before the drag back, before the snap; once.
    void GiveBackTranslucency() noexcept;
    // A release reported by the hook, for this window or any other.
    void Release();
    void OnMoveSizeEvent(HWND window, bool started);
    void OnSettled(WPARAM serial);
    // Looks at the window's thread now, sends the probe when it is due, and says what is next:
    // Finish or Abandon end the session.
    DragStep Advance();

private:
    HWND FMailbox;
    HWND FWindow;
    bool FTakesPart;
    DWORD FThreadId;
    DragFacts FFacts;
    DWORD FWaitTick = 0; // when the release came, or the probe went out if that was first
    WPARAM FProbeSerial = 0;
    bool FTranslucent = false;
    std::optional<ShownGrid> FGrid;
};

} // namespace trellane
