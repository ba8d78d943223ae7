// Where the global mouse hook lives in the program: on a thread of its own that does nothing but
// pump messages. Windows runs a hook for processes of the other bitness on the thread that installed
// it, so that thread must never wait for the panel's work; the notifications still go to the main
// form and all work stays on the interface thread. In the x64 edition this is also how 32-bit
// programs are reached: the system calls the 64-bit hook there, on this thread.
#pragma once

#include <windows.h>

#include "raii.h"

namespace trellane {

class THookThread {
public:
    THookThread() = default;
    ~THookThread() { Stop(); }
    THookThread(const THookThread&) = delete;
    THookThread& operator=(const THookThread&) = delete;

    // Starts the thread and returns once InstallHook (notifying the given window) has run on it:
    // true when InstallHook reported success.
    bool Start(HWND notifyWindow);
    // Removes the hook on its thread and ends the thread.
    void Stop() noexcept;

private:
    static DWORD WINAPI Run(void* self) noexcept;

    HWND FNotifyWindow = nullptr;
    int FInstalledResult = 0;
    UniqueHandle FInstalled;
    UniqueHandle FThread;
    DWORD FThreadId = 0;
};

} // namespace trellane
