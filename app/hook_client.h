// The program's side of the hook library: the global mouse hook lives on a thread of its own that
// does nothing but pump messages, and the library's settings are handed over here. Windows runs a hook for
// processes of the other bitness on the thread that installed it, so that thread must never wait for the
// panel's work; the notifications still go to the main form and all work stays on the interface thread. In
// the x64 edition this is also how 32-bit programs are reached: the system calls the 64-bit hook there, on
// this thread.
#pragma once

#include <windows.h>

#include <cstdint>

#include "raii.h"

namespace trellane {

class HookClient {
public:
    HookClient() = default;
    ~HookClient() { Stop(); }
    HookClient(const HookClient&) = delete;
    HookClient& operator=(const HookClient&) = delete;

    // Starts the thread and returns once InstallHook (notifying the given window) has run on it:
    // true when InstallHook reported success.
    bool Start(HWND notifyWindow);
    // Removes the hook on its thread and ends the thread.
    void Stop() noexcept;
    // The grid settings as the library keeps them; also clears the library's drag flag, so that a
    // drag whose release was never reported stops being reported.
    void SetGrid(bool useGrid, std::int32_t width) noexcept;
    // Whether the library reports right clicks (folding, topmost).
    void UseRightButton(bool on) noexcept;

private:
    static DWORD WINAPI Run(void* self) noexcept;

    HWND FNotifyWindow = nullptr;
    int FInstalledResult = 0;
    UniqueHandle FInstalled;
    UniqueHandle FThread;
    DWORD FThreadId = 0;
};

} // namespace trellane
