#include "visible_frame.h"

#include <cstring>

namespace trellane {

namespace {

// The attribute's number as the desktop window manager defines it; its header is not needed for a
// function found at run time.
constexpr DWORD kExtendedFrameBounds = 9;

using DwmGetWindowAttributeProc = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);

// Looked up once and kept: the library stays loaded for the program's life. Loaded from the system
// folder by full path, so no copy elsewhere is picked up; missing on systems before Vista.
DwmGetWindowAttributeProc LookUpDwmGetWindowAttribute() noexcept {
    wchar_t path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    constexpr wchar_t kName[] = L"\\dwmapi.dll";
    if (length == 0 || length + sizeof kName / sizeof kName[0] > MAX_PATH) return nullptr;
    std::memcpy(path + length, kName, sizeof kName);
    const HMODULE library = LoadLibraryW(path);
    if (!library) return nullptr;
    const FARPROC address = GetProcAddress(library, "DwmGetWindowAttribute");
    DwmGetWindowAttributeProc function = nullptr;
    static_assert(sizeof function == sizeof address, "function pointers have one size");
    std::memcpy(&function, &address, sizeof function);
    return function;
}

} // namespace

bool ReadVisibleFrame(HWND window, RECT& frame) noexcept {
    static const DwmGetWindowAttributeProc getAttribute = LookUpDwmGetWindowAttribute();
    if (!getAttribute) return false;
    RECT bounds{};
    if (FAILED(getAttribute(window, kExtendedFrameBounds, &bounds, sizeof bounds))) return false;
    if (IsRectEmpty(&bounds)) return false;
    frame = bounds;
    return true;
}

} // namespace trellane
