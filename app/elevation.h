// Administrator rights, both ways. Windows maps the hook library only into programs whose rights
// are not above this program's, and keeps programs with lower rights from a program running as
// administrator (its objects by their descriptors, its windows by User Interface Privilege
// Isolation). The decisions are in integrity.h; this unit asks the system and acts.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "bound_window.h"
#include "raii.h"

namespace trellane {

// Gives the hook's shared section the descriptor that lets the hook in the signed-in user's
// ordinary programs, and nobody else, open it whatever this program's rights (integrity.h). The
// library made the section as it was loaded, before any code of the program ran, with the default
// of this program's token, which for an administrator shuts ordinary programs out. Call before the
// hook is installed; false (with a trace) when it could not be done.
bool ShareHookSectionWithUser();

// Lets the hook's notifications, which the library posts from programs with lower rights, through
// to `window`; without this a program running as administrator never hears them. Failures leave a
// trace.
void LetHookNotificationsThrough(HWND window) noexcept;
// Lets one message from programs with lower rights through to `window` (a second start's request to
// show the panel); a failure leaves a trace.
void LetThroughFromLowerRights(HWND window, UINT message) noexcept;

// The integrity level (its RID) of the process behind the handle, which needs query access; none
// when it cannot be read.
std::optional<std::uint32_t> IntegrityLevelOf(HANDLE process) noexcept;

// Hears every program's windows start a move (the system's out-of-context reports, which need no
// library in the program) for as long as it lives, on the thread that makes it, which must pump
// messages. The first window whose program the hook cannot reach makes it ask for a balloon naming
// the window; once one was shown, no other is asked for.
class UnreachableWindowNotice final : BoundWindow {
public:
    // Shows the balloon with its title and text; false when it could not be shown.
    using ShowBalloon = std::function<bool(std::wstring_view title, std::wstring_view text)>;

    explicit UnreachableWindowNotice(ShowBalloon show);
    ~UnreachableWindowNotice();

private:
    void OnMoveStart(HWND window);

    // The reports are posted here, so the system's callback does nothing slow.
    void WindowBound(HWND window) noexcept override { FMailbox.reset(window); }
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void WindowUnbound() noexcept override { FMailbox.release(); }

    ShowBalloon FShow;
    std::optional<std::uint32_t> FOwnLevel;
    bool FShown = false;
    UniqueWindow FMailbox;
    HWINEVENTHOOK FHook = nullptr;
};

} // namespace trellane
