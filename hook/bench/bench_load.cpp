// What the hook library adds to the start of a small program: the time from CreateProcess to the
// exit of a child that shows a window, takes one mouse message and quits, with the mouse hook
// installed and without. The library is loaded into a process only once its thread takes a mouse
// message while the hook is installed, so each child reports whether it got the message and whether
// the library was loaded in it, and the figures say how many runs did. Rounds alternate which mode
// goes first, so drift of the machine hits both alike. Prints figures; never fails on them.
//
//   hook_load_bench.exe [--rounds N] [path of Vellum.dll]
//   hook_load_bench.exe --child        (the small program; started by the parent)
#include <windows.h>

#include "bench_common.h"
#include "vellum_exports.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The child's exit code: what it saw, as flags; kChildBroken when it could not show its window.
constexpr DWORD kGotMouse = 1;
constexpr DWORD kLibraryLoaded = 2;
constexpr DWORD kChildBroken = 64;
constexpr DWORD kChildMouseTimeoutMs = 5000;
constexpr DWORD kChildExitTimeoutMs = 30000;
constexpr wchar_t kChildClass[] = L"TrellaneLoadBenchChild";

LRESULT CALLBACK ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return DefWindowProcW(window, message, wParam, lParam);
}

// The middle of the window, or a little beside it when the cursor is already there (the previous
// child's window stood at the same place): only a real move is reported to the window under it.
POINT FreshPointInside(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    POINT target{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    POINT cursor{};
    GetCursorPos(&cursor);
    if (cursor.x == target.x && cursor.y == target.y) target.x += 8;
    return target;
}

DWORD RunChild() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ChildProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kChildClass;
    if (!RegisterClassW(&windowClass)) return kChildBroken;
    const HWND window = CreateWindowExW(0, kChildClass, L"Load bench child", WS_OVERLAPPEDWINDOW, 200, 150,
                                        320, 240, nullptr, nullptr, instance, nullptr);
    if (!window) return kChildBroken;
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    UpdateWindow(window);
    const POINT target = FreshPointInside(window);
    SetCursorPos(target.x, target.y);

    DWORD seen = 0;
    const DWORD start = GetTickCount();
    for (DWORD waited = 0; !(seen & kGotMouse) && waited < kChildMouseTimeoutMs;
         waited = GetTickCount() - start) {
        MsgWaitForMultipleObjectsEx(0, nullptr, kChildMouseTimeoutMs - waited, QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
        // Removing the message is what runs a mouse hook in this thread, and what loads the
        // hook's library into this process.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_MOUSEMOVE && msg.hwnd == window) seen |= kGotMouse;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (GetModuleHandleW(L"Vellum.dll")) seen |= kLibraryLoaded;
    DestroyWindow(window);
    return seen;
}

// The library loaded afresh with its hook installed for as long as this object lives: InstallHook
// works once per load of the library, so every run with the hook has a load of its own.
class InstalledHook {
public:
    InstalledHook(const std::wstring& path, HWND notifyWindow) : module_(LoadLibraryW(path.c_str())) {
        const auto install = vellum::ExportOf<vellum::InstallHookFunction>(module_, "InstallHook");
        uninstall_ = vellum::ExportOf<vellum::UninstallHookFunction>(module_, "UninstallHook");
        installed_ = install && uninstall_ && install(notifyWindow) != 0;
    }
    ~InstalledHook() {
        if (installed_) uninstall_();
        if (module_) FreeLibrary(module_);
    }
    InstalledHook(const InstalledHook&) = delete;
    InstalledHook& operator=(const InstalledHook&) = delete;
    bool Installed() const { return installed_; }

private:
    HMODULE module_;
    vellum::UninstallHookFunction uninstall_ = nullptr;
    bool installed_ = false;
};

struct ChildRun {
    bool ended = false; // on its own, within the time allowed
    DWORD exitCode = 0;
    double ms = 0.0;
};

// Waits for the process while pumping this thread's messages: the owner of a global hook must keep
// taking its messages, or the system stalls the other processes' input on it.
bool WaitPumping(HANDLE process, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (DWORD waited = 0; waited < timeoutMs; waited = GetTickCount() - start) {
        const DWORD woken =
            MsgWaitForMultipleObjectsEx(1, &process, timeoutMs - waited, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0) return true;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    return false;
}

ChildRun StartChild(std::wstring commandLine, const LARGE_INTEGER& frequency) {
    ChildRun run;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start{};
    LARGE_INTEGER stop{};
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return run;
    CloseHandle(process.hThread);
    run.ended = WaitPumping(process.hProcess, kChildExitTimeoutMs);
    QueryPerformanceCounter(&stop);
    if (!run.ended) TerminateProcess(process.hProcess, kChildBroken);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hProcess);
    run.ms =
        static_cast<double>(stop.QuadPart - start.QuadPart) * 1e3 / static_cast<double>(frequency.QuadPart);
    return run;
}

struct Mode {
    std::vector<double> ms;
    int gotMouse = 0;
    int loaded = 0;
    int failed = 0; // did not start, hung, or the hook could not be installed

    void Add(const ChildRun& run) {
        if (!run.ended || run.exitCode >= kChildBroken) {
            ++failed;
            return;
        }
        ms.push_back(run.ms);
        if (run.exitCode & kGotMouse) ++gotMouse;
        if (run.exitCode & kLibraryLoaded) ++loaded;
    }
    void Print(const char* name) const {
        const double fastest = ms.empty() ? 0.0 : *std::min_element(ms.begin(), ms.end());
        std::printf("  %-17s median %8.1f ms, min %8.1f ms; %zu runs: %d got the mouse message, %d had "
                    "Vellum.dll loaded, %d failed\n",
                    name, Median(ms), fastest, ms.size(), gotMouse, loaded, failed);
    }
};

std::wstring ChildCommandLine() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return L"\"" + std::wstring(self) + L"\" --child";
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--child") == 0) return static_cast<int>(RunChild());

    const BenchOptions options = ParseBenchOptions(argc, argv, 10);
    const int rounds = options.rounds;
    const std::wstring& libraryPath = options.libraryPath;

    const HWND notifyWindow = MessageWindow();
    const std::wstring child = ChildCommandLine();
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);

    Mode without;
    Mode with;
    auto runWithout = [&]() { return StartChild(child, frequency); };
    auto runWith = [&]() {
        const InstalledHook hook(libraryPath, notifyWindow);
        return hook.Installed() ? StartChild(child, frequency) : ChildRun{};
    };
    // The first pair only warms the disk cache and the emulator's translations.
    runWithout();
    runWith();
    for (int round = 0; round < rounds; ++round) {
        if (round % 2 == 0) {
            without.Add(runWithout());
            with.Add(runWith());
        } else {
            with.Add(runWith());
            without.Add(runWithout());
        }
    }
    DestroyWindow(notifyWindow);

    std::printf("start of a small program (window, one mouse message, exit), %d interleaved rounds:\n",
                rounds);
    without.Print("without the hook:");
    with.Print("with the hook:");
    const double ratio = Median(without.ms) > 0.0 ? Median(with.ms) / Median(without.ms) : 0.0;
    std::printf("  ratio of medians with / without: %.3f (%+.1f ms)\n", ratio,
                Median(with.ms) - Median(without.ms));
    const int withRuns = static_cast<int>(with.ms.size());
    if (with.failed > 0 || with.loaded < withRuns || with.gotMouse < withRuns)
        std::printf("  NOTE: %d of %d runs with the hook did not load Vellum.dll or take the mouse message: "
                    "the ratio does not show the library's full cost\n",
                    rounds - std::min(with.loaded, with.gotMouse), rounds);
    if (without.loaded > 0 || without.gotMouse < static_cast<int>(without.ms.size()) || without.failed > 0)
        std::printf("  NOTE: the runs without the hook are not all clean (see above)\n");
    return 0;
}
