#include "single_instance.h"

#include "main_window_class.h"

namespace trellane {

bool ShowRunningCopy() noexcept {
    const UINT showPanel = RegisterWindowMessageW(kShowPanelMessageName);
    // The running copy may still be starting: give it a moment to create its window.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const HWND form = FindWindowW(kMainWindowClassName, nullptr);
        if (form) {
            DWORD processId = 0;
            GetWindowThreadProcessId(form, &processId);
            // Let the running copy bring its panel to the front: the user asked for it just now.
            AllowSetForegroundWindow(processId);
            PostMessageW(form, showPanel, 0, 0);
            return true;
        }
        Sleep(100);
    }
    return false;
}

} // namespace trellane
