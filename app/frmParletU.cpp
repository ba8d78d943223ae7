// The settings panel: its window, its controls built from the control table, and the messages it routes.
#include "frmParletU.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <iterator>
#include <utility>
#include <vector>

#include "application.h"
#include "color_table.h"
#include "grid.h"
#include "gui_benri.h"
#include "hook_shared.h"
#include "maker_page.h"
#include "resource_ids.h"
#include "settings_value.h"
#include "shell_rules.h"
#include "single_instance.h"
#include "trace.h"
#include "translucency.h"

namespace trellane {

namespace {

enum ControlId : int {
    idBtnOK = IDOK,
    idGroupBox1 = 100,
    idChkGraphicLine,
    idSpnGridSize,
    idSpnGridSizeButtons,
    idChkUseGrid,
    idCmbColor,
    idScrToumei,
    idChkAutoHide,
    idChkStartup,
    idChkMoveToumei,
    idChkOritatami,
    idBtnClose,
    idBtnHelp,
    idLabel7,
    idImage1,
    idLabel3,
    idLabel1,
    idLabel2,
    idLabelGridSize,
    idLabelColor,
    idLabelToumei,
};

constexpr wchar_t kCredit[] = L"© Trellane 開発チーム";

constexpr DWORD kCheckBox = WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kPushButton = WS_TABSTOP | BS_PUSHBUTTON;

constexpr int kScrollMinimum = 20;
constexpr int kScrollMaximum = 100;

constexpr COLORREF kLinkColor = RGB(0, 0, 255);
constexpr COLORREF kTitleColor = RGB(0, 128, 0);

// One row of the colour list: a swatch of the colour and its name.
void DrawColorItem(HWND list, const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) return;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const auto value = static_cast<ColorValue>(SendMessageW(list, CB_GETITEMDATA, item.itemID, 0));
    RECT swatch = item.rcItem;
    InflateRect(&swatch, -2, -2);
    swatch.right = swatch.left + (swatch.bottom - swatch.top) * 2;
    UniqueBrush brush(CreateSolidBrush(ColorToRgb(value, [](int index) { return GetSysColor(index); })));
    FillRect(item.hDC, &swatch, brush.get());
    FrameRect(item.hDC, &swatch, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    wchar_t name[64] = {};
    SendMessageW(list, CB_GETLBTEXT, item.itemID, reinterpret_cast<LPARAM>(name));
    RECT text = item.rcItem;
    text.left = swatch.right + 4;
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(item.hDC, name, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

} // namespace

TfrmTrellane::TfrmTrellane(TApplication& application)
    : BoundWindow(L"TfrmTrellane::WndProc"), FApplication(application) {}

TfrmTrellane::~TfrmTrellane() = default;

bool TfrmTrellane::Create() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = BoundWndProc;
    windowClass.hInstance = FApplication.Instance();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.hIcon = LoadIconW(FApplication.Instance(), MAKEINTRESOURCEW(IDI_TRELLANE));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(FApplication.Instance(), MAKEINTRESOURCEW(IDI_TRELLANE), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass)) {
        LogFailure(L"RegisterClassExW", kClassName);
        return false;
    }

    {
        const WindowDc screen(nullptr, WindowDc::Area::Client);
        FDpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    }

    // A fixed-size dialog-style window: no sizing border, no maximise box.
    constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    constexpr DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;
    RECT frame{0, 0, Scale(Layout().width), Scale(Layout().height)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    if (!CreateBoundWindow(exStyle, kClassName, L"Trellane", style, left, top, width, height, nullptr,
                           FApplication.Instance())) {
        LogFailure(L"CreateWindowExW", kClassName);
        return false;
    }
    CreateControls();
    CreateTrayAndMenu();
    FormCreate();
    return true;
}

void TfrmTrellane::WindowBound(HWND window) noexcept {
    FHandle = window;
    FWindow.reset(window);
}

void TfrmTrellane::WindowUnbound() noexcept {
    FHandle = nullptr;
    FWindow.release();
}

LRESULT TfrmTrellane::WndProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    // Once closing has begun (a message box of that path may be pumping), no window is touched.
    if (vellum::IsNotification(message) && FClosing) return 0;
    if (!FClosing && FCommands && FCommands->OnNotification(message, wParam)) return 0;
    static const UINT showPanelMessage = RegisterWindowMessageW(kShowPanelMessageName);
    if (message == showPanelMessage) {
        // A second start of the program: show the panel as the tray menu's first item does.
        popSettingClick();
        return 0;
    }
#ifdef TRELLANE_FAULT_INJECTION
    if (const std::optional<LRESULT> answer = OnTestMessage(message, wParam)) return *answer;
#endif
    switch (message) {
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_HSCROLL:
        OnHScroll(wParam, reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_TIMER:
        if (wParam == kTimerHideId) timerHideTimer();
        return 0;
    case WM_SHOWWINDOW:
        if (wParam) FormShow();
        break;
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<HWND>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_CTLCOLORSTATIC: {
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetBkMode(dc, TRANSPARENT);
        if (reinterpret_cast<HWND>(lParam) == Label2) SetTextColor(dc, kLinkColor);
        if (reinterpret_cast<HWND>(lParam) == Label3) SetTextColor(dc, kTitleColor);
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == Label2) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlID != idCmbColor) break;
        measure->itemHeight = static_cast<UINT>(Scale(16));
        return TRUE;
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID != idCmbColor) break;
        DrawColorItem(cmbColor, *item);
        return TRUE;
    }
    case WM_PAINT: {
        const PaintDc paint(FHandle);
        if (!paint) return 0;
        // The frame around the logo and credits.
        RECT shape{Scale(8), Scale(8), Scale(8 + 457), Scale(8 + 145)};
        DrawEdge(paint.get(), &shape, EDGE_ETCHED, BF_RECT);
        return 0;
    }
    case WM_QUERYENDSESSION:
        EndSession();
        return TRUE;
    case WM_ENDSESSION:
        if (wParam) {
            EndSession();
        } else if (FEndingSession) {
            // The session goes on after all: back to normal, and a later quit writes again.
            FEndingSession = false;
            FClosing = false;
            FSettingsWritten = false;
        }
        return 0;
    case WM_CLOSE:
        FormClose();
        DestroyWindow(FHandle);
        return 0;
    case WM_DESTROY:
        FormDestroy();
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(FHandle, message, wParam, lParam);
}

// The settings group line by line from the top, the buttons that stand on its bottom edge, then the
// logo and credits at their fixed places above it. The Tab key walks the stay-resident button, the
// group's controls in their own order, then the quit and help buttons; controls it skips are
// created last, in the order of their rows.
const TfrmTrellane::ControlRow TfrmTrellane::kControlRows[] = {
    {idGroupBox1, L"BUTTON", L"設定", BS_GROUPBOX, 0, GroupAt(8, 160, 337), 1, &TfrmTrellane::GroupBox1, 0,
     nullptr, nullptr},
    {idChkUseGrid, L"BUTTON", L"ウィンドウをグリッドに合わせる", kCheckBox, 0, CheckLine(177), 2, nullptr,
     BN_CLICKED, nullptr, &Settings::useGrid},
    {idChkGraphicLine, L"BUTTON", L"グリッド線をデスクトップに描画する", kCheckBox, 0, CheckLine(209), 0,
     nullptr, BN_CLICKED, nullptr, &Settings::graphicLine},
    {idLabelGridSize, L"STATIC", L"グリッドのサイズ", SS_LEFT, 0, LabelLine(24).AfterGap(), kNoTab, nullptr,
     0, nullptr, nullptr},
    {idSpnGridSize, L"EDIT", L"", WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
     Beside(112, 0, 89, 21), 1, &TfrmTrellane::spnGridSize, EN_CHANGE, &TfrmTrellane::spnGridSizeChange,
     nullptr},
    // Places itself at the right edge of the field it is the buddy of, and is created right after it.
    {idSpnGridSizeButtons, UPDOWN_CLASSW, nullptr,
     UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_SETBUDDYINT | UDS_NOTHOUSANDS, 0, Buddy(), 1,
     &TfrmTrellane::spnGridSizeButtons, 0, nullptr, nullptr},
    {idLabelColor, L"STATIC", L"グリッドの色", SS_LEFT, 0, LabelLine(32), kNoTab, nullptr, 0, nullptr,
     nullptr},
    // The height includes the dropped-down list.
    {idCmbColor, L"COMBOBOX", L"",
     WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0,
     Beside(112, 0, 169, 22 + 240), 3, &TfrmTrellane::cmbColor, CBN_SELCHANGE, &TfrmTrellane::cmbColorChange,
     nullptr},
    {idLabelToumei, L"STATIC", L"半透明の度合い", SS_LEFT, 0, LabelLine(32), kNoTab, nullptr, 0, nullptr,
     nullptr},
    {idScrToumei, L"SCROLLBAR", L"", WS_TABSTOP | SBS_HORZ, 0, Beside(112, 3, 169, 21), 4,
     &TfrmTrellane::scrToumei, 0, nullptr, nullptr},
    {idChkMoveToumei, L"BUTTON", L"ウィンドウ移動時は半透明にする(グリッド線なしの時)", kCheckBox, 0,
     CheckLine(297), 7, nullptr, BN_CLICKED, nullptr, &Settings::moveToumei},
    {idChkOritatami, L"BUTTON", L"右クリック機能（折りたたみなど）を使う", kCheckBox, 0, CheckLine(297), 8,
     nullptr, BN_CLICKED, &TfrmTrellane::chkOritatamiClick, &Settings::oritatami},
    {idChkAutoHide, L"BUTTON", L"起動時に自動的に常駐する(起動時にパネルを非表示)", kCheckBox, 0,
     CheckLine(305).AfterGap(), 5, nullptr, BN_CLICKED, nullptr, &Settings::autoHide},
    {idChkStartup, L"BUTTON", L"Windowsの起動時に自動的に常駐する", kCheckBox, 0, CheckLine(305), 6,
     &TfrmTrellane::chkStartup, BN_CLICKED, &TfrmTrellane::chkStartupClick, nullptr},

    {idBtnHelp, L"BUTTON", L"ヘルプ(&H)", kPushButton, 0, OnGroupBottom(352, 88, 113, 25), 3, nullptr,
     BN_CLICKED, &TfrmTrellane::btnHelpClick, nullptr},
    {idBtnClose, L"BUTTON", L"完全に終了(&C)", kPushButton, 0, OnGroupBottom(352, 56, 113, 25), 2, nullptr,
     BN_CLICKED, &TfrmTrellane::btnCloseClick, nullptr},
    {idBtnOK, L"BUTTON", L"常駐する(&O)", kPushButton, 0, OnGroupBottom(352, 0, 113, 49), 0,
     &TfrmTrellane::btnOK, BN_CLICKED, &TfrmTrellane::btnOKClick, nullptr},

    {idLabel7, L"STATIC", L"タイトルバーに対しての操作オプション", SS_LEFT, 0, At(16, 16, 193, 12), kNoTab,
     nullptr, 0, nullptr, nullptr},
    {idImage1, L"STATIC", nullptr, SS_BITMAP | SS_NOTIFY, 0, At(24, 32, 257, 113), kNoTab,
     &TfrmTrellane::Image1, 0, nullptr, nullptr},
    {idLabel3, L"STATIC", L"Trellane", SS_LEFT, 0, At(328, 56, 111, 27), kNoTab, &TfrmTrellane::Label3, 0,
     nullptr, nullptr},
    // The credit starts where the address below it starts and reaches nearly to the frame: in a
    // narrower label SS_LEFT wrapped its last characters onto a second line that was not shown. Two
    // pixels taller than the font's size for fonts with internal leading (substitutes for the panel's
    // font where it is not installed).
    {idLabel1, L"STATIC", kCredit, SS_LEFT, 0, At(312, 112, 145, 14), kNoTab, nullptr, 0, nullptr, nullptr},
    {idLabel2, L"STATIC", L"example.jp/trellane", SS_LEFT | SS_NOTIFY, 0, At(312, 128, 135, 12), kNoTab,
     &TfrmTrellane::Label2, STN_CLICKED, &TfrmTrellane::Label2Click, nullptr},
};

const std::size_t TfrmTrellane::kControlCount = std::size(kControlRows);

const TfrmTrellane::ControlRow* TfrmTrellane::RowOf(int id) {
    for (const ControlRow& row : kControlRows)
        if (row.id == id) return &row;
    return nullptr;
}

const PanelLayout& TfrmTrellane::Layout() {
    static const PanelLayout layout = [] {
        std::vector<Place> places;
        for (const ControlRow& row : kControlRows)
            places.push_back(row.place);
        return LayOutPanel(places);
    }();
    return layout;
}

void TfrmTrellane::CreateControls() {
    FFonts = MakePanelFonts(FDpi);

    // Creation order is the Tab key's order: a dialog walks its controls in the order they were made.
    const auto groupRow =
        std::find_if(std::begin(kControlRows), std::end(kControlRows),
                     [](const ControlRow& row) { return row.place.kind == PlaceKind::Group; });
    const int groupTab = groupRow != std::end(kControlRows) ? groupRow->tabOrder : 0;
    const auto tabKey = [groupTab](const ControlRow& row) {
        if (row.tabOrder == kNoTab) return std::pair{INT_MAX, 0};
        return row.place.InGroup() ? std::pair{groupTab, row.tabOrder} : std::pair{row.tabOrder, -1};
    };
    std::vector<std::size_t> order(kControlCount);
    for (std::size_t index = 0; index < kControlCount; ++index)
        order[index] = index;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return tabKey(kControlRows[a]) < tabKey(kControlRows[b]);
    });

    for (const std::size_t index : order) {
        const ControlRow& row = kControlRows[index];
        const DesignBounds& at = Layout().bounds[index];
        const HWND control = CreateWindowExW(
            row.exStyle, row.className, row.caption, WS_CHILD | WS_VISIBLE | row.style, Scale(at.left),
            Scale(at.top), Scale(at.width), Scale(at.height), FHandle,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), FApplication.Instance(), nullptr);
        if (!control) {
            LogFailure(L"CreateWindowExW", row.className);
            continue;
        }
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FFonts.normal.get()), FALSE);
        if (row.control) this->*row.control = control;
    }

    // Below the controls it frames, so that it never paints over them or takes their clicks.
    SetWindowPos(GroupBox1, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(spnGridSizeButtons, UDM_SETBUDDY, reinterpret_cast<WPARAM>(spnGridSize), 0);
    SendMessageW(spnGridSizeButtons, UDM_SETRANGE32, kMinGridWidth, kMaxGridWidth);
    for (const NamedColor& color : kColorList) {
        const auto index = SendMessageW(cmbColor, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(color.name));
        SendMessageW(cmbColor, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(color.value));
    }
    SCROLLINFO scroll{
        sizeof scroll, SIF_RANGE | SIF_POS | SIF_PAGE, kScrollMinimum, kScrollMaximum, 0, FScrollPosition, 0};
    SetScrollInfo(scrToumei, SB_CTL, &scroll, TRUE);
    FLogo.reset(static_cast<HBITMAP>(LoadImageW(FApplication.Instance(), MAKEINTRESOURCEW(IDB_LOGO),
                                                IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    if (FLogo) SendMessageW(Image1, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(FLogo.get()));
    SendMessageW(Label3, WM_SETFONT, reinterpret_cast<WPARAM>(FFonts.title.get()), FALSE);
    SendMessageW(Label2, WM_SETFONT, reinterpret_cast<WPARAM>(FFonts.link.get()), FALSE);
}

void TfrmTrellane::SetChecked(HWND checkBox, bool checked) {
    if (IsChecked(checkBox) == checked) return;
    SendMessageW(checkBox, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (const ControlRow* row = RowOf(GetDlgCtrlID(checkBox))) OnClick(*row);
}

void TfrmTrellane::ShowSettings() {
    for (const ControlRow& row : kControlRows)
        if (row.setting)
            SendMessageW(GetDlgItem(FHandle, row.id), BM_SETCHECK,
                         FSettings.*row.setting ? BST_CHECKED : BST_UNCHECKED, 0);
    // The scroll bar shows the level in force; the panel's own preview waits until the bar moves.
    FScrollPosition = FSettings.toumei;
    SCROLLINFO scroll{sizeof scroll, SIF_POS, 0, 0, 0, FScrollPosition, 0};
    SetScrollInfo(scrToumei, SB_CTL, &scroll, TRUE);
}

void TfrmTrellane::OnClick(const ControlRow& row) {
    if (row.setting) FSettings.*row.setting = IsChecked(GetDlgItem(FHandle, row.id));
    if (row.handler) (this->*row.handler)();
}

void TfrmTrellane::OnCommand(int id, int code, HWND) {
    // Leaving the grid-size field shows the value that is in force.
    if (id == idSpnGridSize && code == EN_KILLFOCUS)
        SetWindowTextW(spnGridSize, FormatProfileInteger(FSettings.gridWidth).c_str());
    const ControlRow* row = RowOf(id);
    if (!row) {
        OnMenuCommand(id);
        return;
    }
    if (static_cast<UINT>(code) == row->notification) OnClick(*row);
}

void TfrmTrellane::OnHScroll(WPARAM wParam, HWND scrollBar) {
    if (scrollBar != scrToumei) return;
    SCROLLINFO scroll{sizeof scroll, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(scrToumei, SB_CTL, &scroll);
    int position = scroll.nPos;
    switch (LOWORD(wParam)) {
    case SB_LINELEFT:
    case SB_PAGELEFT:
        position -= 1;
        break;
    case SB_LINERIGHT:
    case SB_PAGERIGHT:
        position += 1;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        position = scroll.nTrackPos;
        break;
    case SB_LEFT:
        position = kScrollMinimum;
        break;
    case SB_RIGHT:
        position = kScrollMaximum;
        break;
    default:
        return;
    }
    position = std::clamp(position, kScrollMinimum, kScrollMaximum);
    if (position == FScrollPosition) return;
    scroll.fMask = SIF_POS;
    scroll.nPos = position;
    SetScrollInfo(scrToumei, SB_CTL, &scroll, TRUE);
    FScrollPosition = position;
    scrToumeiChange();
}

void TfrmTrellane::Show() {
    ShowWindow(FHandle, SW_SHOW);
    SetForegroundWindow(FHandle);
    SetFocus(btnOK);
}

bool TfrmTrellane::PreTranslate(MSG& msg) {
    if (FDisplayModes.PreTranslate(msg)) return true;
    if (!FHandle || !IsWindowVisible(FHandle)) return false;
    return IsDialogMessageW(FHandle, &msg) != FALSE;
}

} // namespace trellane
