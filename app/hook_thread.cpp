#include "hook_thread.h"

#include <string>

#include "gui_benri.h"
#include "handle32.h"
#include "vellum_api.h"
#include "vellum_host.h"

namespace trellane {

namespace {
constexpr bool kIsX64Edition = sizeof(void*) == 8;
constexpr DWORD kStopWaitMs = 2000;
constexpr DWORD kStartWaitMs = 15000;
} // namespace

bool THookThread::Start(HWND notifyWindow) {
    if (FThread) return true;
    FNotifyWindow = notifyWindow;
    FInstalled = UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!FInstalled) return false;
    FThread = UniqueHandle(CreateThread(nullptr, 0, &THookThread::Run, this, 0, &FThreadId));
    if (!FThread) return false;
    // InstallHook must have run before the form's later calls (SetGrid, UseRightButton) and it
    // never blocks, so this wait is short.
    const HANDLE waitFor[] = {FInstalled.get(), FThread.get()};
    if (WaitForMultipleObjects(2, waitFor, FALSE, INFINITE) != WAIT_OBJECT_0) return false;
    return FInstalledResult != 0;
}

DWORD WINAPI THookThread::Run(void* self) noexcept {
    auto* const owner = static_cast<THookThread*>(self);
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

void THookThread::Stop() noexcept {
    if (!FThread) return;
    PostThreadMessageW(FThreadId, WM_QUIT, 0, 0);
    WaitForSingleObject(FThread.get(), kStopWaitMs);
    FThread.reset();
    FThreadId = 0;
}

void THookCompanion::Start(HWND notifyWindow) {
    if (!kIsX64Edition || FProcess) return;
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const UniqueHandle ready(CreateEventW(&inheritable, TRUE, FALSE, nullptr));
    if (!ready) return;
    const std::wstring path = ExeDirectory() + vellum::kHostExeName;
    std::wstring commandLine = L"\"" + path + L"\" " + std::to_wstring(vellum::HandleBits(notifyWindow)) +
                               L" " + std::to_wstring(GetCurrentProcessId()) + L" " +
                               std::to_wstring(reinterpret_cast<UINT_PTR>(ready.get()));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // Only the event is created inheritable; the program holds no other inheritable handle.
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process))
        return;
    CloseHandle(process.hThread);
    FProcess = UniqueHandle(process.hProcess);
    FThreadId = process.dwThreadId;
    // Until its hook is in place (a moment; longer where 32-bit code is emulated), or it has failed.
    const HANDLE waitFor[] = {ready.get(), FProcess.get()};
    WaitForMultipleObjects(2, waitFor, FALSE, kStartWaitMs);
}

void THookCompanion::UseRightButton(bool on) noexcept {
    if (!FProcess) return;
    PostThreadMessageW(FThreadId, vellum::WM_HOST_USE_RIGHT_BUTTON, on ? 1 : 0, 0);
}

void THookCompanion::ResetDrag() noexcept {
    if (!FProcess) return;
    PostThreadMessageW(FThreadId, vellum::WM_HOST_RESET_DRAG, 0, 0);
}

void THookCompanion::Stop() noexcept {
    if (!FProcess) return;
    PostThreadMessageW(FThreadId, WM_QUIT, 0, 0);
    WaitForSingleObject(FProcess.get(), kStopWaitMs);
    FProcess.reset();
    FThreadId = 0;
}

} // namespace trellane
