// hook_victim.exe: an ordinary resizable captioned window in a process of its own, for the
// end-to-end tests of the mouse hook. It appends one line for every mouse message its window
// procedure receives (and for the few window messages that show how a press was handled) to the
// log file named on its command line, so the test can tell which messages the hook swallowed.
//
//   hook_victim.exe <log file> [--size-box] [left top width height]
//
// --size-box adds both scroll bars, whose meeting corner is the classic size box (hit-test HTSIZE).
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace {

constexpr wchar_t kVictimClass[] = L"TrellaneHookVictim";

// The log is opened for appending with every sharing mode, so the test can read it at any moment
// while this process writes; each line goes out with one WriteFile and no buffering of our own.
class MessageLog {
public:
    explicit MessageLog(const wchar_t* path)
        : file_(CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~MessageLog() {
        if (Ok()) CloseHandle(file_);
    }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    bool Ok() const { return file_ != INVALID_HANDLE_VALUE; }

    void Write(UINT message, WPARAM wParam, LPARAM lParam) const noexcept {
        if (!Ok()) return;
        char line[64];
        const int length =
            std::snprintf(line, sizeof line, "%04X %08lX %08lX\n", message,
                          static_cast<unsigned long>(wParam), static_cast<unsigned long>(lParam));
        if (length <= 0) return;
        DWORD written = 0;
        WriteFile(file_, line, static_cast<DWORD>(length), &written, nullptr);
    }

private:
    HANDLE file_;
};

const MessageLog* g_log = nullptr;

bool IsMouseMessage(UINT message) {
    return (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_NCMOUSEHOVER ||
           message == WM_NCMOUSELEAVE || message == WM_MOUSEHOVER || message == WM_MOUSELEAVE;
}

// Messages that tell the test what became of a press: a move or size loop, a system command.
bool IsWitnessMessage(UINT message) {
    return message == WM_SYSCOMMAND || message == WM_CONTEXTMENU || message == WM_ENTERSIZEMOVE ||
           message == WM_EXITSIZEMOVE || message == WM_CAPTURECHANGED;
}

LRESULT CALLBACK VictimProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (g_log && (IsMouseMessage(message) || IsWitnessMessage(message)))
        g_log->Write(message, wParam, lParam);

    switch (message) {
    // Right and middle presses are only recorded: the default handling would open the system menu,
    // whose modal loop would eat the input of the next test step.
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
    case WM_NCMBUTTONDBLCLK:
    case WM_CONTEXTMENU:
        return 0;
    // A double click on the caption would maximize the window; its position must stay known.
    case WM_NCLBUTTONDBLCLK:
        return 0;
    case WM_SYSCOMMAND:
        // Caption buttons are pressed by the tests: the window neither shrinks, grows nor closes.
        switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
        case SC_MAXIMIZE:
        case SC_RESTORE:
        case SC_CLOSE:
        case SC_KEYMENU:
        case SC_MOUSEMENU:
            return 0;
        default:
            break;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

struct Options {
    const wchar_t* logPath = nullptr;
    bool sizeBox = false;
    int left = 200;
    int top = 150;
    int width = 420;
    int height = 300;
};

// Owns the argument vector of CommandLineToArgvW.
class Arguments {
public:
    Arguments() : argv_(CommandLineToArgvW(GetCommandLineW(), &count_)) {}
    ~Arguments() {
        if (argv_) LocalFree(argv_);
    }
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;
    int Count() const { return argv_ ? count_ : 0; }
    const wchar_t* operator[](int index) const { return argv_[index]; }

private:
    int count_ = 0;
    LPWSTR* argv_;
};

bool ParseOptions(const Arguments& arguments, Options& options) {
    int positional = 0;
    int* const geometry[] = {&options.left, &options.top, &options.width, &options.height};
    for (int i = 1; i < arguments.Count(); ++i) {
        const wchar_t* argument = arguments[i];
        if (std::wcscmp(argument, L"--size-box") == 0) {
            options.sizeBox = true;
            continue;
        }
        if (!options.logPath) {
            options.logPath = argument;
            continue;
        }
        if (positional >= 4) return false;
        *geometry[positional++] = static_cast<int>(std::wcstol(argument, nullptr, 10));
    }
    return options.logPath != nullptr && (positional == 0 || positional == 4);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const Arguments arguments;
    Options options;
    if (!ParseOptions(arguments, options)) return 2;

    const MessageLog log(options.logPath);
    if (!log.Ok()) return 3;
    g_log = &log;

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = VictimProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kVictimClass;
    if (!RegisterClassExW(&windowClass)) return 4;

    DWORD style = WS_OVERLAPPEDWINDOW;
    if (options.sizeBox) style |= WS_HSCROLL | WS_VSCROLL;
    const HWND window = CreateWindowExW(0, kVictimClass, L"Hook victim", style, options.left, options.top,
                                        options.width, options.height, nullptr, nullptr, instance, nullptr);
    if (!window) return 5;
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    UpdateWindow(window);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    g_log = nullptr;
    return 0;
}
