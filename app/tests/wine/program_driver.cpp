#include "program_driver.h"

#include "raii.h"

#include <shlobj.h>

#include <algorithm>

namespace programtest {

namespace {

bool CopyTree(const std::wstring& from, const std::wstring& to) {
    CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileW((from + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ok = CopyTree(from + L"\\" + name, to + L"\\" + name) && ok;
        else
            ok = CopyFileW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), FALSE) && ok;
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return ok;
}

} // namespace

DistCopy::DistCopy(const std::wstring& folderName) {
    static int counter = 0;
    const std::wstring leaf = folderName.empty() ? L"trellane-test" : folderName;
    folder_ = winkit::TempFolder() + leaf + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(++counter);
    winkit::RemoveTree(folder_);
    CopyTree(winkit::DistPath(L""), folder_);
    // A previous build may have left settings in the dist folder; a copy always starts without.
    DeleteFileW(Ini().c_str());
}

DistCopy::~DistCopy() {
    winkit::RemoveTree(folder_);
}

std::string SettingsText(const std::function<void(Settings&)>& change) {
    Settings settings = trellane::DefaultSettings();
    if (change) change(settings);
    return trellane::SettingsFileText(settings);
}

void DistCopy::WriteIni(const std::string& content) const {
    winkit::WriteFileBytes(Ini(), content);
}

std::optional<std::string> DistCopy::ReadIni() const {
    return winkit::ReadFileBytes(Ini());
}

Program::Program(const DistCopy& copy) : process_(L"\"" + copy.Exe() + L"\"", copy.Folder()) {}

Program::~Program() {
    // Quit politely first so that windows folded by the program are given back; the process is
    // ended anyway if it does not go.
    if (process_.Started()) Quit(std::chrono::seconds(15));
}

HWND Program::WaitForm(std::chrono::milliseconds timeout) {
    winkit::WaitFor(
        [&] {
            const auto windows = winkit::ProcessWindows(process_.Id(), L"TfrmTrellane");
            form_ = windows.empty() ? nullptr : windows.front();
            return form_ != nullptr;
        },
        timeout);
    return form_;
}

HWND Program::WaitPanel(std::chrono::milliseconds timeout) {
    const HWND form = WaitForm(timeout);
    if (!form) return nullptr;
    // The form is shown at the end of its start-up work.
    if (!winkit::WaitFor([&] { return IsWindowVisible(form) != FALSE; }, timeout)) return nullptr;
    return Settle() ? form : nullptr;
}

bool Program::StayResident() {
    ClickControl(Control(L"Button", L"常駐する(&O)"));
    return winkit::WaitFor([&] { return IsWindowVisible(form_) == FALSE; }, std::chrono::seconds(30)) &&
           Settle();
}

bool Program::Settle() {
    if (!form_) return false;
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(form_, WM_NULL, 0, 0, SMTO_BLOCK, 30000, &result) != 0;
}

HWND Program::Control(const wchar_t* className, const wchar_t* text) const {
    return form_ ? FindWindowExW(form_, nullptr, className, text) : nullptr;
}

bool Program::IsChecked(const wchar_t* caption) const {
    const HWND box = Control(L"Button", caption);
    return box && SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool Program::HasFocus(HWND control) const {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    const DWORD thread = form_ ? GetWindowThreadProcessId(form_, nullptr) : 0;
    return thread && GetGUIThreadInfo(thread, &gui) && gui.hwndFocus == control;
}

bool GestureSettled(Program& program, HWND window) {
    DWORD_PTR answer = 0;
    return program.Settle() && SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 20000, &answer) != 0;
}

int ScrollPosition(HWND scrollBar) {
    DWORD_PTR position = 0;
    if (!SendMessageTimeoutW(scrollBar, SBM_GETPOS, 0, 0, SMTO_BLOCK, 10000, &position)) return -1;
    return static_cast<int>(position);
}

std::wstring Program::Text(HWND control) const {
    return ControlText(control);
}

// GetWindowText does not ask another process's controls for their text; WM_GETTEXT does.
std::wstring ControlText(HWND control) {
    wchar_t buffer[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK, 10000,
                        &copied);
    return buffer;
}

DWORD Program::Quit(std::chrono::milliseconds timeout) {
    if (form_) PostMessageW(form_, WM_CLOSE, 0, 0);
    return process_.WaitExit(timeout);
}

HWND Program::FindDialog() const {
    return winkit::FindProcessWindow(process_.Id(), L"#32770");
}

HWND Program::WaitDialog(std::chrono::milliseconds timeout) {
    HWND dialog = nullptr;
    winkit::WaitFor([&] { return (dialog = FindDialog()) != nullptr; }, timeout);
    return dialog;
}

std::vector<HWND> StartTargetWindows(winkit::ChildProcess& process,
                                     const std::vector<std::wstring>& layouts) {
    std::wstring commandLine = L"\"" + winkit::BuildPath(L"app\\tests\\wine\\target_windows.exe") + L"\"";
    for (const auto& layout : layouts)
        commandLine += L" " + layout;
    process = winkit::ChildProcess(commandLine);
    std::vector<HWND> windows;
    for (const auto& layout : layouts) {
        if (layout.find(L'=') != std::wstring::npos) continue; // an option, not a window
        const std::wstring className = layout.substr(0, layout.find(L':'));
        windows.push_back(winkit::WaitProcessWindow(process.Id(), className.c_str()));
    }
    return windows;
}

std::wstring DialogText(HWND dialog) {
    std::wstring text;
    for (HWND child = FindWindowExW(dialog, nullptr, L"Static", nullptr); child;
         child = FindWindowExW(dialog, child, L"Static", nullptr)) {
        text += ControlText(child);
    }
    return text;
}

bool PressDialogButton(HWND dialog, const wchar_t* caption) {
    const HWND button = FindWindowExW(dialog, nullptr, L"Button", caption);
    if (!button) return false;
    // Pressed through the dialog's command, as the keyboard would: the dialog may still be settling
    // into place, and where it stands is not what these tests are about.
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    return true;
}

void ClickControl(HWND control) {
    // The button's own click, delivered as the mouse would (press and release on the control).
    DWORD_PTR result = 0;
    SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_BLOCK, 10000, &result);
}

namespace {
// What the screen shows of the window, as 24-bit rows from the bottom up.
std::vector<unsigned char> WindowPixels(HWND window);
} // namespace

namespace {
// True when neither the window nor any window inside it waits to be painted.
bool NothingToPaint(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) return false;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (!NothingToPaint(child)) return false;
    return true;
}
} // namespace

bool WaitForSteadyImage(HWND window, std::chrono::milliseconds timeout) {
    // Painted everywhere, and what was painted has reached the screen: two looks in a row agree.
    std::vector<unsigned char> previous;
    return winkit::WaitFor(
        [&] {
            if (!NothingToPaint(window)) {
                previous.clear();
                return false;
            }
            std::vector<unsigned char> current = WindowPixels(window);
            const bool steady = !current.empty() && current == previous;
            previous = std::move(current);
            return steady;
        },
        timeout);
}

bool SaveWindowImage(HWND window, const std::wstring& path) {
    RECT rect{};
    if (!GetWindowRect(window, &rect)) return false;
    const std::vector<unsigned char> pixels = WindowPixels(window);
    if (pixels.empty()) return false;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = rect.right - rect.left;
    info.biHeight = rect.bottom - rect.top;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool saved = WriteFile(file, &header, sizeof header, &written, nullptr) &&
                       WriteFile(file, &info, sizeof info, &written, nullptr) &&
                       WriteFile(file, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    CloseHandle(file);
    return saved;
}

namespace {
std::vector<unsigned char> WindowPixels(HWND window) {
    RECT rect{};
    if (!GetWindowRect(window, &rect)) return {};
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const trellane::WindowDc screen(nullptr, trellane::WindowDc::Area::Client);
    const trellane::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const trellane::UniqueBitmap bitmap(
        CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const trellane::SelectedObject selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const size_t size =
        ((static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3)) * static_cast<size_t>(height);
    std::vector<unsigned char> pixels;
    if (bits) pixels.assign(static_cast<unsigned char*>(bits), static_cast<unsigned char*>(bits) + size);
    return pixels;
}
} // namespace

std::wstring StartupFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_STARTUP, TRUE);
    return buffer;
}

} // namespace programtest
