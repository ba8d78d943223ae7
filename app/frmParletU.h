// The main form: the settings panel the user sees, the owner of the tray icon and its menu, and the
// window that receives the hook library's notifications and acts on other programs' windows.
//
// Glossary: what the form's unusual names hold (README.md lists every one of the program's).
//   frmParletU    this unit (frm: a form, U: a unit): TfrmTrellane over four files: frmParletU.cpp
//                 (the panel's window and controls), _events (start-up, shutdown and the panel's
//                 handlers), _menu (the tray menu; its extras are tray_commands.h), _dpi (scaling);
//                 what the form does to other windows is WindowCommands' (window_commands.h)
//   toumei        Japanese "transparent": the translucency level (Settings::toumei, scrToumei) and
//                 translucent dragging (chkMoveToumei)
//   oritatami     Japanese "folding": the right-click commands, folding and always-on-top
//                 (chkOritatami)
//   Controls      prefixed by kind (chk check box, spn spin field, cmb list, scr scroll bar, btn
//                 button). Label1 the credit, Label2 the maker's web address, Label3 the title,
//                 Label7 "options for the title bar", Image1 the logo (a right click opens the tray
//                 menu), GroupBox1 the settings group; btnOK stays resident (hides the panel),
//                 btnClose quits; timerHide hides the panel at a start with chkAutoHide
//   Menu items    of PopupMenu1, the tray's menu (pop and mnu items, N for those a designer left
//                 unnamed): popSetting opens the panel; popAbout is the "folding" submenu, not an
//                 About box: popMacFree unfolds every folded window, popMacFreeClose also closes
//                 them, mnuMinimize minimises every window; mnuDisplay lists the display modes
//                 (FDisplayModes); N6 is the "extras" submenu: mnuAllMinimize shows the desktop,
//                 mnuNotepad, mnuCalc and mnuExp start Notepad, Calculator and Explorer, mnuZeph
//                 opens the maker's web page; popClose quits; N1, N4, N7, N8, N9 are separators
//   FIni          the settings file; FDisplayModes the display-mode menu (tray_commands.h)
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bound_window.h"
#include "elevation.h"
#include "hook_client.h"
#include "main_window_class.h"
#include "panel_layout.h"
#include "raii.h"
#include "tray_commands.h"
#include "settings.h"
#include "settings_file.h"
#include "SysCtrls.h"
#include "window_commands.h"

namespace trellane {

class TApplication;

// Colour values of the panel's colour list: an RGB value 0x00BBGGRR, or a system-colour reference
// (top bit set, low byte the system colour index).
using ColorValue = std::int32_t;

// The panel's fonts at one DPI: the controls', the title's and the web address's.
struct PanelFonts {
    UniqueFont normal, title, link;
};
PanelFonts MakePanelFonts(int dpi);

class TfrmTrellane : private BoundWindow {
public:
    explicit TfrmTrellane(TApplication& application);
    ~TfrmTrellane();
    TfrmTrellane(const TfrmTrellane&) = delete;
    TfrmTrellane& operator=(const TfrmTrellane&) = delete;

    // Creates the window and its controls and runs FormCreate. False when the window cannot be made.
    bool Create();
    HWND Handle() const { return FHandle; }
    void Show();
    // Runs the dialog navigation (Tab, arrows, Enter) for the panel's controls.
    bool PreTranslate(MSG& msg);
    // Gives back what the window commands changed on other programs' windows: any drag ends (its
    // grid goes), every folded window is unfolded, every window made translucent gets its look
    // back. At a quit, at the end of the session (`sessionEnds`), and when the program ends
    // abnormally.
    void GiveBackWindows(bool sessionEnds = false) noexcept;

    static constexpr const wchar_t* kClassName = kMainWindowClassName;
    static constexpr UINT_PTR kTimerHideId = 1;

private:
    void WindowBound(HWND window) noexcept override;
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void WindowUnbound() noexcept override;

    // One control of the panel: everything the form needs to create it, place it and route its
    // notifications. The settings group's rows are its lines from top to bottom, which is what
    // places them (panel_layout.h).
    struct ControlRow {
        int id;
        const wchar_t* className;
        const wchar_t* caption;
        DWORD style;
        DWORD exStyle;
        Place place;
        // The control's place in the Tab key's walk, numbered as a form designer numbers it: the
        // form's own controls and the settings group as a whole from 0, the group's controls from 0
        // within the group. kNoTab for controls the walk skips; they are created after the others.
        int tabOrder;
        HWND TfrmTrellane::*control; // the member that holds it, for controls the form addresses by name
        UINT notification;           // the notification code that runs the handler (BN_CLICKED is 0)
        void (TfrmTrellane::*handler)();
        bool Settings::*setting; // a check box showing one flag of the settings, kept in step with it
    };
    static constexpr int kNoTab = -1;
    static const ControlRow kControlRows[];
    static const std::size_t kControlCount;
    static const ControlRow* RowOf(int id);
    // The design bounds of every row, and the panel's size, at 96 DPI.
    static const PanelLayout& Layout();

    void CreateControls();
    int Scale(int value) const { return MulDiv(value, FDpi, 96); }
    // ---- Scale of the screen (frmParletU_dpi.cpp) ----
    // Puts every control at its design bounds scaled to the current DPI, with its font.
    void ApplyDesignBounds();
    // The panel moved to a monitor of another scale: the suggested window rectangle, and fonts and
    // controls for the new DPI.
    void OnDpiChanged(int dpi, const RECT& suggested);
#ifdef TRELLANE_FAULT_INJECTION
    // Test builds only: the messages a test sends to reach what no other process can (a fatal
    // error, a move to a monitor of another scale, the tray icon's image size); nothing otherwise.
    std::optional<LRESULT> OnTestMessage(UINT message, WPARAM wParam);
#endif
    // ---- end of the scale section ----
    // Setting a check box in code behaves like the user clicking it: the click handler runs when the
    // state changes.
    void SetChecked(HWND checkBox, bool checked);
    void OnCommand(int id, int code, HWND control);
    void OnClick(const ControlRow& row);
    // The check boxes and the translucency scroll bar show the settings record.
    void ShowSettings();
    void OnHScroll(WPARAM wParam, HWND scrollBar);
    void OnContextMenu(HWND source, POINT at);
    void OnMenuCommand(int id);

    // Event handlers, named after their controls and events.
    void FormCreate();
    void FormShow();
    void FormClose();
    void FormDestroy();
    void btnOKClick();
    void btnCloseClick();
    void btnHelpClick();
    void Label2Click();
    void spnGridSizeChange();
    void cmbColorChange();
    void scrToumeiChange();
    void chkOritatamiClick();
    void chkStartupClick();
    void timerHideTimer();
    // Writes the settings file; on failure says so in a message box and returns false.
    bool WriteSettings();
    // At the end of the session: unfold every window, then write the settings, once.
    void EndSession();

    // ---- Tray icon and tray menu (frmParletU_menu.cpp) ----
    // Creates the tray icon component and the popup menu, as the form is loaded (before FormCreate).
    void CreateTrayAndMenu();
    void popMacFreeClick() noexcept;
    void popMacFreeCloseClick();
    // The next right click on a caption picks a window for the exclusion list.
    void popPickClick();
    // Asks how to leave the picked window alone and adds that line to the exclusion list.
    void PickedWindowClick(HWND window);
    void popSettingClick();
    void popCloseClick();
    // ---- end of the tray section ----

    TApplication& FApplication;
    HWND FHandle = nullptr;
    int FDpi = 96;
    PanelFonts FFonts;
    UniqueBitmap FLogo;
    // Set once closing (or the end of the session) has begun: notifications then change nothing.
    bool FClosing = false;
    bool FEndingSession = false;
    bool FSettingsWritten = false;
    HookClient FHook;

    // The controls the form addresses by name, created from kControlRows; the others, the settings'
    // check boxes among them, are reached through their rows.
    HWND Image1 = nullptr, Label3 = nullptr, Label2 = nullptr, GroupBox1 = nullptr;
    HWND spnGridSize = nullptr, spnGridSizeButtons = nullptr, cmbColor = nullptr, scrToumei = nullptr;
    HWND chkStartup = nullptr, btnOK = nullptr;
    // The scroll bar's position: the level read from the settings file, then wherever the user moves it.
    std::int32_t FScrollPosition = DefaultSettings().toumei;

    // State. Click and change handlers keep FSettings up to date; the window operations read it.
    Settings FSettings = DefaultSettings();
    SettingsFile FIni;
    bool FShowResidentNotice = true;
    std::wstring FStartupLink;
    DisplayModeMenu FDisplayModes;
    // What the hook's notifications do to other programs' windows; made once the form exists.
    std::unique_ptr<WindowCommands> FCommands;

    // ---- Tray components (frmParletU_menu.cpp) ----
    // This form in the component model: it owns tray and PopupMenu1 and frees them (the menu first)
    // when the form goes.
    std::unique_ptr<TFormComponent> FComponents;
    TIconTray* tray = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    // The item of PopupMenu1 that lists the display modes, owned by the menu.
    TMenuItem* mnuDisplay = nullptr;
    // ---- end of the tray components ----
    // Tells, by a balloon at the tray icon, of the first window out of the hook's reach; after the
    // tray, so that it goes first.
    std::unique_ptr<UnreachableWindowNotice> FUnreachableNotice;

    // Owns FHandle until the system destroys the window. Last, so that a window still alive when
    // the form goes is destroyed (and its WM_DESTROY handled) while every other member still exists.
    UniqueWindow FWindow;
};

} // namespace trellane
