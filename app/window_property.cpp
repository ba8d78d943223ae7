#include "window_property.h"

#include "trace.h"

namespace trellane {

namespace {

struct PropertySearch {
    std::initializer_list<ATOM> atoms;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectCarriers(HWND window, LPARAM search) noexcept {
    auto& wanted = *reinterpret_cast<PropertySearch*>(search);
    bool carries = false;
    for (const ATOM atom : wanted.atoms)
        carries = carries || PropertyValue(window, atom) != 0;
    if (!carries) return TRUE;
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

std::vector<HWND> WindowsWithProperty(std::initializer_list<ATOM> atoms) {
    PropertySearch search{atoms, {}};
    // From the desktop window: every top-level window and every window inside one (MDI documents).
    EnumChildWindows(GetDesktopWindow(), CollectCarriers, reinterpret_cast<LPARAM>(&search));
    return std::move(search.found);
}

} // namespace trellane
