// Records that Trellane keeps on other programs' windows, as window properties set by atom. A
// record on the window outlives this program however it ends (killed, crashed, updated) and goes
// with the window: a handle used again is a new window without it, and nothing stale is left when
// the window closes, as a file could be.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace trellane {

// The atom of a record's name, registered once and never deleted, so that it stays the same atom
// for as long as any window carries it: a property set by atom adds no reference per window, so a
// window that closes without its record removed leaks none. 0 (with a trace) if it cannot be had.
ATOM RecordAtom(const wchar_t* name) noexcept;
// The property's value, 0 when the window has none.
std::uint64_t PropertyValue(HWND window, ATOM atom) noexcept;
// Values stay below 2^31, so that they read back the same in 32- and 64-bit processes.
bool SetPropertyValue(HWND window, ATOM atom, std::uint32_t value) noexcept;
void RemoveProperty(HWND window, ATOM atom) noexcept;
// Every window on the desktop, top-level or child, that carries any of the properties.
std::vector<HWND> WindowsWithProperty(std::initializer_list<ATOM> atoms);

} // namespace trellane
