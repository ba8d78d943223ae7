// The hook library: its four exports, the per-process installed latch and its entry point.
// Built without a C or C++ runtime: it is mapped into every program on the desktop, so it stays
// small and does nothing at load beyond mapping the shared section.
#define VELLUM_BUILDING_LIBRARY
#include "vellum_api.h"
#include "handle32.h"
#include "vellum_callback.h"
#include "vellum_unit.h"

using vellum::SharedView;

namespace {
// Set by the first InstallHook in this process and never cleared until the library is loaded again,
// so the hook can be installed once per load.
BYTE Installed = 0;
HINSTANCE ModuleInstance = nullptr;
} // namespace

extern "C" int WINAPI InstallHook(HWND notifyWindow) {
    vellum::HookShared* const shared = SharedView;
    if (!shared) return 0;
    if (Installed) return 0;
    Installed = 1;
    shared->NotifyWnd = vellum::HandleBits(notifyWindow);
    shared->GridOn = 0;
    shared->RightButtonOn = 1;
    const HHOOK hook = SetWindowsHookExA(WH_MOUSE, vellum::MouseHookProc, ModuleInstance, 0);
    shared->HookHandle = vellum::HandleBits(hook);
    // No hook (a desktop that refuses hooks, a system out of resources): the caller must learn that
    // no window will be reported, rather than wait for notifications that never come.
    return hook ? 1 : 0;
}

extern "C" int WINAPI UninstallHook() {
    const vellum::HookShared* const shared = SharedView;
    if (!shared) return 0;
    if (shared->HookHandle != 0) UnhookWindowsHookEx(vellum::HandleFromBits<HHOOK>(shared->HookHandle));
    return 1;
}

extern "C" int WINAPI SetGrid(int useGrid, int width) {
    vellum::HookShared* const shared = SharedView;
    if (!shared) return 0;
    shared->GridWidth = width;
    shared->Dragging = 0;
    shared->GridOn = vellum::ToFlag(useGrid);
    return 1;
}

extern "C" int WINAPI UseRightButton(int use) {
    vellum::HookShared* const shared = SharedView;
    if (!shared) return 0;
    shared->RightButtonOn = vellum::ToFlag(use);
    return shared->RightButtonOn;
}

extern "C" BOOL WINAPI VellumEntry(HINSTANCE instance, DWORD reason, LPVOID) noexcept {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        // Threads come and go in every process the hook reaches; none of them needs this library.
        DisableThreadLibraryCalls(instance);
        ModuleInstance = instance;
        vellum::InitializeUnit();
        Installed = 0;
        break;
    case DLL_PROCESS_DETACH:
        // The hook itself is not removed here: that is the program's call (UninstallHook).
        vellum::FinalizeUnit();
        break;
    default:
        break;
    }
    return TRUE;
}
