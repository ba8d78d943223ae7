#include "drag_rules.h"

namespace trellane {

namespace {
bool SameBounds(const WindowBounds& a, const WindowBounds& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
} // namespace

DragStartAction DecideDragStart(bool sessionOpen, bool sameWindow, bool released) {
    if (!sessionOpen) return DragStartAction::Begin;
    // Until its release the same window's press can only be the same press, reported twice.
    if (sameWindow && !released) return DragStartAction::SameDrag;
    return DragStartAction::EndOldAndBegin;
}

DragStep NextDragStep(const DragFacts& facts) {
    if (!facts.windowExists) return DragStep::Abandon;
    if (facts.probeAnswered) return DragStep::Finish;
    if (MoveHasEnded(facts) && !facts.probeSent) return DragStep::Probe;
    if ((facts.released || facts.probeSent) && facts.msWaited >= kMoveEndTimeoutMs) return DragStep::Abandon;
    return DragStep::Wait;
}

bool LooksArranged(const ArrangedCheck& check) {
    if (check.maximized || check.minimized) return false;
    return !SameBounds(check.normal, check.onScreen) && !SameBounds(check.normal, check.inWorkspace) &&
           !SameBounds(check.normal, check.inParent);
}

} // namespace trellane
