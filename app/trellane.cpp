// Program entry: start the application object, create the main form, run until it closes.
#include <windows.h>

#include <cstdlib>
#include <exception>
#include <string>
#include <utility>

#include "app_title.h"
#include "application.h"
#include "frmParletU.h"
#include "gui_benri.h"
#include "single_instance.h"

namespace {

trellane::TfrmTrellane* MainForm = nullptr;

// Shown when the program cannot make its windows: otherwise it would end without a word.
constexpr wchar_t kStartFailed[] = L"Trellaneのウィンドウを作成できないため、起動できません。";

int FailStart() {
    const std::wstring title = trellane::ApplicationTitle(trellane::ExecutablePath());
    MessageBoxW(nullptr, kStartFailed, title.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
    return 1;
}

// A fatal error must not leave other programs' windows folded with their Close command removed, or
// translucent: give them back before the process goes, then let the system report the error as usual.
LONG WINAPI RestoreWindowsOnCrash(EXCEPTION_POINTERS*) noexcept {
    if (MainForm) std::exchange(MainForm, nullptr)->GiveBackWindows();
    return EXCEPTION_CONTINUE_SEARCH;
}

[[noreturn]] void RestoreWindowsOnTerminate() noexcept {
    if (MainForm) std::exchange(MainForm, nullptr)->GiveBackWindows();
    std::abort();
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    const trellane::SingleInstance single;
    if (!single.IsFirst()) {
        trellane::ShowRunningCopy();
        return 0;
    }
    trellane::TApplication application(instance);
    if (!application.Initialize()) return FailStart();
    trellane::TfrmTrellane form(application);
    if (!form.Create()) return FailStart();
    MainForm = &form;
    SetUnhandledExceptionFilter(RestoreWindowsOnCrash);
    std::set_terminate(RestoreWindowsOnTerminate);
    const int exitCode = application.Run(form);
    MainForm = nullptr;
    return exitCode;
}
