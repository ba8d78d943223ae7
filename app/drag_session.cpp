#include "drag_session.h"

#include "trace.h"
#include "window_translucency.h"

namespace trellane {

namespace {

// Where the system's callbacks post what they heard: the window commands' own window (there is one
// per process).
HWND DragMailbox = nullptr;
// Serial numbers of probes, so that an answer to an earlier session's probe is never taken for one
// to the current session's.
WPARAM ProbeSerial = 0;

void CALLBACK OnMoveSizeEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                              DWORD) noexcept {
    if (object != OBJID_WINDOW || child != CHILDID_SELF || !DragMailbox) return;
    PostMessageW(DragMailbox, WM_DRAG_MOVESIZE, reinterpret_cast<WPARAM>(window),
                 event == EVENT_SYSTEM_MOVESIZESTART ? 1 : 0);
}

void CALLBACK OnProbeAnswered(HWND, UINT, ULONG_PTR serial, LRESULT) noexcept {
    if (DragMailbox) PostMessageW(DragMailbox, WM_DRAG_SETTLED, serial, 0);
}

// True while the thread runs a move/size loop. A thread that cannot be asked about is taken as out
// of it: the release and the probe still decide.
bool InMoveSize(DWORD threadId) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return threadId != 0 && GetGUIThreadInfo(threadId, &info) && (info.flags & GUI_INMOVESIZE) != 0;
}

} // namespace

MoveSizeEvents::MoveSizeEvents(HWND mailbox) noexcept {
    DragMailbox = mailbox;
    FHook = SetWinEventHook(EVENT_SYSTEM_MOVESIZESTART, EVENT_SYSTEM_MOVESIZEEND, nullptr, OnMoveSizeEvent, 0,
                            0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    if (!FHook) LogFailure(L"SetWinEventHook", L"move/size events");
}

MoveSizeEvents::~MoveSizeEvents() {
    if (FHook) UnhookWinEvent(FHook);
}

DragSession::DragSession(HWND mailbox, HWND window, bool takesPart)
    : FMailbox(mailbox), FWindow(window), FTakesPart(takesPart),
      FThreadId(GetWindowThreadProcessId(window, nullptr)) {
    DragMailbox = mailbox;
    // Without a window for it, a timer would be the thread's own, under a number of the system's.
    if (!FMailbox || !SetTimer(FMailbox, kTimerDragId, kDragPollMs, nullptr))
        LogFailure(L"SetTimer", L"drag session");
}

DragSession::~DragSession() {
    GiveBackTranslucency();
    KillTimer(FMailbox, kTimerDragId);
}

void DragSession::MakeTranslucent(std::int32_t level) {
    FTranslucent = true;
    SetTranslucency(FWindow, TranslucencyRequest::On, level);
}

void DragSession::GiveBackTranslucency() noexcept {
    if (!FTranslucent) return;
    FTranslucent = false;
    // Whatever translucency we gave the window ends with the drag, a middle click's too. Putting a
    // window back takes no level.
    SetTranslucency(FWindow, TranslucencyRequest::Off, 0);
}

void DragSession::Release() {
    if (FFacts.released) return;
    FFacts.released = true;
    if (!FFacts.probeSent) FWaitTick = GetTickCount();
}

void DragSession::OnMoveSizeEvent(HWND window, bool started) {
    if (window != FWindow) return;
    if (started)
        FFacts.seenMoving = true;
    else
        FFacts.endReported = true;
}

void DragSession::OnSettled(WPARAM serial) {
    if (FFacts.probeSent && serial == FProbeSerial) FFacts.probeAnswered = true;
}

DragStep DragSession::Advance() {
    FFacts.windowExists = IsWindow(FWindow) != FALSE;
    FFacts.movingNow = FFacts.windowExists && InMoveSize(FThreadId);
    FFacts.seenMoving = FFacts.seenMoving || FFacts.movingNow;
    if (FFacts.released || FFacts.probeSent) FFacts.msWaited = GetTickCount() - FWaitTick;
    const DragStep step = NextDragStep(FFacts);
    if (step != DragStep::Probe) return step;
    // The window's thread answers once it takes sent messages again: after its move/size loop and
    // whatever the system does at its end (an outline drag places the window only then). Sent
    // without waiting; the answer comes back as a message.
    if (!FFacts.released) FWaitTick = GetTickCount();
    FFacts.probeSent = true;
    FProbeSerial = ++ProbeSerial;
    if (!SendMessageCallbackW(FWindow, WM_NULL, 0, 0, OnProbeAnswered, FProbeSerial)) {
        wchar_t subject[24];
        LogFailure(L"SendMessageCallbackW", WindowSubject(FWindow, subject));
        return DragStep::Abandon;
    }
    return DragStep::Wait;
}

} // namespace trellane
