#include "window_property.h"

#include "trace.h"

namespace trellane {

namespace {

struct PropertySearch {
    ATOM first;
    ATOM second;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectCarriers(HWND window, LPARAM search) noexcept {
    auto& wanted = *reinterpret_cast<PropertySearch*>(search);
    if (PropertyValue(window, wanted.first) == 0 && PropertyValue(window, wanted.second) == 0) return TRUE;
    try {
        wanted.found.push_back(window);
    } catch (...) {
        return FALSE;
    }
    return TRUE;
}

} // namespace

ATOM RecordAtom(const wchar_t* name) noexcept {
    const ATOM atom = GlobalAddAtomW(name);
    if (!atom) LogFailure(L"GlobalAddAtomW", name);
    return atom;
}

std::uint64_t PropertyValue(HWND window, ATOM atom) noexcept {
    if (!atom) return 0;
    return static_cast<std::uint64_t>(reinterpret_cast<UINT_PTR>(GetPropW(window, MAKEINTATOM(atom))));
}

bool SetPropertyValue(HWND window, ATOM atom, std::uint32_t value) noexcept {
    return atom &&
           SetPropW(window, MAKEINTATOM(atom), reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(value)));
}

void RemoveProperty(HWND window, ATOM atom) noexcept {
    if (atom) RemovePropW(window, MAKEINTATOM(atom));
}

std::vector<HWND> WindowsWithProperty(ATOM first, ATOM second) {
    PropertySearch search{first, second, {}};
    // From the desktop window: every top-level window and every window inside one (MDI documents).
    EnumChildWindows(GetDesktopWindow(), CollectCarriers, reinterpret_cast<LPARAM>(&search));
    return std::move(search.found);
}

} // namespace trellane
