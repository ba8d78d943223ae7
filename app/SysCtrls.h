// SysCtrls: a small component model (owners that free what they own, free notification, loading
// of stored properties) and the two components the resident program is made of: the popup menu and
// the tray icon TIconTray, which keeps one icon in the notification area, raises mouse events for it
// and opens a popup menu at the cursor.
//
// Glossary (README.md has every unusual name of the program):
//   SysCtrls      "system controls": this unit, the components that are not windows of the panel
//   T...          a class of the component model (TComponent, TIconTray, TPopupMenu, TMenuItem)
//   TComponent    owns the components made with it as their owner and frees them, last made first
//   TWinComponent a component with a window; TFormComponent is the main form as one
//   TApplicationLink  what a component may ask of the application: its hidden window and whether
//                 the main form shows at start
//   Designing, Loading  a form designer's states: never designing at run time; loading while
//                 ReadProperties assigns the stored properties
//   TIconTray     the tray icon (its hidden window: FTrayWindow); RBtnPopupMenu and LBtnPopupMenu
//                 are the menus the right and the left button open
//   TMessage      a message as the tray window's procedure sees it
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bound_window.h"
#include "raii.h"
#include "tray_rules.h"

namespace trellane {

// ---- Component model --------------------------------------------------------------------------------

enum class TOperation { opInsert, opRemove };

// What a component may ask of the application it runs in: its own hidden top-level window, and
// whether the main form is shown when the message loop starts.
class TApplicationLink {
public:
    TApplicationLink(HWND handle, std::function<void(bool)> setShowMainForm)
        : FHandle(handle), FSetShowMainForm(std::move(setShowMainForm)) {}
    HWND Handle() const noexcept { return FHandle; }
    void SetShowMainForm(bool show) const {
        if (FSetShowMainForm) FSetShowMainForm(show);
    }

private:
    HWND FHandle;
    std::function<void(bool)> FSetShowMainForm;
};

// The base of every component. A component created with an owner is freed by that owner (last
// created first) unless it is deleted earlier; one without an owner belongs to whoever made it.
// Components that refer to each other ask for free notification, so that a reference is cleared when
// its target goes away.
class TComponent {
public:
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const noexcept { return FOwner; }
    std::size_t ComponentCount() const noexcept { return FComponents.size(); }
    TComponent* Components(std::size_t index) const { return FComponents.at(index); }
    const std::wstring& Name() const noexcept { return FName; }
    void SetName(std::wstring name) { FName = std::move(name); }

    // The design state belongs to a form designer; this program has none, so it stays false at run
    // time. A component made by an owner in the design state is in it too.
    bool Designing() const noexcept { return FDesigning; }
    // True while stored properties are being assigned (ReadProperties).
    bool Loading() const noexcept { return FLoading; }

    // Both components are told (Notification with opRemove) when the other one is freed.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Reads this component and the ones it owns as a form resource does: assign() sets the stored
    // properties in their stored order, then Loaded runs for this component and for each owned one.
    void ReadProperties(const std::function<void()>& assign);

    // The application this component runs in, as its owner knows it; null when none is known.
    virtual const TApplicationLink* Application() const;

protected:
    // Runs once all stored properties have been assigned.
    virtual void Loaded() {}
    // Called when a component this one watches (owned, or registered for free notification) is
    // inserted or removed.
    virtual void Notification(TComponent* component, TOperation operation);
    // The first step of destruction: frees the owned components and tells the owner and the watchers.
    // Each derived destructor calls it first, while the whole object still exists; the base
    // destructor calls it for classes that do not.
    void Destroying() noexcept;
    void SetDesigning(bool designing) noexcept { FDesigning = designing; }

private:
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component) noexcept;
    void DestroyComponents() noexcept;
    void SetLoading(bool loading) noexcept;
    void LoadedTree();

    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    std::wstring FName;
    bool FDesigning = false;
    bool FLoading = false;
    bool FDestroying = false;
};

// A component with a window of its own. The tray icon's owner must be one: the popup menu reports
// the chosen command to that window.
class TWinComponent : public TComponent {
public:
    using TComponent::TComponent;
    virtual HWND Handle() const = 0;
    // A form ends any mouse mode of its active control before a menu opens over it.
    virtual bool IsForm() const { return false; }
    virtual void SendCancelMode() {}
};

// A form as the components it owns see it: its window, its application, and the cancel-mode request
// that goes to its focused control.
class TFormComponent final : public TWinComponent {
public:
    TFormComponent(HWND form, TApplicationLink application);
    ~TFormComponent() override;
    HWND Handle() const override { return FForm; }
    bool IsForm() const override { return true; }
    void SendCancelMode() override;
    const TApplicationLink* Application() const override { return &FApplication; }

private:
    HWND FForm;
    TApplicationLink FApplication;
};

// ---- Icon image ---------------------------------------------------------------------------------------

// An icon image that owns its handle; copying an image copies the icon.
class TIcon {
public:
    TIcon() noexcept = default;
    explicit TIcon(HICON owned) noexcept : FHandle(owned) {}
    // A size of an icon resource of the module, or an empty image when there is none.
    static TIcon FromResource(HINSTANCE module, int resourceId, int width, int height) noexcept;

    void Assign(const TIcon& source) noexcept;
    bool Empty() const noexcept { return !FHandle; }
    HICON Handle() const noexcept { return FHandle.get(); }

private:
    UniqueIcon FHandle;
};

// ---- Popup menu --------------------------------------------------------------------------------------

class TPopupMenu;

// One item of a popup menu; an item with items of its own opens a submenu. The caption "-" makes a
// separator line.
class TMenuItem {
public:
    using TClickEvent = std::function<void(TMenuItem& sender)>;

    TMenuItem(std::wstring name, std::wstring caption, TClickEvent onClick = {}, std::intptr_t tag = 0);
    TMenuItem(const TMenuItem&) = delete;
    TMenuItem& operator=(const TMenuItem&) = delete;

    const std::wstring& Name() const noexcept { return FName; }
    const std::wstring& Caption() const noexcept { return FCaption; }
    std::intptr_t Tag() const noexcept { return FTag; }
    // The command identifier the menu reports when this item is chosen (unique in the process).
    UINT Command() const noexcept { return FCommand; }
    bool IsLine() const { return FCaption == L"-"; }

    // Appends an item owned by this one and returns it.
    TMenuItem& Add(std::wstring name, std::wstring caption, TClickEvent onClick = {}, std::intptr_t tag = 0);
    std::size_t Count() const noexcept { return FItems.size(); }
    TMenuItem& Items(std::size_t index) const { return *FItems.at(index); }
    TMenuItem* Parent() const noexcept { return FParent; }
    // This item or the one below it with that command, or null.
    TMenuItem* FindCommand(UINT command) noexcept;

    // Runs the click handler, if one is assigned.
    void Click();

    TClickEvent OnClick;

private:
    friend class TPopupMenu;
    void Changed() noexcept;
    void AppendTo(HMENU menu) const;

    std::wstring FName;
    std::wstring FCaption;
    std::intptr_t FTag;
    UINT FCommand;
    TMenuItem* FParent = nullptr;
    TPopupMenu* FMenu = nullptr;
    std::vector<std::unique_ptr<TMenuItem>> FItems;
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    // The invisible root item; the menu shows its items.
    TMenuItem& Items() noexcept { return FItems; }
    // A menu whose AutoPopup is false is not opened by the components that refer to it.
    bool AutoPopup() const noexcept { return FAutoPopup; }
    void SetAutoPopup(bool value) noexcept { FAutoPopup = value; }

    // The system menu, built anew after the items have changed.
    HMENU Handle();
    // Shows the menu at the screen point and returns when it has closed; the chosen item's command
    // goes to commandWindow as WM_COMMAND.
    void Popup(int x, int y, HWND commandWindow);
    // Runs the click handler of the item with that command. False when no item has it.
    bool DispatchCommand(UINT command);

    // Raised just before the menu opens.
    std::function<void(TPopupMenu& sender)> OnPopup;

private:
    friend class TMenuItem;
    TMenuItem FItems;
    UniqueMenu FHandle;
    bool FChanged = true;
    bool FAutoPopup = true;
};

// ---- Tray icon ----------------------------------------------------------------------------------------

// The shell's tray record in its first form: 88 bytes (104 in the x64 edition, whose handles are
// 8 bytes wide) with a 64-byte ANSI tooltip. It is the NOTIFYICONDATAA layout cut after szTip, so
// every shell version accepts it.
struct NotifyIconDataV1 {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    CHAR szTip[64];
};
constexpr DWORD kNotifyIconDataV1Size = sizeof(void*) == 8 ? 104 : 88;
static_assert(sizeof(NotifyIconDataV1) == kNotifyIconDataV1Size,
              "the first tray record is 88 (x64: 104) bytes");
static_assert(offsetof(NotifyIconDataV1, szTip) == offsetof(NOTIFYICONDATAA, szTip),
              "same layout as the shell's");
static_assert(offsetof(NotifyIconDataV1, hIcon) == offsetof(NOTIFYICONDATAA, hIcon),
              "same layout as the shell's");

// Every Shell_NotifyIconA call of the tray component goes through this function; tests put an
// observer in its place. Returns the function that was in place.
using ShellNotifyIconFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAA data);
ShellNotifyIconFunction SetShellNotifyIconFunction(ShellNotifyIconFunction function) noexcept;
// The same for the balloon, which only the wide record's later forms carry (Shell_NotifyIconW).
using ShellNotifyIconWFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAW data);
ShellNotifyIconWFunction SetShellNotifyIconWFunction(ShellNotifyIconWFunction function) noexcept;

// The wide tray record in its second form, the first that carries a balloon (szInfo, 256
// characters with the terminating zero; szInfoTitle, 64).
constexpr DWORD kNotifyIconDataV2Size = static_cast<DWORD>(offsetof(NOTIFYICONDATAW, guidItem));
static_assert(kNotifyIconDataV2Size == (sizeof(void*) == 8 ? 952 : 936), "the wide record's second form");

class TIconTray final : public TComponent, private BoundWindow {
public:
    using TNotifyEvent = std::function<void(TComponent* sender)>;
    using TMouseEvent =
        std::function<void(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y)>;
    using TMouseMoveEvent = std::function<void(TComponent* sender, TShiftState shift, int x, int y)>;

    explicit TIconTray(TComponent* owner);
    ~TIconTray() override;

    // Published properties, in the order a form resource stores them.
    const TIcon& Icon() const noexcept { return FIcon; }
    void SetIcon(const TIcon& value);
    bool HideMainForm() const noexcept { return FHideMainForm; }
    void SetHideMainForm(bool value) noexcept { FHideMainForm = value; }
    // The tooltip in the ANSI code page, at most 63 bytes.
    const std::string& Hint() const noexcept { return FHint; }
    // Converted to the ANSI code page, then stored and shown as SetHintBytes does.
    void SetHint(std::wstring_view value);
    void SetHintBytes(std::string_view ansiValue);
    TPopupMenu* RBtnPopupMenu() const noexcept { return FRBtnPopupMenu; }
    void SetRBtnPopupMenu(TPopupMenu* value);
    TPopupMenu* LBtnPopupMenu() const noexcept { return FLBtnPopupMenu; }
    void SetLBtnPopupMenu(TPopupMenu* value);
    bool ShowHint() const noexcept { return FShowHint; }
    void SetShowHint(bool value);
    // A balloon at the icon with a title and a text, each cut to what the shell's record holds.
    // False when no icon is shown or the shell refused.
    bool ShowBalloon(std::wstring_view title, std::wstring_view text) noexcept;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

    static constexpr const wchar_t* kWindowClass = L"TIconTrayWindow";

protected:
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    // A message as the callback window's procedure sees it; Result starts at 0.
    struct TMessage {
        UINT Msg;
        WPARAM WParam;
        LPARAM LParam;
        LRESULT Result;
    };

    void WindowBound(HWND window) noexcept override;
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void WindowUnbound() noexcept override;
    void TrayWndProc(TMessage& message);
    void UpdateIcon(bool show);
    void FillIconData() noexcept;
    void CallShell(DWORD message) noexcept;
    void AddAgainAfterShellRestart();
    void PopupAtCursor(POINT position, TPopupMenu* menu);
    void SetPopupMenu(TPopupMenu*& property, TPopupMenu* value);

    std::uint32_t FIconID;
    UniqueWindow FTrayWindow;
    bool FIconShown = false;
    NotifyIconDataV1 FIconData{};

    TIcon FIcon;
    bool FHideMainForm = false;
    std::string FHint;
    TPopupMenu* FRBtnPopupMenu = nullptr;
    TPopupMenu* FLBtnPopupMenu = nullptr;
    bool FShowHint = true;
};

} // namespace trellane
