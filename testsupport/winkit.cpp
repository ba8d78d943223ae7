#include "winkit.h"

#include "raii.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <thread>

namespace winkit {

std::wstring FromUnixPath(const std::string& unixPath) {
    std::wstring result = L"Z:";
    for (char c : unixPath)
        result.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return result;
}

std::wstring DistPath(const std::wstring& relative) {
    return FromUnixPath(TRELLANE_DIST_DIR_UNIX) + L"\\" + relative;
}

std::wstring BuildPath(const std::wstring& relative) {
    return FromUnixPath(TRELLANE_BINARY_DIR_UNIX) + L"\\" + relative;
}

void PumpQueued() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        PumpQueued();
        if (condition()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

void PumpFor(std::chrono::milliseconds duration) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < deadline) {
        PumpQueued();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

ChildProcess::ChildProcess(const std::wstring& commandLine, const std::wstring& directory) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring mutableLine = commandLine;
    if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &info_))
        info_ = PROCESS_INFORMATION{};
}

ChildProcess::~ChildProcess() {
    Terminate();
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept : info_(other.info_) {
    other.info_ = {};
}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        Terminate();
        info_ = other.info_;
        other.info_ = {};
    }
    return *this;
}

DWORD ChildProcess::WaitExit(std::chrono::milliseconds timeout) {
    if (!info_.hProcess) return STILL_ACTIVE;
    const bool ended =
        WaitFor([&] { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; }, timeout);
    if (!ended) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

void ChildProcess::Terminate() {
    if (!info_.hProcess) return;
    if (WaitForSingleObject(info_.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 10000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
    info_ = {};
}

namespace {
struct WindowQuery {
    DWORD processId;
    const wchar_t* className;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) noexcept {
    auto* query = reinterpret_cast<WindowQuery*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != query->processId || (query->visibleOnly && !IsWindowVisible(window))) return TRUE;
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    if (query->className && lstrcmpW(name, query->className) != 0) return TRUE;
    query->found.push_back(window);
    return TRUE;
}
} // namespace

std::vector<HWND> ProcessWindows(DWORD processId, const wchar_t* className, bool visibleOnly) {
    WindowQuery query{processId, className, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND FindProcessWindow(DWORD processId, const wchar_t* className) {
    const std::vector<HWND> windows = ProcessWindows(processId, className, true);
    return windows.empty() ? nullptr : windows.front();
}

std::vector<DWORD> ChildProcessIds(DWORD parentId, const wchar_t* exeName) {
    std::vector<DWORD> found;
    const trellane::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return found;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ParentProcessID == parentId && lstrcmpiW(entry.szExeFile, exeName) == 0)
            found.push_back(entry.th32ProcessID);
    }
    return found;
}

HWND WaitProcessWindow(DWORD processId, const wchar_t* className, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindProcessWindow(processId, className)) != nullptr; }, timeout);
    return found;
}

namespace {
void SendOne(INPUT input) {
    SendInput(1, &input, sizeof(INPUT));
    // Let the input reach the queue of the window under the cursor before the next event.
    PumpFor(std::chrono::milliseconds(30));
}
} // namespace

void MouseMoveTo(int x, int y) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    input.mi.dx = static_cast<LONG>((x * 65536 + width / 2) / width);
    input.mi.dy = static_cast<LONG>((y * 65536 + height / 2) / height);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendOne(input);
}

void MouseButton(DWORD downOrUpFlag) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = downOrUpFlag;
    SendOne(input);
}

namespace {
// True once the cursor has stayed at the point for a while. Under Wine each pointer warp echoes back
// from the X server to the window under the pointer, and a late echo of an earlier position can
// still move the cursor after it has arrived.
bool CursorSettlesAt(POINT at, std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    auto arrived = Clock::time_point::max();
    return WaitFor(
        [&] {
            POINT cursor{};
            GetCursorPos(&cursor);
            const auto now = Clock::now();
            // Absolute input travels in 1/65536ths of the screen, so it may come out a pixel off.
            if (std::abs(cursor.x - at.x) > 1 || std::abs(cursor.y - at.y) > 1) {
                arrived = Clock::time_point::max();
                MouseMoveTo(at.x, at.y);
                return false;
            }
            if (arrived == Clock::time_point::max()) arrived = now;
            return now - arrived >= std::chrono::milliseconds(400);
        },
        timeout);
}
} // namespace

bool Click(POINT at, DWORD downFlag, DWORD upFlag) {
    // Under Wine no echo of an earlier pointer warp can move the cursor away before the press when
    // the click starts at the X server.
    if (xserver::Available())
        return xserver::MoveTo(at) && xserver::Click(downFlag == MOUSEEVENTF_RIGHTDOWN ? 3 : 1);
    MouseMoveTo(at.x, at.y);
    if (!CursorSettlesAt(at, std::chrono::seconds(15))) return false;
    MouseButton(downFlag);
    MouseButton(upFlag);
    return true;
}

void KeyDown(WORD vk) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    SendOne(input);
}

void KeyUp(WORD vk) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    SendOne(input);
}

bool PressKey(WORD vk) {
    // Both events in one call: it returns once the system has queued them, behind any input queued
    // before; they go to the foreground window's thread as they are.
    INPUT inputs[2]{};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, inputs, sizeof(INPUT)) == 2;
}

namespace xserver {

namespace {
constexpr wchar_t kXdotool[] = L"Z:\\usr\\bin\\xdotool";

// Starts a Unix program natively; its process cannot be waited for, so callers wait for what the
// program does instead.
bool StartUnix(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return false;
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
    return true;
}

int ButtonKey(int button) {
    switch (button) {
    case 1:
        return VK_LBUTTON;
    case 2:
        return VK_MBUTTON;
    case 3:
        return VK_RBUTTON;
    default:
        return 0;
    }
}
} // namespace

bool Available() {
    return GetFileAttributesW(kXdotool) != INVALID_FILE_ATTRIBUTES;
}

bool Run(const std::wstring& commands) {
    return StartUnix(std::wstring(kXdotool) + L" " + commands);
}

std::optional<COLORREF> PixelAt(POINT at, std::chrono::milliseconds timeout) {
    static int reads = 0;
    const std::wstring file =
        L"/tmp/winkit-pixel-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++reads);
    // The answer appears whole (renamed once written): "0,0: (255,0,0)  #FF0000  red".
    const std::wstring crop = L"1x1+" + std::to_wstring(at.x) + L"+" + std::to_wstring(at.y);
    if (!StartUnix(L"Z:\\bin\\sh -c \"import -window root -crop " + crop + L" -depth 8 txt:- > " + file +
                   L".tmp && mv " + file + L".tmp " + file + L"\""))
        return std::nullopt;
    const std::wstring path = L"Z:" + file;
    std::optional<std::string> text;
    if (!WaitFor([&] { return (text = ReadFileBytes(path)).has_value(); }, timeout)) return std::nullopt;
    DeleteFileW(path.c_str());
    const std::size_t hash = text->find('#', text->find('\n'));
    if (hash == std::string::npos || hash + 7 > text->size()) return std::nullopt;
    const unsigned long rgb = std::strtoul(text->substr(hash + 1, 6).c_str(), nullptr, 16);
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

bool MoveTo(POINT at, std::chrono::milliseconds timeout) {
    if (!Run(L"mousemove " + std::to_wstring(at.x) + L" " + std::to_wstring(at.y))) return false;
    return WaitFor(
        [&] {
            POINT cursor{};
            return GetCursorPos(&cursor) && cursor.x == at.x && cursor.y == at.y;
        },
        timeout);
}

bool Button(int button, bool down, std::chrono::milliseconds timeout) {
    const int vk = ButtonKey(button);
    if (vk == 0) return false;
    if (!Run(std::wstring(down ? L"mousedown " : L"mouseup ") + std::to_wstring(button))) return false;
    return WaitFor([&] { return KeyIsDown(vk) == down; }, timeout);
}

bool Click(int button, std::chrono::milliseconds timeout) {
    // Held until the system shows it down: a press and release too quick for any look to catch
    // would leave nothing to wait for.
    return Button(button, true, timeout) && Button(button, false, timeout);
}

bool Key(const wchar_t* keysym, WORD vk, bool down, std::chrono::milliseconds timeout) {
    if (!Run(std::wstring(down ? L"keydown " : L"keyup ") + keysym)) return false;
    return WaitFor([&] { return KeyIsDown(vk) == down; }, timeout);
}

Held::Held(int button) : button_(button), down_(Button(button, true)) {}

Held::Held(const wchar_t* keysym, WORD vk) : keysym_(keysym), vk_(vk), down_(Key(keysym, vk, true)) {}

bool Held::Release() {
    // Released even when the press seemed not to take: it may have reached the X server late.
    if (!pressed_) return true;
    pressed_ = false;
    down_ = false;
    return keysym_ ? Key(keysym_, vk_, false) : Button(button_, false);
}

} // namespace xserver

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    return std::wstring(buffer, length <= MAX_PATH ? length : 0);
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string content;
    char buffer[64 * 1024];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        content.append(buffer, read);
    CloseHandle(file);
    return content;
}

bool WriteFileBytes(const std::wstring& path, std::string_view content) {
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool complete =
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
        written == content.size();
    CloseHandle(file);
    return complete;
}

std::wstring ShortcutTarget(const std::wstring& linkFile, DWORD getPathFlags) {
    trellane::ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.put_void())))
        return L"";
    trellane::ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void()))) return L"";
    if (FAILED(file->Load(linkFile.c_str(), STGM_READ))) return L"";
    wchar_t target[MAX_PATH + 1] = {};
    if (FAILED(link->GetPath(target, MAX_PATH, nullptr, getPathFlags))) return L"";
    return target;
}

bool KeyIsDown(int vk) {
    return (static_cast<unsigned short>(GetAsyncKeyState(vk)) & 0x8000u) != 0;
}

bool IsLayered(HWND window) {
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

bool IsTopmost(HWND window) {
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

int CaptionRow(HWND window) {
    return WindowRect(window).top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
}

POINT CaptionPoint(HWND window) {
    const RECT rect = WindowRect(window);
    return POINT{rect.left + (rect.right - rect.left) / 3, CaptionRow(window)};
}

} // namespace winkit
