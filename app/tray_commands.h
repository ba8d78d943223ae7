// The tray menu's commands that need nothing of the panel: the "extras" (show the desktop,
// minimise every window, start Notepad, Calculator or Explorer, open the maker's page) and the
// display modes.
#pragma once

#include <windows.h>

#include <vector>

#include "display_mode.h"
#include "keep_mode_window.h"
#include "SysCtrls.h"

namespace trellane {

void mnuMinimizeClick();
void mnuAllMinimizeClick();
void mnuNotepadClick();
void mnuCalcClick();
void mnuExpClick();
void mnuZephClick();

// The display-mode submenu (mnuDisplay): the modes of the primary monitor that OfferedDisplayModes
// picks from all the system lists; choosing one asks first, changes the mode for this session, and
// asks again whether to keep it (KeepModeWindow).
class DisplayModeMenu {
public:
    // Adds one item per mode to `menu`; `owner` owns the question boxes.
    void Build(TMenuItem& menu, HWND owner);
    // The keyboard of the keep-or-go-back question, while it is open.
    bool PreTranslate(MSG& msg) noexcept { return FKeep.PreTranslate(msg); }

private:
    // The click handler of every display-mode item; the item's tag is its index in FModes.
    void DisplayModeClick(TMenuItem& sender);

    HWND FOwner = nullptr;
    std::vector<DEVMODEW> FModes;
    KeepModeWindow FKeep;
};

} // namespace trellane
