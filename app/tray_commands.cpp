#include "tray_commands.h"

#include <cstdint>

#include "gui_benri.h"
#include "maker_page.h"
#include "trace.h"
#include "tray_rules.h"

namespace trellane {

namespace {

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
    DEVMODEW current{};
    current.dmSize = sizeof current;
    if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &current)) {
        LogFailure(L"EnumDisplaySettingsW", L"ENUM_CURRENT_SETTINGS");
        return;
    }
    const auto factsOf = [](const DEVMODEW& mode) {
        return DisplayModeFacts{mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel,
                                mode.dmDisplayFrequency};
    };
    std::vector<DEVMODEW> listed;
    for (DWORD index = 0;; ++index) {
        DEVMODEW mode{};
        mode.dmSize = sizeof mode;
        if (!EnumDisplaySettingsW(nullptr, index, &mode)) break;
        listed.push_back(mode);
    }
    // Last, so that the same mode as the system lists it comes first; there even where it does not.
    listed.push_back(current);
    std::vector<DisplayModeFacts> facts;
    for (const DEVMODEW& mode : listed)
        facts.push_back(factsOf(mode));
    for (const std::size_t index : OfferedDisplayModes(facts, factsOf(current))) {
        const DEVMODEW& mode = listed[index];
        menu.Add(
            L"",
            DisplayModeCaption(mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel,
                               mode.dmDisplayFrequency),
            [this](TMenuItem& sender) { DisplayModeClick(sender); },
            static_cast<std::intptr_t>(FModes.size()));
        FModes.push_back(mode);
    }
}

void DisplayModeMenu::DisplayModeClick(TMenuItem& sender) {
    // One change at a time: the open question comes to the front again.
    if (FKeep.IsAsking()) {
        FKeep.BringToFront();
        return;
    }
    const std::wstring question = DisplayModeQuestion(sender.Caption());
    if (MessageBoxW(FOwner, question.c_str(), kDisplayChangeTitle, MB_YESNO) != IDYES) return;
    const std::intptr_t index = sender.Tag();
    if (index < 0 || static_cast<std::size_t>(index) >= FModes.size()) return;
    DEVMODEW previous{};
    previous.dmSize = sizeof previous;
    if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &previous)) {
        LogFailure(L"EnumDisplaySettingsW", L"ENUM_CURRENT_SETTINGS");
        return;
    }
    // For this session only: the registry keeps the mode from before until the user keeps this one.
    DEVMODEW chosen = FModes[static_cast<std::size_t>(index)];
    const LONG result = ChangeDisplaySettingsW(&chosen, 0);
    if (result != DISP_CHANGE_SUCCESSFUL) {
        ReportDisplayChangeFailure(FOwner, sender.Caption(), result);
        return;
    }
    if (FKeep.Ask(FOwner, chosen, previous, sender.Caption())) return;
    // Nobody could be asked, so nothing is kept.
    ChangeDisplaySettingsW(&previous, 0);
}

} // namespace trellane
