#include "application.h"

#include <commctrl.h>

#include "app_title.h"
#include "frmParletU.h"
#include "gui_benri.h"
#include "trace.h"

namespace trellane {

namespace {
constexpr wchar_t kApplicationClass[] = L"TApplication";

LRESULT CALLBACK ApplicationWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return DefWindowProcW(window, message, wParam, lParam);
}
} // namespace

TApplication::TApplication(HINSTANCE instance) : FInstance(instance) {}

TApplication::~TApplication() = default;

bool TApplication::Initialize() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    FTitle = ApplicationTitle(ExecutablePath());

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ApplicationWndProc;
    windowClass.hInstance = FInstance;
    windowClass.lpszClassName = kApplicationClass;
    if (!RegisterClassExW(&windowClass)) {
        LogFailure(L"RegisterClassExW", kApplicationClass);
        return false;
    }
    // Never shown: it owns the shell's dialogs and stands for the application as a whole.
    FHandle.reset(CreateWindowExW(WS_EX_TOOLWINDOW, kApplicationClass, FTitle.c_str(), WS_POPUP, 0, 0, 0, 0,
                                  nullptr, nullptr, FInstance, nullptr));
    if (!FHandle) LogFailure(L"CreateWindowExW", kApplicationClass);
    return static_cast<bool>(FHandle);
}

int TApplication::Run(TfrmTrellane& mainForm) {
    if (ShowMainForm) mainForm.Show();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (mainForm.PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

} // namespace trellane
