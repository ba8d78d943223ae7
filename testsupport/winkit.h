// Test helpers for programs that run under Wine (or on Windows).
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace winkit {

// A path inside the build's dist folder (what a user unzips), as a Windows path.
std::wstring DistPath(const std::wstring& relative);
// A path inside the build folder, as a Windows path.
std::wstring BuildPath(const std::wstring& relative);
// A Windows path for a Unix path (Wine maps the root file system to Z:).
std::wstring FromUnixPath(const std::string& unixPath);

// Polls the condition, pumping this thread's messages meanwhile, until it holds or time runs out.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = std::chrono::seconds(20));
// Pumps this thread's messages for the given time (used only to let input settle, never as a wait
// for a result).
void PumpFor(std::chrono::milliseconds duration);

// A child process that is ended when this object goes away.
class ChildProcess {
public:
    ChildProcess() = default;
    explicit ChildProcess(const std::wstring& commandLine, const std::wstring& directory = L"");
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;

    bool Started() const { return info_.hProcess != nullptr; }
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    // Waits for the process to end by itself; returns its exit code or STILL_ACTIVE.
    DWORD WaitExit(std::chrono::milliseconds timeout);
    void Terminate();

private:
    PROCESS_INFORMATION info_{};
};

// The first visible top-level window of the process with the given class, or null.
HWND FindProcessWindow(DWORD processId, const wchar_t* className);
// Waits for such a window to appear.
HWND WaitProcessWindow(DWORD processId, const wchar_t* className,
                       std::chrono::milliseconds timeout = std::chrono::seconds(30));

// Real mouse input through the system's input queue, in screen pixels.
void MouseMoveTo(int x, int y);
void MouseButton(DWORD downOrUpFlag);
void LeftDrag(POINT from, POINT to, int steps = 4);
void Click(POINT at, DWORD downFlag, DWORD upFlag);
void KeyDown(WORD vk);
void KeyUp(WORD vk);

RECT WindowRect(HWND window);
// A point in the middle of the window's caption bar (left of its buttons).
POINT CaptionPoint(HWND window);

} // namespace winkit
