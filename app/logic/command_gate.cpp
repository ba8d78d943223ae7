#include "command_gate.h"

#include <iterator>

namespace trellane {

namespace {

// For each command, which facts keep a window out of it (true: the fact excludes the window).
struct GateRow {
    WindowCommand command;
    bool ownProgram, cloaked, excluded, maximized, minimized, arranged;
};

// An excluded window is never snapped and gets no grid; everything else still works on it, as the
// list only ever named windows not to snap. A maximized or minimized window keeps the place the
// system gave it, an arranged one the place the user asked the system for; an unfold still gives
// back what a fold took, wherever the window went since.
// clang-format off
constexpr GateRow kGate[] = {
    // command                    own    cloaked excluded maximized minimized arranged
    {WindowCommand::Drag,         true,  true,   false,   false,    false,    false},
    {WindowCommand::Grid,         true,  true,   true,    false,    false,    false},
    {WindowCommand::Snap,         true,  true,   true,    true,     true,     true},
    {WindowCommand::Translucency, true,  true,   false,   false,    false,    false},
    {WindowCommand::Fold,         true,  true,   false,   true,     true,     false},
    {WindowCommand::Unfold,       false, false,  false,   true,     true,     false},
    {WindowCommand::Topmost,      true,  true,   false,   false,    false,    false},
    {WindowCommand::Pick,         true,  true,   false,   false,    false,    false},
};
// clang-format on

} // namespace

bool TakesPart(WindowCommand command, const WindowFacts& facts) {
    for (const GateRow& row : kGate) {
        if (row.command != command) continue;
        return !((row.ownProgram && facts.ownProgram) || (row.cloaked && facts.cloaked) ||
                 (row.excluded && facts.excluded) || (row.maximized && facts.maximized) ||
                 (row.minimized && facts.minimized) || (row.arranged && facts.arranged));
    }
    return false;
}

} // namespace trellane
