// The question after a window was picked for the exclusion list: its title, class and program,
// and whether to leave it alone by program or by class.
#pragma once

#include <windows.h>

#include <string>

namespace trellane {

enum class PickChoice { Program, Class, Cancel };

struct PickedWindow {
    std::wstring title;
    std::wstring className;
    // Empty when the program cannot be asked: its button is then off.
    std::wstring program;
};

// Reads what the dialog shows without sending the window a message.
PickedWindow DescribePicked(HWND window);

class PickDialog {
public:
    explicit PickDialog(const PickedWindow& picked) : FPicked(picked) {}
    PickDialog(const PickDialog&) = delete;
    PickDialog& operator=(const PickDialog&) = delete;
    // Modal over `owner`, in front of every window, as the user's click was on another program.
    PickChoice Ask(HWND owner);

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void OnInit(HWND dialog);

    const PickedWindow& FPicked;
};

} // namespace trellane
