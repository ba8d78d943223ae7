// The hook library loaded from the dist folder by path, as the tests load it, with its four
// exports looked up by name.
#pragma once

#include <windows.h>

#include <cstring>

#include "winkit.h"

struct Library {
    using IntFromWindow = int(WINAPI*)(HWND);
    using IntFromInt = int(WINAPI*)(int);
    using IntFromTwoInts = int(WINAPI*)(int, int);
    using IntFromNothing = int(WINAPI*)();

    HMODULE module = LoadLibraryW(winkit::DistPath(L"tools\\Vellum.dll").c_str());
    IntFromWindow InstallHook = Proc<IntFromWindow>("InstallHook");
    IntFromNothing UninstallHook = Proc<IntFromNothing>("UninstallHook");
    IntFromTwoInts SetGrid = Proc<IntFromTwoInts>("SetGrid");
    IntFromInt UseRightButton = Proc<IntFromInt>("UseRightButton");

    template <class Function> Function Proc(const char* name) const {
        const FARPROC address = module ? GetProcAddress(module, name) : nullptr;
        Function function = nullptr;
        static_assert(sizeof function == sizeof address);
        std::memcpy(&function, &address, sizeof function);
        return function;
    }
    bool Complete() const { return module && InstallHook && UninstallHook && SetGrid && UseRightButton; }
};
