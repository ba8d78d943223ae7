// What one drag of a window is: which window the hook's notifications act on while it lasts, when
// it is over, and whether the system arranged the window at the drop. The hook reports whatever
// window gets each mouse message; a drag belongs to the window whose caption or border was pressed,
// and it is over when that window's own move/size loop has ended, not when some window gets the
// button's release.
#pragma once

#include <cstdint>

#include "grid.h"

namespace trellane {

// A drag start while a session is open.
enum class DragStartAction {
    Begin,          // no session is open: start one
    SameDrag,       // the same press reported again (a program that peeks before it takes it): nothing changes
    EndOldAndBegin, // the old session ends without a snap, then a new one starts
};
DragStartAction DecideDragStart(bool sessionOpen, bool sameWindow, bool released);

// A mouse move or a release acts on the session's window, whichever window it was reported for;
// without an open session (or after the session's move has ended) it acts on nothing.
constexpr bool NotificationActs(bool sessionOpen, bool moveEnded) {
    return sessionOpen && !moveEnded;
}

// After the release (or once the move was seen to end without one), the window's program has this
// long to finish its move; past it (the program hangs, or the window went away) the session ends
// without a snap.
constexpr std::uint32_t kMoveEndTimeoutMs = 2000;

// What the program knows about a session's window at one moment.
struct DragFacts {
    bool windowExists = true;
    bool released = false;      // a release was reported (for this window or any other)
    bool seenMoving = false;    // its thread was seen in its move/size loop, or the system said so
    bool movingNow = false;     // its thread is in its move/size loop now
    bool endReported = false;   // the system reported the end of its move/size loop
    bool probeSent = false;     // asked the window's thread to answer once it is back in its own loop
    bool probeAnswered = false; // it answered: the system has applied the drop
    std::uint32_t msWaited = 0; // since the release, or since the probe went out if that came first
};

enum class DragStep {
    Wait,    // the move goes on, or the answer is awaited
    Probe,   // the move has ended: ask the window's thread to answer once it is back in its loop
    Finish,  // translucency off, then the snap
    Abandon, // translucency off, no snap
};

// The loop has ended when the system says so, when the thread was seen in it and is out again (a
// move cancelled with Escape ends there, button still down), or, after the release, when the thread
// is not in it. A release with no loop ever seen (a caption click, or a gesture too quick for its
// loop to be seen) is probed like any other: an outline drag's drop may still be on its way to the
// window, and only the thread's answer says it has been applied.
constexpr bool MoveHasEnded(const DragFacts& facts) {
    return facts.endReported || (!facts.movingNow && (facts.seenMoving || facts.released));
}

DragStep NextDragStep(const DragFacts& facts);

// A session that ends without a reported release (the release went to a window no hook runs in, or
// the move was cancelled) leaves the hook's shared drag flag set; it is reset then, unless a
// notification already waits that began a new drag or is that release.
constexpr bool ResetsDragFlag(bool released, bool notificationPending) {
    return !released && !notificationPending;
}

// Whether the system arranged a window at the drop (docked at a screen edge, laid out in a zone),
// judged from GetWindowPlacement where the system offers no direct answer. A window in its normal
// state has its normal rectangle where it stands; an arranged one keeps the rectangle it had
// before. The normal rectangle counts in workspace coordinates for a top-level window, in its
// parent's client coordinates for a child, and other systems (Wine for another program's window)
// give screen coordinates: the window counts as arranged only if the normal rectangle matches it in
// none of them. Maximized and minimized windows are never "arranged".
struct ArrangedCheck {
    WindowBounds normal;      // rcNormalPosition as given
    WindowBounds onScreen;    // the window rectangle in screen coordinates
    WindowBounds inWorkspace; // the same, moved by the work area's offset from its monitor
    WindowBounds inParent;    // the same in the parent's client coordinates (a child); else as on screen
    bool maximized = false;
    bool minimized = false;
};
bool LooksArranged(const ArrangedCheck& check);

} // namespace trellane
