// calc_standin.exe: put beside trellane.exe as calc.exe by the tray menu test, so that the program's
// calculator item has something to start. It leaves an empty calc-started.txt in its own folder.
#include <windows.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    wchar_t path[MAX_PATH + 32] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    wchar_t* const slash = length > 0 && length < MAX_PATH ? std::wcsrchr(path, L'\\') : nullptr;
    if (!slash) return 1;
    lstrcpyW(slash + 1, L"calc-started.txt");
    const HANDLE file =
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    CloseHandle(file);
    return 0;
}
