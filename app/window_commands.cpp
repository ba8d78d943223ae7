#include "window_commands.h"

#include <iterator>
#include <vector>

#include "color_table.h"
#include "command_target.h"
#include "drag_rules.h"
#include "exclusion_list.h"
#include "fold_record.h"
#include "grid.h"
#include "handle32.h"
#include "hook_shared.h"
#include "trace.h"
#include "translucency.h"
#include "visible_frame.h"
#include "window_translucency.h"
#include "window_calls.h"

namespace trellane {

namespace {

std::string FoldNameOf(HWND window) {
    return FoldList::NameOf(vellum::HandleBits(window));
}

// The commands' timer that watches folds asked for, and how often it looks.
constexpr UINT_PTR kTimerFoldWatchId = 3;
constexpr UINT kFoldWatchPollMs = 20;
// A pick ends by itself after this long without a right click, or at Escape (a hot key of the
// commands' window while the pick lasts, as no window of Trellane's has the keyboard).
constexpr UINT_PTR kTimerPickId = 4;
constexpr UINT kPickTimeoutMs = 15000;
constexpr int kPickEscapeHotKeyId = 1;

std::int32_t HeightOf(const RECT& rect) {
    return rect.bottom - rect.top;
}

HWND WindowOfFoldName(const std::string& name) {
    return vellum::HandleFromBits<HWND>(HandleFromName(name));
}

// The window is no longer folded: its record goes, and its system menu is the system's default
// again, which brings back its Close command.
void ForgetFold(HWND window) noexcept {
    DropFoldRecord(window);
    GetSystemMenu(window, TRUE);
}

// The class of the commands' message-only window.
constexpr wchar_t kMailboxClassName[] = L"TrellaneWindowCommands";

} // namespace

WindowCommands::WindowCommands(HWND form, const Settings& settings, HookClient& hook)
    : BoundWindow(L"WindowCommands::WndProc"), FForm(form), FSettings(settings), FHook(hook) {
    // Bound to this object (FMailbox) as it is made. Without it no drag is followed (its timer and
    // the system's answers have nowhere to go), but clicks still work.
    if (!RegisterBoundClass(kMailboxClassName) ||
        !CreateBoundWindow(0, kMailboxClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, GetModuleHandleW(nullptr)))
        LogFailure(L"CreateWindowExW", kMailboxClassName);
    FMoveSizeEvents = std::make_unique<MoveSizeEvents>(FMailbox.get());
    GiveBackKeptFolds();
    GiveBackTranslucency();
}

WindowCommands::~WindowCommands() {
    EndPick();
    StopDragging();
    // The window goes first, while the object it reports to is still whole.
    FMailbox.reset();
}

LRESULT WindowCommands::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam == kTimerFoldWatchId) WatchFolds();
        if (wParam == kTimerDragId) AdvanceDrag();
        if (wParam == kTimerPickId) EndPick();
        return 0;
    case WM_HOTKEY:
        if (wParam == kPickEscapeHotKeyId) EndPick();
        return 0;
    case WM_DRAG_MOVESIZE:
        if (FDrag) FDrag->OnMoveSizeEvent(reinterpret_cast<HWND>(wParam), lParam != 0);
        AdvanceDrag();
        return 0;
    case WM_DRAG_SETTLED:
        if (FDrag) FDrag->OnSettled(wParam);
        AdvanceDrag();
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool WindowCommands::OnNotification(UINT message, WPARAM wParam) {
    // The library keeps windows as 32 bits (handles have no more): widen it again.
    const HWND target =
        vellum::IsNotification(message) ? CommandTarget(vellum::HandleFromBits<HWND>(wParam)) : nullptr;
    // A move or a release acts on the session's window, whichever window it was reported for; every
    // other notification asks the gate about its own window.
    switch (message) {
    case vellum::HM_DRAGSTART:
        HMDragStart(target);
        return true;
    case vellum::HM_MOUSEMOVE:
        // Each move also looks at the dragged window's thread, so that even a short move loop is
        // seen.
        AdvanceDrag();
        if (FDrag && NotificationActs(true, FDrag->MoveEnded())) HMMouseMove(FDrag->Window());
        return true;
    case vellum::HM_DRAGEND:
        HMDragEnd(target);
        return true;
    case vellum::HM_MCLICK:
        HMMClick(target);
        return true;
    case vellum::HM_RCLICK:
        if (!PickInstead(target)) HMRClick(target);
        return true;
    case vellum::HM_SHIFT_RCLICK:
        if (!PickInstead(target)) HMShiftRClick(target);
        return true;
    case vellum::HM_RDBLCLK:
        if (!PickInstead(target)) HMRDblClk(target);
        return true;
    default:
        return false;
    }
}

void WindowCommands::LoadExclusionList(const std::wstring& path) {
    FExclusions.Load(path);
}

WindowFacts WindowCommands::FactsOf(HWND target) {
    FExclusions.Refresh();
    WindowFacts facts;
    facts.ownProgram = IsOwnProcess(target);
    facts.cloaked = ReadCloaked(target);
    facts.excluded = IsExcluded(target);
    facts.maximized = IsZoomed(target) != FALSE;
    facts.minimized = IsIconic(target) != FALSE;
    facts.arranged = IsArranged(target);
    return facts;
}

bool WindowCommands::IsExcluded(HWND target) const {
    char className[256] = {};
    GetClassNameA(target, className, 255);
    if (FExclusions.ExcludesClass(className)) return true;
    // Asking the system for the program costs a process handle: only when a program is listed.
    return FExclusions.HasPrograms() && FExclusions.ExcludesProgram(ProgramOf(target));
}

// ---- Picking a window for the exclusion list -------------------------------------------------------

void WindowCommands::BeginPick(std::function<void(HWND)> picked) {
    EndPick();
    FPicked = std::move(picked);
    // Right clicks are reported only while the right-button commands are on.
    FHook.UseRightButton(true);
    if (!RegisterHotKey(FMailbox.get(), kPickEscapeHotKeyId, 0, VK_ESCAPE))
        LogFailure(L"RegisterHotKey", L"pick: Escape");
    if (!SetTimer(FMailbox.get(), kTimerPickId, kPickTimeoutMs, nullptr)) LogFailure(L"SetTimer", L"pick");
}

void WindowCommands::EndPick() noexcept {
    if (!FPicked) return;
    FPicked = nullptr;
    UnregisterHotKey(FMailbox.get(), kPickEscapeHotKeyId);
    KillTimer(FMailbox.get(), kTimerPickId);
    FHook.UseRightButton(FSettings.oritatami);
}

bool WindowCommands::PickInstead(HWND target) {
    if (!FPicked) return false;
    // A click on the panel, or on no window, leaves the pick open for the next one.
    if (!target || !TakesPart(WindowCommand::Pick, FactsOf(target))) return true;
    const std::function<void(HWND)> picked = FPicked;
    EndPick();
    picked(target);
    return true;
}

void WindowCommands::StopDragging() noexcept {
    FDrag.reset();
    FMoveSizeEvents.reset();
}

// ---- Drag tracking and grid snapping -----------------------------------------------------------

void WindowCommands::HMDragStart(HWND target) {
    const bool open = FDrag != nullptr;
    switch (DecideDragStart(open, open && FDrag->Window() == target, open && FDrag->Released())) {
    case DragStartAction::SameDrag:
        return;
    case DragStartAction::EndOldAndBegin: {
        // The hook's drag flag now belongs to the new drag: it stays as it is.
        const std::unique_ptr<DragSession> old = std::move(FDrag);
        FinishDrag(*old, false);
        break;
    }
    case DragStartAction::Begin:
        break;
    }
    const WindowFacts facts = FactsOf(target);
    if (!TakesPart(WindowCommand::Drag, facts)) return;
    RECT rect{};
    // A window that has gone away, or is excluded, gets no grid and no snap.
    const bool takesPart = ReadWindowRect(target, rect) && TakesPart(WindowCommand::Grid, facts);
    FDrag = std::make_unique<DragSession>(FMailbox.get(), target, takesPart);
    if (FDrag->TakesPart() && FSettings.graphicLine) {
        const COLORREF color = ColorToRgb(FSettings.gridColor, [](int index) { return GetSysColor(index); });
        FDrag->ShowGrid(FGridWindow, GridLook{FSettings.gridWidth, color, VirtualScreenBounds()});
    }
    // Also for excluded windows: translucency while moving does not depend on the grid.
    if (FSettings.moveToumei) FDrag->MakeTranslucent(FSettings.toumei);
}

void WindowCommands::HMMouseMove(HWND target) {
    // Nothing is painted: the grid window only has to stay right below the dragged window.
    if (FDrag && FDrag->Window() == target) FDrag->KeepGridBelow();
}

void WindowCommands::HMDragEnd(HWND) {
    // Whichever window got the release, it is the end of the dragged window's drag; the window the
    // release was reported for is never touched.
    if (!FDrag) return;
    FDrag->Release();
    AdvanceDrag();
}

void WindowCommands::AdvanceDrag() {
    if (!FDrag) return;
    switch (FDrag->Advance()) {
    case DragStep::Finish:
        EndDrag(true);
        return;
    case DragStep::Abandon:
        EndDrag(false);
        return;
    case DragStep::Wait:
    case DragStep::Probe:
        return;
    }
}

void WindowCommands::EndDrag(bool snap) {
    if (!FDrag) return;
    // What the session changed goes back with it at the end of this scope; its grid last, once the
    // window has landed.
    const std::unique_ptr<DragSession> drag = std::move(FDrag);
    // The hook still believes the button is down and would go on reporting moves: its flag is
    // cleared, unless a drag start or the release itself is already on its way here.
    const auto queued = [this](UINT message) {
        MSG pending;
        return PeekMessageW(&pending, FForm, message, message, PM_NOREMOVE | PM_NOYIELD) != FALSE;
    };
    const bool notificationPending = queued(vellum::HM_DRAGSTART) || queued(vellum::HM_DRAGEND);
    if (ResetsDragFlag(drag->Released(), notificationPending))
        FHook.SetGrid(FSettings.useGrid, FSettings.gridWidth);
    FinishDrag(*drag, snap);
}

void WindowCommands::FinishDrag(DragSession& drag, bool snap) {
    drag.GiveBackTranslucency();
    const HWND target = drag.Window();
    RECT rect;
    if (!snap || !FSettings.useGrid || !drag.TakesPart() || FSettings.gridWidth < 1 ||
        !TakesPart(WindowCommand::Snap, FactsOf(target)) || !ReadWindowRect(target, rect))
        return;
    const auto style = static_cast<DWORD>(GetWindowLongA(target, GWL_STYLE));
    const SnapPlacement placement =
        SnapPlacementFor(target, rect, (style & WS_THICKFRAME) != 0, FSettings.gridWidth);
    PlaceWindow(target, placement);
}

// ---- Translucency --------------------------------------------------------------------------------

void WindowCommands::HMMClick(HWND target) {
    if (!TakesPart(WindowCommand::Translucency, FactsOf(target))) return;
    SetTranslucency(target, TranslucencyRequest::Toggle, FSettings.toumei);
}

// ---- Folding -------------------------------------------------------------------------------------

void WindowCommands::HMRClick(HWND target) {
    if (!FSettings.oritatami) return;
    const bool fold = !FFolded.Contains(FoldNameOf(target));
    FoldWindow(target, fold);
    FLastFolded = (fold && FFolded.Contains(FoldNameOf(target))) ? target : nullptr;
    FLastFoldTick = GetTickCount();
}

void WindowCommands::FoldWindow(HWND target, bool fold) {
    const std::string name = FoldNameOf(target);
    RECT rect;
    if (fold) {
        if (!TakesPart(WindowCommand::Fold, FactsOf(target))) return;
        FFolded.Remove(name);
        if (!ReadWindowRect(target, rect)) return;
        const std::int32_t height = HeightOf(rect);
        FFolded.Append(name, height);
        const std::int32_t foldedHeight = FoldedHeightOf(target);
        const std::uint32_t dpi = DpiOf(target);
        // Kept on the window too, so that the height comes back even if this program is ended first.
        // Only asked for so far: the height the window takes is recorded once it has taken it.
        KeepFoldRecord(target, height, foldedHeight, dpi, false);
        PlaceWindow(target,
                    SnapPlacement{rect.left, rect.top, rect.right - rect.left, foldedHeight, SWP_NOZORDER});
        // Closing a folded window would lose the height it is to get back.
        RemoveMenu(GetSystemMenu(target, FALSE), SC_CLOSE, MF_BYCOMMAND);
        StopWatching(target);
        FWatched.push_back(FoldWatch{target, height, dpi, GetTickCount()});
        if (!SetTimer(FMailbox.get(), kTimerFoldWatchId, kFoldWatchPollMs, nullptr))
            LogFailure(L"SetTimer", L"fold watch");
        return;
    }
    const std::optional<std::string> value = FFolded.ValueOf(name);
    if (!value) return;
    StopWatching(target);
    if (!TakesPart(WindowCommand::Unfold, FactsOf(target))) {
        // Maximized or minimized since: the system owns its size now; it only leaves the list.
        FFolded.Remove(name);
        ForgetFold(target);
        return;
    }
    if (!ReadWindowRect(target, rect)) return;
    // Moved to a monitor of another scale since the fold: the system scaled the folded window, and
    // the height it gets back is scaled the same way.
    const std::uint32_t foldDpi = RecordedDpi(ReadFoldRecord(target).state);
    Unfold(target, rect, HeightAtDpi(HeightFromValue(*value), foldDpi, DpiOf(target)));
    FFolded.Remove(name);
}

void WindowCommands::Unfold(HWND target, const RECT& rect, std::int32_t height) {
    // The system repaints what the new size uncovers.
    PlaceWindow(target, SnapPlacement{rect.left, rect.top, rect.right - rect.left, height, SWP_NOZORDER});
    ForgetFold(target);
}

void WindowCommands::WatchFolds() noexcept {
    const DWORD now = GetTickCount();
    for (auto it = FWatched.begin(); it != FWatched.end();) {
        RECT rect;
        if (!ReadWindowRect(it->window, rect)) {
            it = FWatched.erase(it);
            continue;
        }
        const std::int32_t heightNow = HeightOf(rect);
        switch (DecideFoldWatch(it->height, heightNow, now - it->since)) {
        case FoldWatchStep::Wait:
            ++it;
            continue;
        case FoldWatchStep::Seen:
            // The height the window took (its program may hold it at a least height of its own) is
            // what tells at the next start that it is still folded.
            if (heightNow < it->height) KeepFoldRecord(it->window, it->height, heightNow, it->dpi, true);
            break;
        case FoldWatchStep::GiveUp:
            break;
        }
        it = FWatched.erase(it);
    }
    if (FWatched.empty()) KillTimer(FMailbox.get(), kTimerFoldWatchId);
}

void WindowCommands::StopWatching(HWND window) noexcept {
    for (auto it = FWatched.begin(); it != FWatched.end();)
        it = it->window == window ? FWatched.erase(it) : std::next(it);
    if (FWatched.empty()) KillTimer(FMailbox.get(), kTimerFoldWatchId);
}

void WindowCommands::GiveBackKeptFolds() {
    for (const HWND window : WindowsWithFoldRecords()) {
        wchar_t subject[24];
        RECT rect;
        if (!ReadWindowRect(window, rect)) continue;
        const KeptFoldDecision decision =
            DecideKeptFold(ReadFoldRecord(window), HeightOf(rect), DpiOf(window), MinTrackHeightOf(window));
        switch (decision.action) {
        case KeptFoldAction::Ignore:
            LogFailure(L"GiveBackKeptFolds", WindowSubject(window, subject), ERROR_INVALID_DATA);
            continue;
        case KeptFoldAction::Drop:
            DropFoldRecord(window);
            continue;
        case KeptFoldAction::GiveBack:
            break;
        }
        if (!TakesPart(WindowCommand::Unfold, FactsOf(window))) {
            // As an unfold does for a window maximized or minimized while folded.
            ForgetFold(window);
            continue;
        }
        Unfold(window, rect, decision.height);
    }
}

HWND WindowCommands::UnfoldOldest() {
    const std::string name = FFolded.FirstName();
    const HWND target = WindowOfFoldName(name);
    FoldWindow(target, false);
    // A window that has gone away, or a name that is no handle, leaves its entry behind.
    if (FFolded.Contains(name)) FFolded.Remove(name);
    return target;
}

void WindowCommands::UnfoldAll() noexcept {
    try {
        while (!FFolded.Empty())
            UnfoldOldest();
    } catch (...) {
        // Out of memory while restoring: nothing more can be done for the remaining windows.
        LogFailure(L"UnfoldAll", L"folded windows", ERROR_NOT_ENOUGH_MEMORY);
    }
}

void WindowCommands::UnfoldAllBeforeSessionEnds() noexcept {
    // Each window that will be asked to unfold, with its height then.
    std::vector<std::pair<HWND, std::int32_t>> asked;
    try {
        for (const std::string& entry : FFolded.Entries()) {
            const HWND window = WindowOfFoldName(entry.substr(0, entry.find('=')));
            RECT rect;
            if (TakesPart(WindowCommand::Unfold, FactsOf(window)) && ReadWindowRect(window, rect))
                asked.emplace_back(window, HeightOf(rect));
        }
    } catch (...) {
        // Unfolded all the same, only not waited for.
        LogFailure(L"UnfoldAllBeforeSessionEnds", L"folded windows", ERROR_NOT_ENOUGH_MEMORY);
    }
    UnfoldAll();
    // The one wait of this program, and a short one: it only reads window rectangles, which no
    // program answers, and handles no message meanwhile.
    const DWORD start = GetTickCount();
    for (;;) {
        std::size_t still = 0;
        for (const auto& [window, heightWhenAsked] : asked) {
            RECT rect;
            if (StillUnfolding(heightWhenAsked, ReadWindowRect(window, rect) ? HeightOf(rect) : -1)) ++still;
        }
        if (!KeepWaitingForUnfolds(still, GetTickCount() - start)) return;
        Sleep(10);
    }
}

void WindowCommands::CloseAllFolded() {
    // The close request goes behind the unfold in the window's queue: the window has its height
    // back before its program may ask the user anything.
    while (!FFolded.Empty())
        PostMessageA(UnfoldOldest(), WM_CLOSE, 0, 0);
}

// ---- Attention flash and topmost toggle -----------------------------------------------------------

void WindowCommands::HMShiftRClick(HWND target) {
    if (!TakesPart(WindowCommand::Topmost, FactsOf(target))) return;
    // Flashing may wait for the window to draw its caption: a window that does not answer is not
    // flashed, but still changes its place in the z-order, which is only asked for.
    if (AnswersMessages(target, L"FlashWindow")) Flash(target);
    const auto exStyle = static_cast<DWORD>(GetWindowLongA(target, GWL_EXSTYLE));
    const HWND order = (exStyle & WS_EX_TOPMOST) ? HWND_NOTOPMOST : HWND_TOPMOST;
    SetWindowPos(target, order, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | WaitingFlags(target));
}

void WindowCommands::Flash(HWND target) {
    FlashWindow(target, TRUE);
    Sleep(50);
    FlashWindow(target, FALSE);
    FlashWindow(target, TRUE);
    Sleep(50);
    FlashWindow(target, FALSE);
    FlashWindow(target, TRUE);
}

void WindowCommands::HMRDblClk(HWND target) {
    // The double click's first press was an ordinary right click that may have folded the window.
    const bool undoFold =
        DoubleClickFollowsFold(target == FLastFolded, FLastFoldTick, GetTickCount(), GetDoubleClickTime());
    FLastFolded = nullptr;
    if (undoFold) FoldWindow(target, false);
    HMShiftRClick(target);
}

} // namespace trellane
