// Program entry: start the application object, create the main form, run until it closes.
#include <windows.h>

#include <cstdlib>
#include <exception>
#include <utility>

#include "application.h"
#include "frmParletU.h"
#include "single_instance.h"

namespace {

trellane::TfrmTrellane* g_mainForm = nullptr;

// A fatal error must not leave other programs' windows folded with their Close command removed:
// give them back before the process goes, then let the system report the error as usual.
LONG WINAPI RestoreWindowsOnCrash(EXCEPTION_POINTERS*) noexcept {
    if (g_mainForm) std::exchange(g_mainForm, nullptr)->RestoreAllFolded();
    return EXCEPTION_CONTINUE_SEARCH;
}

[[noreturn]] void RestoreWindowsOnTerminate() noexcept {
    if (g_mainForm) std::exchange(g_mainForm, nullptr)->RestoreAllFolded();
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
    if (!application.Initialize()) return 1;
    trellane::TfrmTrellane form(application);
    if (!form.Create()) return 1;
    g_mainForm = &form;
    SetUnhandledExceptionFilter(RestoreWindowsOnCrash);
    std::set_terminate(RestoreWindowsOnTerminate);
    const int exitCode = application.Run(form);
    g_mainForm = nullptr;
    return exitCode;
}
