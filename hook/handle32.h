// Window and hook handles in 32 bits. Windows gives every user handle (HWND, HHOOK) 32 significant
// bits on 32- and 64-bit systems alike, so that programs of both kinds can hand them to each other:
// a handle is stored by truncation and widened again by sign extension. The shared record, the
// notifications' wParam when a 32-bit process posts them, and the fold list's names rely on this.
#pragma once

#include <windows.h>

#include <cstdint>

namespace vellum {

template <class Handle> std::uint32_t HandleBits(Handle handle) noexcept {
    return static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(handle));
}

template <class Handle> Handle HandleFromBits(std::uint64_t bits) noexcept {
    return reinterpret_cast<Handle>(
        static_cast<INT_PTR>(static_cast<std::int32_t>(static_cast<std::uint32_t>(bits))));
}

} // namespace vellum
