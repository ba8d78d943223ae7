// The frame of a window as the user sees it. On systems with a desktop window manager the window
// rectangle includes invisible resize borders; the manager reports the visible part separately.
#pragma once

#include <windows.h>

namespace trellane {

// The window's visible frame in screen pixels, or false where the system cannot tell (no desktop
// window manager, an error, or no answer at all); the window rectangle then is what shows.
bool ReadVisibleFrame(HWND window, RECT& frame) noexcept;
// Whether the desktop window manager keeps the window from showing (cloaked); false where it
// cannot tell.
bool ReadCloaked(HWND window) noexcept;

} // namespace trellane
