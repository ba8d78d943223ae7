// The calls the window commands make on other programs' windows, each as one decision: how a
// window is measured, placed and repainted without ever waiting for its program.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "command_target.h"
#include "grid.h"
#include "screen_geometry.h"
#include "translucency.h"

namespace trellane {

// What a repaint of a window asks for: everything, frame and children included, erased first.
constexpr UINT kRepaintFlags = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN;

bool ReadWindowRect(HWND window, RECT& rect);
WindowBounds BoundsOf(const RECT& rect);
// False when the attributes cannot be read: a window drawn with per-pixel alpha, or a system that
// does not tell for another program's window.
bool ReadLayeredAttributes(HWND window, LayeredState& state);
// Whether the system arranged the window at the drop (docked to an edge, laid out in a zone).
bool IsArranged(HWND window);
// The SetWindowPos flag that only asks another thread's window to change: the change is queued for
// the window's own thread, so that a program that does not answer never holds up this one.
UINT WaitingFlags(HWND window);
// False (with a trace) for a window whose program the system reports as not answering: calls that
// wait for the window's answer are not made on it.
bool AnswersMessages(HWND window, const wchar_t* call);
// SetWindowPos with a placement worked out on the screen; a child window is positioned in its
// parent's client coordinates.
void PlaceWindow(HWND window, SnapPlacement placement);
// Whether the window belongs to this program: never a target of its own commands.
bool IsOwnProcess(HWND window);
// The file name of the program that draws the window ("notepad.exe"): for a Store app's frame, the
// app inside it. Empty when the program cannot be asked.
std::wstring ProgramOf(HWND window);
// The window rectangle snapped by the frame the user sees, where the system reports one.
SnapPlacement SnapPlacementFor(HWND window, const RECT& rect, bool resizable, std::int32_t pitch);

// The window a hook notification about `reported` acts on: the nearest window up its parent chain
// with a caption, else its top-level window.
HWND CommandTarget(HWND reported);

} // namespace trellane
