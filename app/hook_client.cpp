#include "hook_client.h"

#include <string>

#include "gui_benri.h"
#include "handle32.h"
#include "vellum_api.h"

namespace trellane {

namespace {
constexpr DWORD kStopWaitMs = 2000;

// Boolean arguments at the hook library's boundary: -1 for true.
constexpr int LibraryFlag(bool value) {
    return value ? -1 : 0;
}
} // namespace

bool HookClient::Start(HWND notifyWindow) {
    if (FThread) return true;
    FNotifyWindow = notifyWindow;
    FInstalled = UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!FInstalled) return false;
    FThread = UniqueHandle(CreateThread(nullptr, 0, &HookClient::Run, this, 0, &FThreadId));
    if (!FThread) return false;
    // InstallHook must have run before the form's later calls (SetGrid, UseRightButton) and it
    // never blocks, so this wait is short.
    const HANDLE waitFor[] = {FInstalled.get(), FThread.get()};
    if (WaitForMultipleObjects(2, waitFor, FALSE, INFINITE) != WAIT_OBJECT_0) return false;
    return FInstalledResult != 0;
}

DWORD WINAPI HookClient::Run(void* self) noexcept {
    auto* const owner = static_cast<HookClient*>(self);
    MSG msg;
    // The queue exists before anyone can post the quit message to it.
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    owner->FInstalledResult = InstallHook(owner->FNotifyWindow);
    SetEvent(owner->FInstalled.get());
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    UninstallHook();
    return 0;
}

void HookClient::Stop() noexcept {
    if (!FThread) return;
    PostThreadMessageW(FThreadId, WM_QUIT, 0, 0);
    WaitForSingleObject(FThread.get(), kStopWaitMs);
    FThread.reset();
    FThreadId = 0;
}

void HookClient::SetGrid(bool useGrid, std::int32_t width) noexcept {
    ::SetGrid(LibraryFlag(useGrid), width);
}

void HookClient::UseRightButton(bool on) noexcept {
    ::UseRightButton(LibraryFlag(on));
}

} // namespace trellane
