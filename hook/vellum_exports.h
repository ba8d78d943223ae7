// The library's four exports as a program sees them when it loads the library by path and looks
// them up by name, typed from their declarations so the two cannot drift apart.
#pragma once

#include <windows.h>

#include <cstring>

#include "vellum_api.h"

namespace vellum {

// decltype only reads the declarations and never refers to the imports, so a program that does not
// link the import library can still take the types from them.
using InstallHookFunction = decltype(&::InstallHook);
using UninstallHookFunction = decltype(&::UninstallHook);
using SetGridFunction = decltype(&::SetGrid);
using UseRightButtonFunction = decltype(&::UseRightButton);

// The export of that name as a pointer to a function of type F, or null when the module is null or
// has no such export.
template <class F> F ExportOf(HMODULE module, const char* name) {
    const FARPROC address = module ? GetProcAddress(module, name) : nullptr;
    F function = nullptr;
    static_assert(sizeof function == sizeof address);
    std::memcpy(&function, &address, sizeof function);
    return function;
}

} // namespace vellum
