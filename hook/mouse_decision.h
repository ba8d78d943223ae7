// What the mouse hook does with one mouse message: which notification to post, whether the
// message is swallowed, and how the shared drag flag changes. Pure, so it is tested natively;
// the hook procedure only reads the shared record, calls this and acts.
#pragma once

#include "hook_shared.h"

namespace vellum {

namespace msg {
constexpr unsigned NcMouseMove = 0x00A0;
constexpr unsigned NcLButtonDown = 0x00A1;
constexpr unsigned NcLButtonUp = 0x00A2;
constexpr unsigned NcLButtonDblClk = 0x00A3;
constexpr unsigned NcRButtonDown = 0x00A4;
constexpr unsigned NcRButtonUp = 0x00A5;
constexpr unsigned NcRButtonDblClk = 0x00A6;
constexpr unsigned NcMButtonDown = 0x00A7;
constexpr unsigned MouseMove = 0x0200;
constexpr unsigned LButtonUp = 0x0202;
} // namespace msg

namespace hit {
constexpr unsigned Caption = 2;
constexpr unsigned SizeFirst = 10; // HTLEFT
constexpr unsigned SizeLast = 17;  // HTBOTTOMRIGHT
} // namespace hit

enum class DragChange : std::uint8_t { Keep, Start, End };

struct MouseVerdict {
    unsigned post;   // notification to post, 0 for none
    bool swallow;    // return 1 without calling the next hook
    DragChange drag; // what happens to the shared Dragging flag (before the post)
};

constexpr bool StartsDrag(unsigned hitTest) noexcept {
    return hitTest == hit::Caption || (hitTest >= hit::SizeFirst && hitTest <= hit::SizeLast);
}

// Only a right press with the right-button commands on looks at Shift; the hook reads the key
// state for that one case so that every other message costs no call into the system.
constexpr bool NeedsShiftState(int code, unsigned message, bool rightButtonOn) noexcept {
    return code >= 0 && message == msg::NcRButtonDown && rightButtonOn;
}

// HC_NOREMOVE (3) is deliberately not told apart from HC_ACTION (0): any code >= 0 is handled.
constexpr MouseVerdict ClassifyMouse(int code, unsigned message, unsigned hitTest, bool dragging,
                                     bool rightButtonOn, bool shiftDown) noexcept {
    constexpr MouseVerdict passOn{0, false, DragChange::Keep};
    if (code < 0) return passOn;
    switch (message) {
    case msg::NcLButtonDown:
        if (StartsDrag(hitTest)) return {HM_DRAGSTART, false, DragChange::Start};
        return passOn;
    case msg::NcLButtonUp:
    case msg::LButtonUp:
        if (dragging) return {HM_DRAGEND, false, DragChange::End};
        return passOn;
    case msg::MouseMove:
        if (dragging) return {HM_MOUSEMOVE, false, DragChange::Keep};
        return passOn;
    case msg::NcRButtonDown:
        if (!rightButtonOn) return passOn;
        return {shiftDown ? HM_SHIFT_RCLICK : HM_RCLICK, true, DragChange::Keep};
    case msg::NcRButtonDblClk:
        if (!rightButtonOn) return passOn;
        return {HM_RDBLCLK, true, DragChange::Keep};
    case msg::NcMButtonDown:
        return {HM_MCLICK, true, DragChange::Keep};
    default:
        return passOn;
    }
}

} // namespace vellum
