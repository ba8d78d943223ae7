// Where the global mouse hook lives in the program: on a thread of its own that does nothing but
// pump messages. Windows runs a hook for processes of the other bitness on the thread that installed
// it, so that thread must never wait for the panel's work; the notifications still go to the main
// form and all work stays on the interface thread. In the x64 edition the 32-bit companion does the
// same for 32-bit programs.
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

// The x64 edition's 32-bit companion process (nothing in the 32-bit edition, which hooks alone).
class THookCompanion {
public:
    THookCompanion() = default;
    ~THookCompanion() { Stop(); }
    THookCompanion(const THookCompanion&) = delete;
    THookCompanion& operator=(const THookCompanion&) = delete;

    // Starts tools\VellumHost32.exe beside the program, notifying the given window, and returns once
    // its hook is installed. It ends by itself when this process ends, however it ends.
    void Start(HWND notifyWindow);
    // Hands the right-button setting to the companion's library (on start-up and on every change).
    void UseRightButton(bool on) noexcept;
    // Clears the drag flag of the companion's library, as SetGrid does for the program's own.
    void ResetDrag() noexcept;
    // Asks the companion to remove its hook and end, and waits a moment for it.
    void Stop() noexcept;

private:
    UniqueHandle FProcess;
    DWORD FThreadId = 0;
};

} // namespace trellane
