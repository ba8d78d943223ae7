// The question after a display-mode change: the new mode holds for this session only until the
// user keeps it, so that a mode the monitor cannot show goes back by itself. A small window of the
// program's own, in front of everything, counting down; keeping writes the mode to the registry,
// and anything else (No, Escape, closing, the countdown running out, the program quitting) gives
// back the mode from before.
#pragma once

#include <windows.h>

#include <string>

#include "bound_window.h"
#include "raii.h"

namespace trellane {

// The title of every box about display modes, the menu's own words.
constexpr wchar_t kDisplayChangeTitle[] = L"画面解像度の変更";

// Says in a message box owned by `owner` that the change to `caption` failed with `result`, and why.
void ReportDisplayChangeFailure(HWND owner, const std::wstring& caption, LONG result);

class KeepModeWindow final : BoundWindow {
public:
    static constexpr wchar_t kClassName[] = L"TrellaneKeepMode";

    KeepModeWindow() noexcept : BoundWindow(L"KeepModeWindow::WndProc") {}
    // A question still open gives the mode back as its window goes.
    ~KeepModeWindow() { FWindow.reset(); }

    // Asks about `chosen`, which the screen now shows in place of `previous`. False when the window
    // cannot be made; the caller then gives the mode back itself.
    bool Ask(HWND owner, const DEVMODEW& chosen, const DEVMODEW& previous, const std::wstring& caption);
    bool IsAsking() const noexcept { return static_cast<bool>(FWindow); }
    void BringToFront() noexcept;
    // The keyboard of a dialog box (Tab, Enter, Escape, the buttons' access keys) for the question.
    bool PreTranslate(MSG& msg) noexcept;

private:
    void AddControls();
    void ShowCountdown() noexcept;
    void Tick();
    // The answers: each ends the question and closes the window.
    void Keep();
    void GiveBack();

    void WindowBound(HWND window) noexcept override { FWindow.reset(window); }
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void WindowUnbound() noexcept override { FWindow.release(); }

    UniqueWindow FWindow;
    UniqueFont FFont;
    HWND FOwner = nullptr;
    HWND FCountdown = nullptr;
    DEVMODEW FChosen{};
    DEVMODEW FPrevious{};
    std::wstring FCaption;
    ULONGLONG FDeadline = 0;
    int FSecondsShown = 0;
    // Set once the user (or the countdown) has answered: a window closed without it gives back.
    bool FAnswered = true;
};

} // namespace trellane
