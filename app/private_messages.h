// Trellane's own window messages, each once. The hook library's notifications are listed with the
// library (hook_shared.h); the tray icon's callback number is the shell's record's (tray_rules.h).
#pragma once

#include <windows.h>

namespace trellane {

// Posted by the system's callbacks to the window commands' own window, from WM_APP + 0x60 on.
// wParam: the window; lParam: 1 when its move/size loop began, 0 when it ended
// (EVENT_SYSTEM_MOVESIZESTART / END).
constexpr UINT WM_DRAG_MOVESIZE = WM_APP + 0x60;
// A window's thread has answered a drag session's probe; wParam: the probe's serial number.
constexpr UINT WM_DRAG_SETTLED = WM_APP + 0x61;
// To the notice of windows out of the hook's reach (elevation.h); wParam: a window whose move/size
// loop began.
constexpr UINT WM_UNREACHABLE_MOVESTART = WM_APP + 0x62;

// Registered by name, to reach the running copy's main window from another process.
// A second start of the program asks the running copy to show its panel, as its tray menu does.
constexpr wchar_t kShowPanelMessageName[] = L"jp.trellane.Trellane.ShowPanel";
// The test build's: raise an error nothing handles; act as if the DPI changed (wParam: the DPI);
// answer the tray icon's width.
constexpr wchar_t kRaiseFaultMessageName[] = L"jp.trellane.Trellane.RaiseFaultForTest";
constexpr wchar_t kChangeDpiMessageName[] = L"jp.trellane.Trellane.ChangeDpiForTest";
constexpr wchar_t kTrayIconSizeMessageName[] = L"jp.trellane.Trellane.TrayIconSizeForTest";

} // namespace trellane
