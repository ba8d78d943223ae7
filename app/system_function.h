// Functions of system libraries that older systems lack, found at run time so that the program
// still starts there: each caller keeps the pointer it gets (null where the function is missing)
// and says what it does without it.
#pragma once

#include <windows.h>

#include <cstring>
#include <cwchar>

#include "vellum_exports.h"

namespace trellane {

// The export `name` of a system library as a function of type F, or null. A library that is not
// loaded yet is loaded from the system folder by full path, so that no copy elsewhere is picked
// up; it stays loaded for the program's life.
template <class F> F SystemFunction(const wchar_t* library, const char* name) noexcept {
    HMODULE module = GetModuleHandleW(library);
    if (!module) {
        wchar_t path[MAX_PATH] = {};
        const UINT length = GetSystemDirectoryW(path, MAX_PATH);
        const std::size_t nameLength = std::wcslen(library);
        if (length == 0 || length + 1 + nameLength >= MAX_PATH) return nullptr;
        path[length] = L'\\';
        std::memcpy(path + length + 1, library, (nameLength + 1) * sizeof(wchar_t));
        module = LoadLibraryW(path);
    }
    return vellum::ExportOf<F>(module, name);
}

} // namespace trellane
