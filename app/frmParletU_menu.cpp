// The tray icon and its menu: what the user reaches while the program is resident, and the right
// click on the logo that opens the same menu.
#include "frmParletU.h"

#include "application.h"
#include "gui_benri.h"
#include "pick_dialog.h"
#include "resource_ids.h"
#include "trace.h"
#include "tray_commands.h"

namespace trellane {

namespace {

constexpr wchar_t kAlreadyListed[] = L"」は、もう除外リストにあります。";
constexpr wchar_t kUnlistable[] =
    L"」は、除外リストの文字コードで書けない名前か、.exe で終わるクラス名のため、除外リストに加えられません。";
constexpr wchar_t kListWriteError[] = L" に書き込めません。除外リストは変わっていません。";

} // namespace

// Called as the form is loaded, after its controls and before FormCreate: the components exist and
// the icon is in the notification area by the time the settings are read.
void TfrmTrellane::CreateTrayAndMenu() {
    FComponents = std::make_unique<TFormComponent>(
        FHandle,
        TApplicationLink(FApplication.Handle(), [this](bool show) { FApplication.ShowMainForm = show; }));

    // In the order of the form resource: the tray first, then its menu. FComponents owns both and
    // frees them in the opposite order.
    tray = new TIconTray(FComponents.get());
    tray->SetName(L"tray");
    PopupMenu1 = new TPopupMenu(FComponents.get());
    PopupMenu1->SetName(L"PopupMenu1");

    // The items own what is added to them; the form keeps only the one it fills later.
    TMenuItem& items = PopupMenu1->Items();
    items.Add(L"popSetting", L"Trellaneのパネルを開く(&S)", [this](TMenuItem&) { popSettingClick(); });
    items.Add(L"N4", L"-");
    TMenuItem& popAbout = items.Add(L"popAbout", L"折りたたみ");
    popAbout.Add(L"popMacFree", L"折りたたんだウィンドウを全て戻す(&O)",
                 [this](TMenuItem&) { popMacFreeClick(); });
    popAbout.Add(L"popMacFreeClose", L"折りたたんだウィンドウを終了させる(&C)",
                 [this](TMenuItem&) { popMacFreeCloseClick(); });
    popAbout.Add(L"N9", L"-");
    popAbout.Add(L"mnuMinimize", L"全てのウィンドウを最小化", [](TMenuItem&) { mnuMinimizeClick(); });
    // Its items come from the display-mode menu (FDisplayModes).
    mnuDisplay = &items.Add(L"mnuDisplay", L"画面解像度の変更(&G)");
    TMenuItem& N6 = items.Add(L"N6", L"おまけ");
    N6.Add(L"mnuAllMinimize", L"デスクトップ画面の表示", [](TMenuItem&) { mnuAllMinimizeClick(); });
    N6.Add(L"N8", L"-");
    N6.Add(L"mnuNotepad", L"メモ帳", [](TMenuItem&) { mnuNotepadClick(); });
    N6.Add(L"mnuCalc", L"電卓", [](TMenuItem&) { mnuCalcClick(); });
    N6.Add(L"mnuExp", L"エクスプローラー", [](TMenuItem&) { mnuExpClick(); });
    N6.Add(L"N7", L"-");
    N6.Add(L"mnuZeph", L"作者のホームページ", [](TMenuItem&) { mnuZephClick(); });
    // Last before closing: a tool used now and then.
    items.Add(L"popPick", L"除外するウィンドウを選ぶ", [this](TMenuItem&) { popPickClick(); });
    items.Add(L"N1", L"-");
    items.Add(L"popClose", L"閉じる(&C)", [this](TMenuItem&) { popCloseClick(); });

    // The stored properties of the tray; HideMainForm and ShowHint keep their defaults.
    FComponents->ReadProperties([this] {
        // The size the notification area shows, so a scaled screen gets an image drawn for it.
        tray->SetIcon(TIcon::FromResource(FApplication.Instance(), IDI_TRAY, GetSystemMetrics(SM_CXSMICON),
                                          GetSystemMetrics(SM_CYSMICON)));
        tray->SetHint(L"Trellane");
        tray->SetRBtnPopupMenu(PopupMenu1);
        tray->SetLBtnPopupMenu(PopupMenu1);
    });
}

void TfrmTrellane::OnContextMenu(HWND source, POINT at) {
    if (source != Image1 || !PopupMenu1 || !PopupMenu1->AutoPopup()) return;
    // A context-menu key press carries no position; the menu then opens at the cursor.
    if (at.x == -1 && at.y == -1) GetCursorPos(&at);
    FComponents->SendCancelMode();
    PopupMenu1->Popup(at.x, at.y, FHandle);
}

void TfrmTrellane::OnMenuCommand(int id) {
    if (!PopupMenu1 || id <= 0) return;
    PopupMenu1->DispatchCommand(static_cast<UINT>(id));
}

void TfrmTrellane::popSettingClick() {
    // Undoes the scroll bar's translucency preview: the panel comes back opaque.
    SetWindowLongW(FHandle, GWL_EXSTYLE, GetWindowLongW(FHandle, GWL_EXSTYLE) & ~WS_EX_LAYERED);
    RedrawWindow(FHandle, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    Show();
}

void TfrmTrellane::popCloseClick() {
    PostMessageW(FHandle, WM_CLOSE, 0, 0);
}

void TfrmTrellane::popMacFreeClick() noexcept {
    if (FCommands) FCommands->UnfoldAll();
}

void TfrmTrellane::popMacFreeCloseClick() {
    if (FCommands) FCommands->CloseAllFolded();
}

void TfrmTrellane::popPickClick() {
    if (FCommands) FCommands->BeginPick([this](HWND window) { PickedWindowClick(window); });
}

void TfrmTrellane::PickedWindowClick(HWND window) {
    const PickedWindow picked = DescribePicked(window);
    PickDialog dialog(picked);
    const PickChoice choice = dialog.Ask(FHandle);
    if (choice == PickChoice::Cancel || !FCommands) return;
    const bool program = choice == PickChoice::Program;
    const std::wstring& name = program ? picked.program : picked.className;
    ExclusionFile& list = FCommands->Exclusions();
    std::wstring text;
    switch (list.Append(name, program)) {
    case AppendResult::Added:
        return;
    case AppendResult::AlreadyListed:
        text = L"「" + name + kAlreadyListed;
        break;
    case AppendResult::Unlistable:
        text = L"「" + name + kUnlistable;
        break;
    case AppendResult::Failed:
        text = list.Path() + kListWriteError;
        break;
    }
    MessageBoxW(nullptr, text.c_str(), FApplication.Title().c_str(), MB_OK | MB_ICONWARNING | MB_TASKMODAL);
}

} // namespace trellane
