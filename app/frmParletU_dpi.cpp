// The panel on screens of any scale: fonts and control bounds follow the DPI of the monitor the
// panel is on, from the bounds of the panel's design at 96 DPI.
#include "frmParletU.h"

#include <commctrl.h>

#include <utility>

#include "private_messages.h"

namespace trellane {

namespace {

constexpr wchar_t kPanelFont[] = L"ＭＳ Ｐゴシック";
// Rows of the colour list, at 96 DPI.
constexpr int kColorItemHeight = 16;

} // namespace

PanelFonts MakePanelFonts(int dpi) {
    const auto make = [dpi](int height, int weight, bool underline) {
        return UniqueFont(CreateFontW(-MulDiv(height, dpi, 96), 0, 0, 0, weight, FALSE,
                                      underline ? TRUE : FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                      kPanelFont));
    };
    return PanelFonts{make(12, FW_NORMAL, false), make(27, FW_BOLD, false), make(12, FW_NORMAL, true)};
}

void TfrmTrellane::ApplyDesignBounds() {
    for (std::size_t index = 0; index < kControlCount; ++index) {
        const ControlRow& row = kControlRows[index];
        // The spin buttons place themselves at their field's edge.
        const HWND control = GetDlgItem(FHandle, row.id);
        if (!control || row.place.kind == PlaceKind::Buddy) continue;
        const DesignBounds& at = Layout().bounds[index];
        MoveWindow(control, Scale(at.left), Scale(at.top), Scale(at.width), Scale(at.height), FALSE);
        const HFONT font = control == Label3   ? FFonts.title.get()
                           : control == Label2 ? FFonts.link.get()
                                               : FFonts.normal.get();
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    // The spin buttons sit at the edit field's right end, and the colour list's rows fit its font.
    SendMessageW(spnGridSizeButtons, UDM_SETBUDDY, reinterpret_cast<WPARAM>(spnGridSize), 0);
    SendMessageW(cmbColor, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), Scale(kColorItemHeight));
    SendMessageW(cmbColor, CB_SETITEMHEIGHT, 0, Scale(kColorItemHeight));
}

void TfrmTrellane::OnDpiChanged(int dpi, const RECT& suggested) {
    if (dpi <= 0) return;
    FDpi = dpi;
    // The controls keep using the old fonts until they have the new ones.
    const PanelFonts oldFonts = std::exchange(FFonts, MakePanelFonts(FDpi));
    ApplyDesignBounds();
    SetWindowPos(FHandle, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

#ifdef TRELLANE_FAULT_INJECTION
std::optional<LRESULT> TfrmTrellane::OnTestMessage(UINT message, WPARAM wParam) {
    static const UINT raiseFaultMessage = RegisterWindowMessageW(kRaiseFaultMessageName);
    static const UINT changeDpiMessage = RegisterWindowMessageW(kChangeDpiMessageName);
    static const UINT trayIconSizeMessage = RegisterWindowMessageW(kTrayIconSizeMessageName);
    // An error no handler catches, to check that folded windows are given back.
    if (message == raiseFaultMessage) RaiseException(0xE0000054, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    if (message == changeDpiMessage) {
        // What the system suggests: the same corner, and the design's client area at the new DPI.
        const int dpi = static_cast<int>(wParam);
        if (dpi <= 0) return 0;
        RECT window{};
        GetWindowRect(FHandle, &window);
        RECT frame{0, 0, MulDiv(Layout().width, dpi, 96), MulDiv(Layout().height, dpi, 96)};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(FHandle, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongW(FHandle, GWL_EXSTYLE)));
        OffsetRect(&frame, window.left - frame.left, window.top - frame.top);
        OnDpiChanged(dpi, frame);
        return 0;
    }
    if (message != trayIconSizeMessage) return std::nullopt;
    ICONINFO info{};
    if (!tray || tray->Icon().Empty() || !GetIconInfo(tray->Icon().Handle(), &info)) return 0;
    const UniqueBitmap colour(info.hbmColor);
    const UniqueBitmap mask(info.hbmMask);
    BITMAP bitmap{};
    if (!GetObjectW(colour ? colour.get() : mask.get(), sizeof bitmap, &bitmap)) return 0;
    return bitmap.bmWidth;
}
#endif

} // namespace trellane
