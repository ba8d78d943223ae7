// tools\VellumHost32.exe, the x64 edition's 32-bit companion: loads the 32-bit hook library beside
// it, installs its hook with the main form as the window to notify, and pumps messages (Windows runs
// that hook for 64-bit processes on this thread, so it never waits on anything but its queue and
// the program). Ends when the program asks, or when the program's process ends however it ends.
#include <windows.h>

#include <cstring>
#include <cwchar>

#include "handle32.h"
#include "vellum_exports.h"
#include "vellum_host.h"

namespace {

// The library beside this program, by full path (never searched for elsewhere). Null when the path
// does not fit.
HMODULE LoadLibraryBeside() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    wchar_t* name = std::wcsrchr(path, L'\\');
    name = name ? name + 1 : path;
    const std::size_t room = static_cast<std::size_t>(path + MAX_PATH - name);
    const std::size_t nameLength = std::wcslen(vellum::kHostLibraryName);
    if (nameLength >= room) return nullptr;
    std::memcpy(name, vellum::kHostLibraryName, (nameLength + 1) * sizeof(wchar_t));
    return LoadLibraryW(path);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int) {
    wchar_t* rest = nullptr;
    const auto notifyBits = std::wcstoul(commandLine, &rest, 10);
    const auto programId = static_cast<DWORD>(std::wcstoul(rest, &rest, 10));
    const auto ready = reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(std::wcstoul(rest, nullptr, 10)));
    const HWND notifyWindow = vellum::HandleFromBits<HWND>(notifyBits);
    if (!IsWindow(notifyWindow)) return 1;
    const HANDLE program = OpenProcess(SYNCHRONIZE, FALSE, programId);
    if (!program) return 1;

    const HMODULE library = LoadLibraryBeside();
    const auto install = vellum::ExportOf<vellum::InstallHookFunction>(library, "InstallHook");
    const auto uninstall = vellum::ExportOf<vellum::UninstallHookFunction>(library, "UninstallHook");
    const auto setGrid = vellum::ExportOf<vellum::SetGridFunction>(library, "SetGrid");
    const auto useRightButton = vellum::ExportOf<vellum::UseRightButtonFunction>(library, "UseRightButton");
    if (!install || !uninstall || !setGrid || !useRightButton) return 1;

    MSG msg;
    // The queue exists before the program is told to go on, so its right-button setting reaches it.
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    // The program's own order: install, then the grid call that clears a stale drag flag.
    install(notifyWindow);
    setGrid(-1, 32);
    if (ready) {
        SetEvent(ready);
        CloseHandle(ready);
    }

    bool running = true;
    while (running) {
        if (MsgWaitForMultipleObjects(1, &program, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0 + 1) break;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) running = false;
            if (msg.message == vellum::WM_HOST_USE_RIGHT_BUTTON) useRightButton(msg.wParam != 0 ? -1 : 0);
            if (msg.message == vellum::WM_HOST_RESET_DRAG) setGrid(-1, 32);
            DispatchMessageW(&msg);
        }
    }
    uninstall();
    CloseHandle(program);
    return 0;
}
