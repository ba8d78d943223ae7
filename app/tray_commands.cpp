#include "tray_commands.h"

#include <cstdint>

#include "gui_benri.h"
#include "maker_page.h"
#include "trace.h"
#include "tray_rules.h"

namespace trellane {

namespace {

constexpr wchar_t kDisplayChangeTitle[] = L"ディスプレイサイズの変更";

void SendWindowsKeyShortcut(std::uint8_t letterKey) {
    for (const KeyStroke& stroke : WindowsKeyShortcut(letterKey))
        keybd_event(stroke.virtualKey, 0, stroke.flags, 0);
}

} // namespace

void mnuMinimizeClick() {
    SendWindowsKeyShortcut(kMinimizeAllKey);
}

void mnuAllMinimizeClick() {
    SendWindowsKeyShortcut(kShowDesktopKey);
}

void mnuExpClick() {
    SendWindowsKeyShortcut(kExplorerKey);
}

void mnuNotepadClick() {
    RunCommandLine("notepad.exe");
}

void mnuCalcClick() {
    RunCommandLine("calc.exe");
}

void mnuZephClick() {
    ShellOpen(kMakerPage);
}

void DisplayModeMenu::Build(TMenuItem& menu, HWND owner) {
    FOwner = owner;
    for (int index = 0; index < kMaxDisplayModes; ++index) {
        DEVMODEW& mode = FModes[static_cast<std::size_t>(index)];
        mode = DEVMODEW{};
        mode.dmSize = sizeof mode;
        if (!EnumDisplaySettingsW(nullptr, static_cast<DWORD>(index), &mode)) break;
        menu.Add(
            L"",
            DisplayModeCaption(mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel,
                               mode.dmDisplayFrequency),
            [this](TMenuItem& sender) { DisplayModeClick(sender); }, index);
    }
}

void DisplayModeMenu::DisplayModeClick(TMenuItem& sender) {
    const std::wstring question = DisplayModeQuestion(sender.Caption());
    if (MessageBoxW(FOwner, question.c_str(), kDisplayChangeTitle, MB_YESNO) != IDYES) return;
    const std::intptr_t index = sender.Tag();
    if (index < 0 || index >= kMaxDisplayModes) return;
    // Written to the registry too, so the mode stays after the next log-on.
    const LONG result = ChangeDisplaySettingsW(&FModes[static_cast<std::size_t>(index)], CDS_UPDATEREGISTRY);
    if (result != DISP_CHANGE_SUCCESSFUL)
        LogFailure(L"ChangeDisplaySettingsW", sender.Caption(), static_cast<unsigned long>(result));
}

} // namespace trellane
