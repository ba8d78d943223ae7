#include "vellum_callback.h"

#include "handle32.h"
#include "mouse_decision.h"
#include "vellum_unit.h"

namespace vellum {

namespace {
HHOOK NextHook(const HookShared* shared) noexcept {
    return HandleFromBits<HHOOK>(shared->HookHandle);
}
} // namespace

LRESULT CALLBACK MouseHookProc(int code, WPARAM message, LPARAM info) noexcept {
    HookShared* const shared = SharedView;
    // Without a view this process cannot see the shared state: stay out of the way entirely.
    if (!shared) return CallNextHookEx(nullptr, code, message, info);
    const auto* mouse = reinterpret_cast<const MOUSEHOOKSTRUCT*>(info);
    if (code < 0 || !mouse) return CallNextHookEx(NextHook(shared), code, message, info);

    const auto msgNumber = static_cast<unsigned>(message);
    const bool rightButtonOn = shared->RightButtonOn != 0;
    const bool shiftDown = NeedsShiftState(code, msgNumber, rightButtonOn) &&
                           (static_cast<unsigned short>(GetAsyncKeyState(VK_SHIFT)) & 0x8000u) != 0;
    const MouseVerdict verdict = ClassifyMouse(code, msgNumber, static_cast<unsigned>(mouse->wHitTestCode),
                                               shared->Dragging != 0, rightButtonOn, shiftDown);

    if (verdict.drag == DragChange::Start) shared->Dragging = 1;
    if (verdict.drag == DragChange::End) shared->Dragging = 0;
    if (verdict.post != 0) {
        const HWND notifyWindow = HandleFromBits<HWND>(shared->NotifyWnd);
        PostMessageA(notifyWindow, verdict.post, reinterpret_cast<WPARAM>(mouse->hwnd), 0);
    }
    if (verdict.swallow) return 1;
    return CallNextHookEx(NextHook(shared), code, message, info);
}

} // namespace vellum
