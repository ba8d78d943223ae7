// The form's events: creation, showing, closing and the end of the session, and the handlers of
// the panel's controls.
#include "frmParletU.h"

#include "application.h"
#include "color_table.h"
#include "gui_benri.h"
#include "hook_shared.h"
#include "maker_page.h"
#include "settings_value.h"
#include "shell_rules.h"
#include "trace.h"
#include "translucency.h"
#include "window_translucency.h"

namespace trellane {

namespace {

constexpr wchar_t kStartupLinkName[] = L"trellane.lnk";
constexpr wchar_t kExclusionListName[] = L"tools\\除外リスト.txt";
constexpr wchar_t kHelpFileName[] = L"ReadMe.txt";
constexpr wchar_t kResidentNotice[] =
    L"今からTrellaneは、タスクトレイに常駐します。\r\n終了するときはトレイの[G]のアイコンをクリックしてください。";
constexpr wchar_t kWriteErrorFormat[] = L" に書き込めません";
// A Japanese sentence ends with the ideographic full stop.
constexpr wchar_t kFullStop[] = L"。";
constexpr wchar_t kHookUnavailable[] =
    L"マウスフックを開始できないため、ウィンドウの操作（グリッドへの吸着、半透明、折りたたみ、最前面）は使えません。";
// Either cause: the library's shared memory could not be opened, or Windows refused the hook itself.
constexpr wchar_t kHookUnavailableReason[] = L"考えられる原因: フックの共有メモリ「";
constexpr wchar_t kHookUnavailableReasonEnd[] =
    L"」を別のプログラムが使っている、または Windows がマウスフックの登録を受け付けなかった。";
constexpr wchar_t kStartupWriteError[] = L"スタートアップのショートカットを作成できません: ";
constexpr wchar_t kStartupDeleteError[] = L"スタートアップのショートカットを削除できません: ";
std::wstring WideFromAscii(const char* text) {
    std::wstring wide;
    for (; *text; ++text)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(*text));
    return wide;
}

// InstallHook failed: the user is told that window commands are not available, and why.
void ReportHookUnavailable(const std::wstring& title) {
    const std::wstring text = std::wstring(kHookUnavailable) + L"\r\n" + kHookUnavailableReason +
                              WideFromAscii(VELLUM_HOOK_MAPPING_NAME) + kHookUnavailableReasonEnd;
    MessageBoxW(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONWARNING | MB_TASKMODAL);
}

void SelectColor(HWND list, ColorValue color) {
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(ColorIndexOf(color)), 0);
}

void SetFormAlpha(HWND form, std::int32_t level) {
    SetWindowLongW(form, GWL_EXSTYLE, GetWindowLongW(form, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(form, 0, AlphaForLevel(level), LWA_ALPHA);
}

} // namespace

// ---- Creation, showing, closing ------------------------------------------------------------

void TfrmTrellane::FormCreate() {
    FShowResidentNotice = true;
    FSettings = DefaultSettings();

    // Whatever this program's rights, the hook in the user's ordinary programs must be able to open
    // its section and reach this window.
    ShareHookSectionWithUser();
    LetHookNotificationsThrough(FHandle);
    // A second start by the user, without administrator rights, asks this copy for its panel.
    LetThroughFromLowerRights(FHandle, RegisterWindowMessageW(kShowPanelMessageName));
    // The hook is installed on a thread that only pumps messages: programs of the other bitness
    // are reached through calls to it. The library decides nothing by the grid settings it keeps:
    // SetGrid matters to it only for clearing its drag flag, which the end of a drag does again
    // with the settings read below.
    if (!FHook.Start(FHandle)) {
        LogFailure(L"InstallHook", L"hook thread");
        ReportHookUnavailable(FApplication.Title());
    }
    FHook.SetGrid(FSettings.useGrid, FSettings.gridWidth);
    FCommands = std::make_unique<WindowCommands>(FHandle, FSettings, FHook);
    FUnreachableNotice =
        std::make_unique<UnreachableWindowNotice>([this](std::wstring_view title, std::wstring_view text) {
            return tray && tray->ShowBalloon(title, text);
        });

    // An unresolvable Startup folder comes back as "\" alone: offer no shortcut rather than write one
    // at the root of the current drive.
    const std::wstring startupFolder = StartupFolderPath(FApplication.Handle());
    FStartupLink = startupFolder == L"\\" ? std::wstring() : startupFolder + kStartupLinkName;
    EnableWindow(chkStartup, FStartupLink.empty() ? FALSE : TRUE);

    const std::wstring iniPath = SettingsPathFor(ExecutablePath());
    FIni = SettingsFile(iniPath);
    if (FIni.Exists()) FShowResidentNotice = false;

    FSettings = FIni.Read();
    ShowSettings();
    SetWindowTextW(spnGridSize, FormatProfileInteger(FSettings.gridWidth).c_str());
    SelectColor(cmbColor, FSettings.gridColor);

    FCommands->LoadExclusionList(ExeDirectory() + kExclusionListName);

    if (mnuDisplay) FDisplayModes.Build(*mnuDisplay, FHandle);

    if (FSettings.autoHide) {
        FApplication.ShowMainForm = false;
        if (!SetTimer(FHandle, kTimerHideId, 1, nullptr)) LogFailure(L"SetTimer", L"auto-hide");
    }

    FHook.UseRightButton(FSettings.oritatami);
}

void TfrmTrellane::FormShow() {
    SetChecked(chkStartup, FileExists(FStartupLink));
}

void TfrmTrellane::FormClose() {
    FClosing = true;
    GiveBackWindows();
}

void TfrmTrellane::GiveBackWindows(bool sessionEnds) noexcept {
    if (FCommands) {
        FCommands->StopDragging();
        // At the end of a session the heights are waited for a moment at most, so that each program
        // saves its window's real size when it hears next that the session ends.
        if (sessionEnds)
            FCommands->UnfoldAllBeforeSessionEnds();
        else
            FCommands->UnfoldAll();
    }
    GiveBackTranslucency();
}

void TfrmTrellane::FormDestroy() {
    KillTimer(FHandle, kTimerHideId);
    if (FCommands) FCommands->StopDragging();
    if (!FSettingsWritten && !WriteSettings()) {
        // The rest of the shutdown is skipped; the system removes the hook with the process.
        return;
    }
    FCommands.reset();
    FHook.Stop();
}

bool TfrmTrellane::WriteSettings() {
    FSettingsWritten = FIni.Write(FSettings);
    if (FSettingsWritten) return true;
    const std::wstring text = FIni.Path() + kWriteErrorFormat + kFullStop;
    MessageBoxW(nullptr, text.c_str(), FApplication.Title().c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
    return false;
}

void TfrmTrellane::EndSession() {
    // Whichever of the two messages comes first does it; a quit already under way does it itself.
    if (FClosing) return;
    FClosing = true;
    FEndingSession = true;
    // Given back first: the windows are only asked, and their heights waited for a moment at most.
    GiveBackWindows(true);
    WriteSettings();
}

// ---- Panel handlers ----------------------------------------------------------------------------

void TfrmTrellane::btnOKClick() {
    if (FShowResidentNotice) {
        MessageBoxW(nullptr, kResidentNotice, FApplication.Title().c_str(), MB_OK | MB_TASKMODAL);
        FShowResidentNotice = false;
    }
    ShowWindow(FHandle, SW_HIDE);
}

void TfrmTrellane::timerHideTimer() {
    KillTimer(FHandle, kTimerHideId);
    btnOKClick();
}

void TfrmTrellane::btnCloseClick() {
    PostMessageW(FHandle, WM_CLOSE, 0, 0);
}

void TfrmTrellane::btnHelpClick() {
    ShellOpen(ExeDirectory() + kHelpFileName);
}

void TfrmTrellane::Label2Click() {
    ShellOpen(kMakerPage);
}

void TfrmTrellane::spnGridSizeChange() {
    wchar_t text[32] = {};
    GetWindowTextW(spnGridSize, text, 32);
    // Clamped even while the user types, so a pitch below the minimum never reaches the grid.
    FSettings.gridWidth = GridWidthFromSpinText(text);
}

void TfrmTrellane::cmbColorChange() {
    const auto index = SendMessageW(cmbColor, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return;
    FSettings.gridColor =
        static_cast<ColorValue>(SendMessageW(cmbColor, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

void TfrmTrellane::scrToumeiChange() {
    FSettings.toumei = FScrollPosition;
    // A preview: the panel itself shows the chosen translucency until it is opened again.
    SetFormAlpha(FHandle, FScrollPosition);
}

void TfrmTrellane::chkOritatamiClick() {
    // A pick under way still needs the right clicks.
    FHook.UseRightButton(FSettings.oritatami || (FCommands && FCommands->Picking()));
}

void TfrmTrellane::chkStartupClick() {
    if (FStartupLink.empty()) return;
    const bool checked = IsChecked(chkStartup);
    const bool done = checked ? CreateShortcut(FStartupLink, ExecutablePath(), L"", L"", LinkShow::Normal)
                              : DeleteFileIfExists(FStartupLink);
    if (done) return;
    LogFailure(checked ? L"CreateShortcut" : L"DeleteFileIfExists", FStartupLink);
    // The box goes back to what it was, and the user learns why.
    SendMessageW(chkStartup, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
    const std::wstring text = std::wstring(checked ? kStartupWriteError : kStartupDeleteError) + FStartupLink;
    MessageBoxW(nullptr, text.c_str(), FApplication.Title().c_str(), MB_OK | MB_ICONWARNING | MB_TASKMODAL);
}

} // namespace trellane
