#include "SysCtrls.h"

#include "raii.h"
#include "trace.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

namespace trellane {

namespace {

// Icon identifiers of the process: each tray component takes the next one, and none is given twice.
std::uint32_t TrayIconCounter = 0;

// Menu commands of the process start well above the panel's control identifiers, which reach the
// same WM_COMMAND handler of the form.
UINT MenuCommandCounter = 0x1000;

ShellNotifyIconFunction ShellNotifyIcon = Shell_NotifyIconA;
ShellNotifyIconWFunction ShellNotifyIconWide = Shell_NotifyIconW;

void EraseOne(std::vector<TComponent*>& list, const TComponent* component) noexcept {
    const auto found = std::find(list.begin(), list.end(), component);
    if (found != list.end()) list.erase(found);
}

// Sent by the shell to every top-level window when the taskbar has been (re)created, for example
// after the shell crashed: icons must be added again then.
UINT TaskbarCreatedMessage() noexcept {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

} // namespace

ShellNotifyIconFunction SetShellNotifyIconFunction(ShellNotifyIconFunction function) noexcept {
    return std::exchange(ShellNotifyIcon, function ? function : Shell_NotifyIconA);
}

ShellNotifyIconWFunction SetShellNotifyIconWFunction(ShellNotifyIconWFunction function) noexcept {
    return std::exchange(ShellNotifyIconWide, function ? function : Shell_NotifyIconW);
}

// ---- TComponent -----------------------------------------------------------------------------------

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
}

void TComponent::Destroying() noexcept {
    if (FDestroying) return;
    FDestroying = true;
    // Watchers first, newest first, each forgetting this component before it hears of the removal.
    std::vector<TComponent*> watchers;
    watchers.swap(FFreeNotifies);
    for (auto watcher = watchers.rbegin(); watcher != watchers.rend(); ++watcher) {
        EraseOne((*watcher)->FFreeNotifies, this);
        (*watcher)->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::InsertComponent(TComponent* component) {
    component->FOwner = this;
    if (FDesigning) component->FDesigning = true;
    FComponents.push_back(component);
    Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) noexcept {
    EraseOne(FComponents, component);
    component->FOwner = nullptr;
    Notification(component, TOperation::opRemove);
}

void TComponent::DestroyComponents() noexcept {
    // The last one made goes first, as a form frees its components.
    while (!FComponents.empty()) {
        TComponent* last = FComponents.back();
        delete last;
        if (!FComponents.empty() && FComponents.back() == last) FComponents.pop_back();
    }
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && component) RemoveFreeNotification(component);
    // The owner passes the news on to everything it owns, newest first.
    const std::vector<TComponent*> owned = FComponents;
    for (auto child = owned.rbegin(); child != owned.rend(); ++child) {
        if (*child != component) (*child)->Notification(component, operation);
    }
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
        FFreeNotifies.push_back(component);
    if (std::find(component->FFreeNotifies.begin(), component->FFreeNotifies.end(), this) ==
        component->FFreeNotifies.end())
        component->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component) return;
    EraseOne(FFreeNotifies, component);
    EraseOne(component->FFreeNotifies, this);
}

void TComponent::SetLoading(bool loading) noexcept {
    FLoading = loading;
    for (TComponent* child : FComponents)
        child->SetLoading(loading);
}

void TComponent::LoadedTree() {
    Loaded();
    const std::vector<TComponent*> owned = FComponents;
    for (TComponent* child : owned)
        child->LoadedTree();
}

void TComponent::ReadProperties(const std::function<void()>& assign) {
    {
        SetLoading(true);
        // Loading ends however the assignments end, an exception included.
        const ScopeExit endLoading([this]() noexcept { SetLoading(false); });
        if (assign) assign();
    }
    LoadedTree();
}

const TApplicationLink* TComponent::Application() const {
    return FOwner ? FOwner->Application() : nullptr;
}

// ---- TFormComponent -------------------------------------------------------------------------------

TFormComponent::TFormComponent(HWND form, TApplicationLink application)
    : TWinComponent(nullptr), FForm(form), FApplication(std::move(application)) {}

TFormComponent::~TFormComponent() {
    Destroying();
}

void TFormComponent::SendCancelMode() {
    // Only an active form has a control in a mouse mode (a capture, a drag) worth ending.
    if (GetActiveWindow() != FForm) return;
    const HWND focus = GetFocus();
    if (!focus || (focus != FForm && !IsChild(FForm, focus))) return;
    SendMessageW(focus, WM_CANCELMODE, 0, 0);
}

// ---- TIcon ------------------------------------------------------------------------------------------

TIcon TIcon::FromResource(HINSTANCE module, int resourceId, int width, int height) noexcept {
    return TIcon(static_cast<HICON>(
        LoadImageW(module, MAKEINTRESOURCEW(resourceId), IMAGE_ICON, width, height, LR_DEFAULTCOLOR)));
}

void TIcon::Assign(const TIcon& source) noexcept {
    if (&source == this) return;
    FHandle.reset(source.Empty() ? nullptr : CopyIcon(source.Handle()));
}

// ---- TMenuItem and TPopupMenu -------------------------------------------------------------------------

TMenuItem::TMenuItem(std::wstring name, std::wstring caption, TClickEvent onClick, std::intptr_t tag)
    : OnClick(std::move(onClick)), FName(std::move(name)), FCaption(std::move(caption)), FTag(tag),
      FCommand(MenuCommandCounter++) {}

TMenuItem& TMenuItem::Add(std::wstring name, std::wstring caption, TClickEvent onClick, std::intptr_t tag) {
    auto item = std::make_unique<TMenuItem>(std::move(name), std::move(caption), std::move(onClick), tag);
    item->FParent = this;
    item->FMenu = FMenu;
    FItems.push_back(std::move(item));
    Changed();
    return *FItems.back();
}

TMenuItem* TMenuItem::FindCommand(UINT command) noexcept {
    if (FCommand == command) return this;
    for (const auto& item : FItems) {
        if (TMenuItem* found = item->FindCommand(command)) return found;
    }
    return nullptr;
}

void TMenuItem::Click() {
    if (OnClick) OnClick(*this);
}

void TMenuItem::Changed() noexcept {
    if (FMenu) FMenu->FChanged = true;
}

void TMenuItem::AppendTo(HMENU menu) const {
    if (IsLine()) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        return;
    }
    if (FItems.empty()) {
        AppendMenuW(menu, MF_STRING, FCommand, FCaption.c_str());
        return;
    }
    UniqueMenu submenu(CreatePopupMenu());
    if (!submenu) return;
    for (const auto& item : FItems)
        item->AppendTo(submenu.get());
    // From here the parent menu owns the submenu and destroys it with itself.
    if (AppendMenuW(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.get()), FCaption.c_str()))
        submenu.release();
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), FItems(L"", L"") {
    FItems.FMenu = this;
}

TPopupMenu::~TPopupMenu() {
    Destroying();
}

HMENU TPopupMenu::Handle() {
    if (FHandle && !FChanged) return FHandle.get();
    FHandle.reset(CreatePopupMenu());
    if (!FHandle) return nullptr;
    for (std::size_t i = 0; i < FItems.Count(); ++i)
        FItems.Items(i).AppendTo(FHandle.get());
    FChanged = false;
    return FHandle.get();
}

void TPopupMenu::Popup(int x, int y, HWND commandWindow) {
    if (OnPopup) OnPopup(*this);
    const HMENU menu = Handle();
    if (!menu) return;
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, commandWindow, nullptr);
}

bool TPopupMenu::DispatchCommand(UINT command) {
    TMenuItem* item = FItems.FindCommand(command);
    if (!item || item == &FItems) return false;
    item->Click();
    return true;
}

// ---- TIconTray ----------------------------------------------------------------------------------------

TIconTray::TIconTray(TComponent* owner)
    : TComponent(owner), BoundWindow(L"TIconTray::TrayWndProc"), FIconID(++TrayIconCounter) {
    if (Designing()) return;
    static const bool registered = RegisterBoundClass(kWindowClass);
    if (!registered) return;
    // A top-level window, never shown: unlike a message-only window it hears the shell's
    // TaskbarCreated broadcast. Its procedure binds it to this instance (FTrayWindow) as it is made.
    if (!CreateBoundWindow(WS_EX_TOOLWINDOW, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                           GetModuleHandleW(nullptr))) {
        LogFailure(L"CreateWindowExW", kWindowClass);
        return;
    }
    // The shell runs with ordinary rights: run as administrator, the icon must still come back when
    // it restarts.
    if (!ChangeWindowMessageFilterEx(FTrayWindow.get(), TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr))
        LogFailure(L"ChangeWindowMessageFilterEx", L"TaskbarCreated");
}

TIconTray::~TIconTray() {
    UpdateIcon(false);
    FTrayWindow.reset();
    FIcon = TIcon();
    Destroying();
}

void TIconTray::SetIcon(const TIcon& value) {
    FIcon.Assign(value);
    UpdateIcon(true);
}

void TIconTray::SetHint(std::wstring_view value) {
    std::string ansi;
    if (!value.empty()) {
        const int length = static_cast<int>(value.size());
        const int bytes = WideCharToMultiByte(CP_ACP, 0, value.data(), length, nullptr, 0, nullptr, nullptr);
        if (bytes > 0) {
            ansi.resize(static_cast<std::size_t>(bytes));
            WideCharToMultiByte(CP_ACP, 0, value.data(), length, ansi.data(), bytes, nullptr, nullptr);
        }
    }
    SetHintBytes(ansi);
}

void TIconTray::SetHintBytes(std::string_view ansiValue) {
    if (ansiValue == FHint) return;
    FHint = CutTrayHint(ansiValue, [](unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; });
    UpdateIcon(true);
}

void TIconTray::SetPopupMenu(TPopupMenu*& property, TPopupMenu* value) {
    property = value;
    if (value) value->FreeNotification(this);
}

void TIconTray::SetRBtnPopupMenu(TPopupMenu* value) {
    SetPopupMenu(FRBtnPopupMenu, value);
}

void TIconTray::SetLBtnPopupMenu(TPopupMenu* value) {
    SetPopupMenu(FLBtnPopupMenu, value);
}

void TIconTray::SetShowHint(bool value) {
    if (value == FShowHint) return;
    FShowHint = value;
    UpdateIcon(true);
}

bool TIconTray::ShowBalloon(std::wstring_view title, std::wstring_view text) noexcept {
    if (Designing() || !FIconShown) return false;
    NOTIFYICONDATAW data{};
    data.cbSize = kNotifyIconDataV2Size;
    // The icon is named as it was added; only the balloon changes.
    data.hWnd = FTrayWindow.get();
    data.uID = FIconID;
    data.uFlags = NIF_INFO;
    const std::size_t textLength = std::min(text.size(), std::size(data.szInfo) - 1);
    std::copy_n(text.data(), textLength, data.szInfo);
    const std::size_t titleLength = std::min(title.size(), std::size(data.szInfoTitle) - 1);
    std::copy_n(title.data(), titleLength, data.szInfoTitle);
    data.dwInfoFlags = NIIF_WARNING;
    if (ShellNotifyIconWide(NIM_MODIFY, &data)) return true;
    LogFailure(L"Shell_NotifyIconW", L"balloon");
    return false;
}

void TIconTray::Loaded() {
    TComponent::Loaded();
    if (Designing()) return;
    if (FHideMainForm) {
        if (const TApplicationLink* application = Application()) {
            application->SetShowMainForm(false);
            ShowWindow(application->Handle(), SW_HIDE);
        }
    }
    UpdateIcon(true);
}

void TIconTray::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    // The menus announce their removal from their own destructors, while they are still whole, so
    // these pointers compare as the menus they were.
    if (FRBtnPopupMenu && component == FRBtnPopupMenu) FRBtnPopupMenu = nullptr;
    if (FLBtnPopupMenu && component == FLBtnPopupMenu) FLBtnPopupMenu = nullptr;
}

void TIconTray::FillIconData() noexcept {
    FIconData = NotifyIconDataV1{};
    FIconData.cbSize = kNotifyIconDataV1Size;
    FIconData.hWnd = FTrayWindow.get();
    FIconData.uID = FIconID;
    // The tooltip flag stays on without a hint: an empty tooltip is how the hint is switched off.
    FIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    FIconData.uCallbackMessage = kTrayCallbackMessage;
    FIconData.hIcon = FIcon.Handle();
    if (FShowHint) std::memcpy(FIconData.szTip, FHint.data(), std::min(FHint.size(), kMaxTrayHintBytes));
}

void TIconTray::CallShell(DWORD message) noexcept {
    // The shell's answer is not examined: a refused request has no remedy here.
    ShellNotifyIcon(message, reinterpret_cast<PNOTIFYICONDATAA>(&FIconData));
}

void TIconTray::UpdateIcon(bool show) {
    if (Designing()) return;
    if (show && FIcon.Empty()) show = false;
    if (show) {
        FillIconData();
        CallShell(FIconShown ? NIM_MODIFY : NIM_ADD);
    } else if (FIconShown) {
        CallShell(NIM_DELETE);
    }
    FIconShown = show;
}

void TIconTray::AddAgainAfterShellRestart() {
    if (Designing() || !FIconShown) return;
    FillIconData();
    CallShell(NIM_ADD);
}

void TIconTray::WindowBound(HWND window) noexcept {
    FTrayWindow.reset(window);
}

void TIconTray::WindowUnbound() noexcept {
    FTrayWindow.release();
}

LRESULT TIconTray::WndProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    TMessage record{message, wParam, lParam, 0};
    TrayWndProc(record);
    return record.Result;
}

void TIconTray::TrayWndProc(TMessage& message) {
    if (message.Msg == TaskbarCreatedMessage()) {
        AddAgainAfterShellRestart();
        return;
    }
    if (message.Msg != kTrayCallbackMessage) {
        message.Result = DefWindowProcW(FTrayWindow.get(), message.Msg, message.WParam, message.LParam);
        return;
    }
    // The shell's callback: WParam names the icon, which is always ours. Events report where the
    // cursor is now, not a position from the message.
    POINT cursor{};
    GetCursorPos(&cursor);
    const TShiftState shift =
        ShiftStateFrom([](int key) { return static_cast<std::int16_t>(GetKeyState(key)); });
    const int x = cursor.x;
    const int y = cursor.y;
    for (const TrayStep& step : TrayStepsFor(static_cast<std::uint32_t>(message.LParam))) {
        const TShiftState stepShift = step.doubleClick ? shift + TShift::ssDouble : shift;
        switch (step.action) {
        case TrayAction::MouseMove:
            if (OnMouseMove) OnMouseMove(this, stepShift, x, y);
            break;
        case TrayAction::MouseDown:
            if (OnMouseDown) OnMouseDown(this, step.button, stepShift, x, y);
            break;
        case TrayAction::MouseUp:
            if (OnMouseUp) OnMouseUp(this, step.button, stepShift, x, y);
            break;
        case TrayAction::Click:
            if (OnClick) OnClick(this);
            break;
        case TrayAction::DblClick:
            if (OnDblClick) OnDblClick(this);
            break;
        case TrayAction::PopupLeftMenu:
            PopupAtCursor(cursor, FLBtnPopupMenu);
            break;
        case TrayAction::PopupRightMenu:
            PopupAtCursor(cursor, FRBtnPopupMenu);
            break;
        }
    }
}

void TIconTray::PopupAtCursor(POINT position, TPopupMenu* menu) {
    if (Designing() || !menu || !menu->AutoPopup()) return;
    auto* owner = dynamic_cast<TWinComponent*>(Owner());
    // Without a window there is nobody to hear the chosen command.
    if (!owner) return;
    if (owner->IsForm()) owner->SendCancelMode();
    // A menu of a background window would not close when the user clicks elsewhere.
    SetForegroundWindow(owner->Handle());
    menu->Popup(position.x, position.y, owner->Handle());
    // The owner must see one more message after the menu, or the next click on the icon opens a menu
    // that cannot be dismissed.
    PostMessageW(owner->Handle(), WM_NULL, 0, 0);
}

} // namespace trellane
