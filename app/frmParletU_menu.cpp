// The tray icon and its menu: what the user reaches while the program is resident, and the right
// click on the logo that opens the same menu.
#include "frmParletU.h"

#include "application.h"
#include "gui_benri.h"
#include "resource_ids.h"
#include "trace.h"
#include "tray_commands.h"

namespace trellane {

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

} // namespace trellane
