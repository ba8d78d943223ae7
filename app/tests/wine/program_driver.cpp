#include "program_driver.h"

#include <shlobj.h>

#include <algorithm>

namespace programtest {

namespace {

std::wstring TempRoot() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    std::wstring path(buffer, length);
    if (!path.empty() && path.back() == L'\\') path.pop_back();
    return path;
}

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

struct WindowQuery {
    DWORD processId;
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) noexcept {
    auto* query = reinterpret_cast<WindowQuery*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != query->processId) return TRUE;
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    if (query->className && lstrcmpW(name, query->className) != 0) return TRUE;
    query->found.push_back(window);
    return TRUE;
}

} // namespace

DistCopy::DistCopy(const std::wstring& folderName) {
    static int counter = 0;
    const std::wstring leaf = folderName.empty() ? L"trellane-test" : folderName;
    folder_ = TempRoot() + L"\\" + leaf + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(++counter);
    winkit::RemoveTree(folder_);
    CopyTree(winkit::DistPath(L""), folder_);
    // A previous build may have left settings in the dist folder; a copy always starts without.
    DeleteFileW(Ini().c_str());
}

DistCopy::~DistCopy() { winkit::RemoveTree(folder_); }

void DistCopy::WriteIni(const std::string& content) const {
    const HANDLE file = CreateFileW(Ini().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

std::optional<std::string> DistCopy::ReadIni() const {
    const HANDLE file = CreateFileW(Ini().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) content.append(buffer, read);
    CloseHandle(file);
    return content;
}

Program::Program(const DistCopy& copy) : process_(L"\"" + copy.Exe() + L"\"", copy.Folder()) {}

Program::~Program() {
    if (process_.Started() && process_.WaitExit(std::chrono::milliseconds(0)) == STILL_ACTIVE) {
        // Quit politely first so that windows folded by the program are given back.
        if (form_) PostMessageW(form_, WM_CLOSE, 0, 0);
        if (process_.WaitExit(std::chrono::seconds(15)) == STILL_ACTIVE) process_.Terminate();
    }
}

HWND Program::WaitForm(std::chrono::milliseconds timeout) {
    winkit::WaitFor(
        [&] {
            const auto windows = ProcessWindows(process_.Id(), L"TfrmTrellane");
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
    return winkit::WaitFor([&] { return IsWindowVisible(form_) == FALSE; }, std::chrono::seconds(30)) && Settle();
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

std::wstring Program::Text(HWND control) const { return ControlText(control); }

// GetWindowText does not ask another process's controls for their text; WM_GETTEXT does.
std::wstring ControlText(HWND control) {
    wchar_t buffer[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK, 10000, &copied);
    return buffer;
}

DWORD Program::Quit(std::chrono::milliseconds timeout) {
    if (form_) PostMessageW(form_, WM_CLOSE, 0, 0);
    return process_.WaitExit(timeout);
}

HWND Program::FindDialog() const {
    for (HWND window : ProcessWindows(process_.Id(), L"#32770"))
        if (IsWindowVisible(window)) return window;
    return nullptr;
}

HWND Program::WaitDialog(std::chrono::milliseconds timeout) {
    HWND dialog = nullptr;
    winkit::WaitFor([&] { return (dialog = FindDialog()) != nullptr; }, timeout);
    return dialog;
}

std::vector<HWND> ProcessWindows(DWORD processId, const wchar_t* className) {
    WindowQuery query{processId, className, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
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
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
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

bool WaitForSteadyImage(HWND window, std::chrono::milliseconds timeout) {
    std::vector<unsigned char> previous = WindowPixels(window);
    int steady = 0;
    return winkit::WaitFor(
        [&] {
            winkit::PumpFor(std::chrono::milliseconds(250));
            std::vector<unsigned char> current = WindowPixels(window);
            steady = current == previous ? steady + 1 : 0;
            previous = std::move(current);
            return steady >= 2;
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
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
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
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const size_t size = ((static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3)) * static_cast<size_t>(height);
    std::vector<unsigned char> pixels;
    if (bits) pixels.assign(static_cast<unsigned char*>(bits), static_cast<unsigned char*>(bits) + size);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}
} // namespace

std::wstring StartupFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_STARTUP, TRUE);
    return buffer;
}

} // namespace programtest
