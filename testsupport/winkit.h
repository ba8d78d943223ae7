// Test helpers for programs that run under Wine (or on Windows).
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace winkit {

// A path inside the build's dist folder (what a user unzips), as a Windows path.
std::wstring DistPath(const std::wstring& relative);
// A path inside the build folder, as a Windows path.
std::wstring BuildPath(const std::wstring& relative);
// A Windows path for a Unix path (Wine maps the root file system to Z:).
std::wstring FromUnixPath(const std::string& unixPath);

// Polls the condition, pumping this thread's messages meanwhile, until it holds or time runs out.
bool WaitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds timeout = std::chrono::seconds(20));
// Pumps this thread's messages for the given time (used only to let input settle, never as a wait
// for a result).
void PumpFor(std::chrono::milliseconds duration);
// Handles every message already queued for this thread, without waiting for more.
void PumpQueued();

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

// The top-level windows of a process with the given class (any class when null), front first.
std::vector<HWND> ProcessWindows(DWORD processId, const wchar_t* className, bool visibleOnly = false);
// The first visible top-level window of the process with the given class, or null.
HWND FindProcessWindow(DWORD processId, const wchar_t* className);
// The processes the given process started that run the named executable (file name only).
std::vector<DWORD> ChildProcessIds(DWORD parentId, const wchar_t* exeName);
// Waits for such a window to appear.
HWND WaitProcessWindow(DWORD processId, const wchar_t* className,
                       std::chrono::milliseconds timeout = std::chrono::seconds(30));

// Real mouse input through the system's input queue, in screen pixels.
void MouseMoveTo(int x, int y);
void MouseButton(DWORD downOrUpFlag);
// A click of the left or right button at the point. Under Wine it starts at the X server (see
// below); elsewhere it starts once the cursor rests at the point. True once the system has seen the
// press and the release.
bool Click(POINT at, DWORD downFlag, DWORD upFlag);
void KeyDown(WORD vk);
void KeyUp(WORD vk);
// A press and release of the key, queued behind all input the system has seen so far; true once
// it is queued.
bool PressKey(WORD vk);

// Input that starts at the X server Wine draws on (xdotool on $DISPLAY), for tests under Wine.
// Wine answers a cursor move made with SendInput by warping the X pointer, and the X server's echo
// of that warp is handled later by whichever process owns the window under the pointer: it can put
// the cursor back where an earlier move left it just before a button press, and it releases Shift,
// which the X server never saw pressed. Input that starts at the X server has no such echo.
// Each call waits until Wine shows its effect (cursor position, key or button state).
namespace xserver {
bool Available();
bool MoveTo(POINT at, std::chrono::milliseconds timeout = std::chrono::seconds(10));
// button: 1 left, 2 middle, 3 right (X numbering).
bool Button(int button, bool down, std::chrono::milliseconds timeout = std::chrono::seconds(10));
// keysym as xdotool names it ("shift"), vk the key Wine reports for it.
bool Key(const wchar_t* keysym, WORD vk, bool down,
         std::chrono::milliseconds timeout = std::chrono::seconds(10));
// A press and release of the button where the cursor is; returns once the system has seen both,
// so that the next input cannot overtake it. A press the hook swallows still counts: the system
// shows the button down before any hook is asked.
bool Click(int button, std::chrono::milliseconds timeout = std::chrono::seconds(10));
// The colour (0x00BBGGRR) the X screen shows at the point, as ImageMagick's import reads it from
// the X server, which is what the user sees: Wine's own reading of the screen leaves out windows it
// does not draw itself. nullopt when nothing came within the time.
std::optional<COLORREF> PixelAt(POINT at, std::chrono::milliseconds timeout = std::chrono::seconds(20));
// Starts xdotool with the given commands and does not wait: for sequences that must reach the X
// server close together, such as the two clicks of a double click. The caller waits for the effect.
bool Run(const std::wstring& commands);

// A key or button pressed at the X server for as long as this object lives, so that a failing
// assertion never leaves it down for the next test. Down() tells whether the press took effect.
class Held {
public:
    explicit Held(int button);
    Held(const wchar_t* keysym, WORD vk);
    ~Held() { Release(); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    bool Down() const { return down_; }
    // Lets go now; true once Wine shows it released (or it was released before).
    bool Release();

private:
    int button_ = 0;
    const wchar_t* keysym_ = nullptr;
    WORD vk_ = 0;
    bool pressed_ = true;
    bool down_ = false;
};
} // namespace xserver

// The user's temporary folder, ending with a backslash.
std::wstring TempFolder();
// Deletes the folder with everything in it, read-only files included.
void RemoveTree(const std::wstring& folder);
// The whole file, or nullopt when it cannot be opened; its writer may keep it open meanwhile.
std::optional<std::string> ReadFileBytes(const std::wstring& path);
// Writes the file anew with exactly these bytes.
bool WriteFileBytes(const std::wstring& path, std::string_view content);
// The target path stored in a shortcut file, as IShellLink::GetPath gives it with these SLGP_*
// flags, or an empty string. The calling thread must have initialised COM.
std::wstring ShortcutTarget(const std::wstring& linkFile, DWORD getPathFlags);

// Whether the key or mouse button (a virtual-key code) is down now, as the system sees it.
bool KeyIsDown(int vk);
bool IsLayered(HWND window);
bool IsTopmost(HWND window);
RECT WindowRect(HWND window);
// The screen row through the middle of the window's caption bar.
int CaptionRow(HWND window);
// A point in the middle of the window's caption bar (left of its buttons).
POINT CaptionPoint(HWND window);

} // namespace winkit
