#include "keep_mode_window.h"

#include "display_mode.h"
#include "trace.h"

namespace trellane {

namespace {

// The logic names the system's results by their values.
static_assert(static_cast<long>(DisplayChangeResult::Restart) == DISP_CHANGE_RESTART);
static_assert(static_cast<long>(DisplayChangeResult::Failed) == DISP_CHANGE_FAILED);
static_assert(static_cast<long>(DisplayChangeResult::BadMode) == DISP_CHANGE_BADMODE);
static_assert(static_cast<long>(DisplayChangeResult::NotUpdated) == DISP_CHANGE_NOTUPDATED);
static_assert(static_cast<long>(DisplayChangeResult::BadFlags) == DISP_CHANGE_BADFLAGS);
static_assert(static_cast<long>(DisplayChangeResult::BadParam) == DISP_CHANGE_BADPARAM);
static_assert(static_cast<long>(DisplayChangeResult::BadDualView) == DISP_CHANGE_BADDUALVIEW);

constexpr UINT_PTR kTimerId = 1;
// Often enough that the countdown turns over close to each whole second.
constexpr UINT kTimerPeriod = 250;
constexpr int kCountdownId = 100;
constexpr wchar_t kKeepQuestion[] = L"この画面モードのままにしますか？";
constexpr wchar_t kYes[] = L"はい(&Y)";
constexpr wchar_t kNo[] = L"いいえ(&N)";

// The layout at 96 DPI: two lines of text above the two buttons, the safe answer on the right.
constexpr int kClientWidth = 320, kClientHeight = 112, kMargin = 16, kLineHeight = 20;
constexpr int kButtonWidth = 96, kButtonHeight = 28, kButtonGap = 8;

LONG ChangeMode(const DEVMODEW& mode, DWORD flags) {
    DEVMODEW copy = mode;
    return ChangeDisplaySettingsW(&copy, flags);
}

std::wstring CaptionOf(const DEVMODEW& mode) {
    return DisplayModeCaption(mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel,
                              mode.dmDisplayFrequency);
}

} // namespace

void ReportDisplayChangeFailure(HWND owner, const std::wstring& caption, LONG result) {
    LogFailure(L"ChangeDisplaySettingsW", caption, static_cast<unsigned long>(result));
    const std::wstring text = DisplayChangeFailureText(caption, result);
    MessageBoxW(owner, text.c_str(), kDisplayChangeTitle, MB_OK | MB_ICONERROR);
}

bool KeepModeWindow::Ask(HWND owner, const DEVMODEW& chosen, const DEVMODEW& previous,
                         const std::wstring& caption) {
    if (FWindow) return false;
    static const bool registered = RegisterBoundClass(kClassName);
    if (!registered) return false;
    FOwner = owner;
    FChosen = chosen;
    FPrevious = previous;
    FCaption = caption;
    // Made now, on the new mode: centred on the primary screen as it is now.
    constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    constexpr DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST;
    const WindowDc screen(nullptr, WindowDc::Area::Client);
    const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    RECT frame{0, 0, MulDiv(kClientWidth, dpi, 96), MulDiv(kClientHeight, dpi, 96)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    if (!CreateBoundWindow(
            exStyle, kClassName, kDisplayChangeTitle, style, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
            (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, owner, GetModuleHandleW(nullptr))) {
        LogFailure(L"CreateWindowExW", kClassName);
        return false;
    }
    FAnswered = false;
    AddControls();
    FDeadline = GetTickCount64() + kKeepModeSeconds * 1000ULL;
    FSecondsShown = 0;
    ShowCountdown();
    if (!SetTimer(FWindow.get(), kTimerId, kTimerPeriod, nullptr)) LogFailure(L"SetTimer", kClassName);
    ShowWindow(FWindow.get(), SW_SHOW);
    BringToFront();
    return true;
}

void KeepModeWindow::AddControls() {
    const HWND window = FWindow.get();
    const int dpi = [&] {
        const WindowDc dc(window, WindowDc::Area::Client);
        return dc ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
    }();
    const auto scale = [dpi](int value) { return MulDiv(value, dpi, 96); };
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        FFont.reset(CreateFontIndirectW(&metrics.lfMessageFont));
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto add = [&](const wchar_t* className, const wchar_t* text, DWORD style, int id, int left,
                         int top, int width, int height) {
        const HWND control = CreateWindowExW(
            0, className, text, WS_CHILD | WS_VISIBLE | style, scale(left), scale(top), scale(width),
            scale(height), window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        if (!control) LogFailure(L"CreateWindowExW", className);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.get()), FALSE);
        return control;
    };
    const int textWidth = kClientWidth - 2 * kMargin;
    add(L"Static", kKeepQuestion, SS_LEFT, -1, kMargin, kMargin, textWidth, kLineHeight);
    FCountdown =
        add(L"Static", L"", SS_LEFT, kCountdownId, kMargin, kMargin + kLineHeight, textWidth, kLineHeight);
    const int top = kClientHeight - kMargin - kButtonHeight;
    const int noLeft = kClientWidth - kMargin - kButtonWidth;
    add(L"Button", kYes, WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON | BS_NOTIFY, IDYES,
        noLeft - kButtonGap - kButtonWidth, top, kButtonWidth, kButtonHeight);
    const HWND no = add(L"Button", kNo, WS_TABSTOP | BS_DEFPUSHBUTTON | BS_NOTIFY, IDNO, noLeft, top,
                        kButtonWidth, kButtonHeight);
    SetFocus(no);
}

void KeepModeWindow::BringToFront() noexcept {
    if (!FWindow) return;
    SetWindowPos(FWindow.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(FWindow.get());
    SetFocus(GetDlgItem(FWindow.get(), IDNO));
}

bool KeepModeWindow::PreTranslate(MSG& msg) noexcept {
    return FWindow && IsDialogMessageW(FWindow.get(), &msg) != FALSE;
}

void KeepModeWindow::ShowCountdown() noexcept {
    const ULONGLONG now = GetTickCount64();
    const int left = now >= FDeadline ? 0 : static_cast<int>((FDeadline - now + 999) / 1000);
    if (left == FSecondsShown) return;
    FSecondsShown = left;
    SetWindowTextW(FCountdown, KeepModeCountdown(left).c_str());
}

void KeepModeWindow::Tick() {
    ShowCountdown();
    if (FSecondsShown <= 0) GiveBack();
}

void KeepModeWindow::Keep() {
    FAnswered = true;
    const LONG result = ChangeMode(FChosen, CDS_UPDATEREGISTRY);
    // A mode that cannot be kept for good is not kept for the session either.
    if (result != DISP_CHANGE_SUCCESSFUL) ChangeMode(FPrevious, 0);
    FWindow.reset();
    if (result != DISP_CHANGE_SUCCESSFUL) ReportDisplayChangeFailure(FOwner, FCaption, result);
}

void KeepModeWindow::GiveBack() {
    FAnswered = true;
    const LONG result = ChangeMode(FPrevious, 0);
    FWindow.reset();
    if (result != DISP_CHANGE_SUCCESSFUL) ReportDisplayChangeFailure(FOwner, CaptionOf(FPrevious), result);
}

LRESULT KeepModeWindow::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam == kTimerId && FWindow) Tick();
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_SETFOCUS) {
            // The focused button is the one Enter presses, and looks it.
            for (const int id : {IDYES, IDNO})
                SendMessageW(GetDlgItem(window, id), BM_SETSTYLE,
                             LOWORD(wParam) == id ? BS_DEFPUSHBUTTON | BS_NOTIFY : BS_PUSHBUTTON | BS_NOTIFY,
                             TRUE);
            return 0;
        }
        if (LOWORD(wParam) == IDYES) Keep();
        if (LOWORD(wParam) == IDNO || LOWORD(wParam) == IDCANCEL) GiveBack();
        return 0;
    case DM_GETDEFID: {
        const HWND focus = GetFocus();
        const int id = focus && GetParent(focus) == window ? GetDlgCtrlID(focus) : IDNO;
        return MAKELRESULT(id == IDYES ? IDYES : IDNO, DC_HASDEFID);
    }
    case WM_CLOSE:
        GiveBack();
        return 0;
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_DESTROY:
        KillTimer(window, kTimerId);
        // Closed unanswered (the program quits): the mode from before comes back all the same.
        if (!FAnswered) {
            FAnswered = true;
            const LONG result = ChangeMode(FPrevious, 0);
            if (result != DISP_CHANGE_SUCCESSFUL)
                LogFailure(L"ChangeDisplaySettingsW", CaptionOf(FPrevious),
                           static_cast<unsigned long>(result));
        }
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace trellane
