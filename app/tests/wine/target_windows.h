// What the test windows program (target_windows.exe) answers about itself: a window of another
// process cannot have its menus or layered opacity read from outside, so it is asked.
#pragma once

#include <windows.h>

namespace targetwindows {

// Answers 1 while the window's system menu has its Close command, else 0.
constexpr UINT kQueryCloseCommand = WM_APP + 1;
// Answers 0x100 plus the window's layered opacity, or 0 when it has none.
constexpr UINT kQueryAlpha = WM_APP + 2;
// Posted: the window's thread stops answering, as a stuck program's would: it sets the first event
// (created by the test) and waits for the second, at most a minute.
constexpr UINT kStopAnswering = WM_APP + 3;
constexpr wchar_t kNotAnsweringEvent[] = L"jp.trellane.Test.TargetNotAnswering";
constexpr wchar_t kAnswerAgainEvent[] = L"jp.trellane.Test.TargetAnswerAgain";

} // namespace targetwindows
