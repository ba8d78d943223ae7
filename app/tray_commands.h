// The tray menu's commands that need nothing of the panel: the "extras" (show the desktop,
// minimise every window, start Notepad, Calculator or Explorer, open the maker's page) and the
// display modes.
#pragma once

#include <windows.h>

#include <array>

#include "display_mode.h"
#include "SysCtrls.h"

namespace trellane {

void mnuMinimizeClick();
void mnuAllMinimizeClick();
void mnuNotepadClick();
void mnuCalcClick();
void mnuExpClick();
void mnuZephClick();

// The display-mode submenu (mnuDisplay): the modes of the primary monitor as the system lists them,
// at most kMaxDisplayModes; choosing one asks first, then changes the mode for good.
class DisplayModeMenu {
public:
    // Adds one item per mode to `menu`; `owner` owns the question box.
    void Build(TMenuItem& menu, HWND owner);

private:
    // The click handler of every display-mode item; the item's tag is its index in FModes.
    void DisplayModeClick(TMenuItem& sender);

    HWND FOwner = nullptr;
    std::array<DEVMODEW, kMaxDisplayModes> FModes{};
};

} // namespace trellane
