#include "gui_benri.h"

#include "raii.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdint>

namespace trellane {

namespace {

// An item list handed out by the shell, returned to the shell's allocator.
using UniqueItemIdList = UniqueResource<NullInvalidTraits<LPITEMIDLIST, &CoTaskMemFree>>;

// Long-path systems allow module paths far beyond MAX_PATH; this is the limit of such paths.
constexpr DWORD kLongestPath = 32768;

} // namespace

void ShellOpen(const std::wstring& target) {
    // Nothing can be done about a document that will not open, so the result is not examined.
    ShellExecuteW(nullptr, L"open", target.c_str(), L"", L"", SW_SHOW);
}

bool RunCommandLine(const std::string& commandLine) {
    const UINT result = WinExec(commandLine.c_str(), SW_SHOW);
    return WinExecSucceeded(static_cast<std::int32_t>(result));
}

std::wstring SpecialFolderPath(HWND owner, int csidl) {
    UniqueItemIdList items;
    {
        LPITEMIDLIST raw = nullptr;
        if (FAILED(SHGetSpecialFolderLocation(owner, csidl, &raw))) return WithTrailingBackslash(L"");
        items.reset(raw);
    }
    if (!items) return WithTrailingBackslash(L"");
    // The function writes up to MAX_PATH characters and its terminator; one more keeps it safe
    // whatever a shell extension does.
    wchar_t buffer[MAX_PATH + 1] = {};
    if (!SHGetPathFromIDListW(items.get(), buffer)) return WithTrailingBackslash(L"");
    return WithTrailingBackslash(buffer);
}

std::wstring StartupFolderPath(HWND owner) {
    return SpecialFolderPath(owner, CSIDL_STARTUP);
}

std::wstring ExecutablePath() {
    std::wstring buffer(MAX_PATH + 1, L'\0');
    for (;;) {
        const DWORD capacity = static_cast<DWORD>(buffer.size());
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), capacity);
        if (length == 0) return std::wstring();
        // A result that fills the whole buffer may have been cut short.
        if (length < capacity) {
            buffer.resize(length);
            return buffer;
        }
        if (capacity >= kLongestPath) return std::wstring();
        buffer.resize(static_cast<std::size_t>(capacity) * 2);
    }
}

std::wstring ExeDirectory() {
    return ExeDirectoryOf(ExecutablePath());
}

bool CreateShortcut(const std::wstring& linkFile, const std::wstring& target, const std::wstring& arguments,
                    const std::wstring& workingDirectory, LinkShow show) {
    // Anything but S_OK counts as failure: the link object answers S_FALSE for a target it could
    // not make sense of, and such a shortcut would not start the program.
    ComPtr<IShellLinkW> link;
    if (CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void()) !=
        S_OK)
        return false;
    if (!link) return false;
    if (link->SetPath(target.c_str()) != S_OK) return false;
    if (link->SetArguments(arguments.c_str()) != S_OK) return false;
    if (link->SetWorkingDirectory(workingDirectory.c_str()) != S_OK) return false;
    if (link->SetShowCmd(ShowCommandFor(show)) != S_OK) return false;

    ComPtr<IPersistFile> file;
    if (link->QueryInterface(IID_IPersistFile, file.put_void()) != S_OK) return false;
    if (!file) return false;
    return file->Save(linkFile.c_str(), FALSE) == S_OK;
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DeleteFileIfExists(const std::wstring& path) {
    if (!FileExists(path)) return true;
    DeleteFileW(path.c_str());
    return !FileExists(path);
}

} // namespace trellane
