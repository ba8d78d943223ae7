// What the test windows program (target_windows.exe) answers about itself: a window of another
// process cannot have its menus or layered opacity read from outside, so it is asked.
#pragma once

#include <windows.h>

namespace targetwindows {

// Answers 1 while the window's system menu has its Close command, else 0.
constexpr UINT kQueryCloseCommand = WM_APP + 1;
// Answers 0x100 plus the window's layered opacity, or 0 when it has none.
constexpr UINT kQueryAlpha = WM_APP + 2;

} // namespace targetwindows
