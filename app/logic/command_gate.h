// Whether a window takes part in one of Trellane's commands: one rule for every gesture, so that a
// new reason to leave a window alone is one fact and one column here.
#pragma once

namespace trellane {

enum class WindowCommand {
    Drag,         // followed at all while it moves: translucency while moving
    Grid,         // the grid under it at the press, and a snap later
    Snap,         // snapped to the grid at the drop
    Translucency, // the middle click
    Fold,         // folded by a right click
    Unfold,       // its height given back by Trellane
    Topmost,      // flashed and put on top or back by Shift + right click
    Pick,         // chosen for the exclusion list
};

// What Trellane knows of the window at the moment of the gesture.
struct WindowFacts {
    bool ownProgram = false; // the panel, the grid, a dialog of Trellane's own
    bool cloaked = false;    // present but not shown: on another virtual desktop, a suspended app
    bool excluded = false;   // its class or its program is on the exclusion list
    bool maximized = false;
    bool minimized = false;
    bool arranged = false; // docked to an edge or laid out in a zone by the system
};

bool TakesPart(WindowCommand command, const WindowFacts& facts);

} // namespace trellane
