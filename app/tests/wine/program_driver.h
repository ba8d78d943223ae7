// Drives the real trellane.exe from a private copy of the dist folder, as a user would run it:
// its settings file lives in that copy, so every test starts from a known state.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings.h"
#include "winkit.h"

namespace programtest {

using trellane::Settings;

// A settings file's text as the program writes it: the defaults, with what `change` changes.
std::string SettingsText(const std::function<void(Settings&)>& change = {});

// A copy of the dist folder in a fresh temporary folder, removed again at the end.
class DistCopy {
public:
    explicit DistCopy(const std::wstring& folderName = L"");
    ~DistCopy();
    DistCopy(const DistCopy&) = delete;
    DistCopy& operator=(const DistCopy&) = delete;

    const std::wstring& Folder() const { return folder_; }
    std::wstring Exe() const { return folder_ + L"\\trellane.exe"; }
    std::wstring Ini() const { return folder_ + L"\\trellane.ini"; }
    std::wstring ExclusionList() const { return folder_ + L"\\tools\\除外リスト.txt"; }
    void WriteIni(const std::string& content) const;
    std::optional<std::string> ReadIni() const;

private:
    std::wstring folder_;
};

// The running program; ended (if still running) when this object goes away.
class Program {
public:
    explicit Program(const DistCopy& copy);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return process_.Started(); }
    DWORD Id() const { return process_.Id(); }
    HANDLE Handle() const { return process_.Handle(); }
    // The main form, visible or not, once the program has created it.
    HWND WaitForm(std::chrono::milliseconds timeout = std::chrono::seconds(60));
    // The main form once the program has shown it and finished starting up, or null.
    HWND WaitPanel(std::chrono::milliseconds timeout = std::chrono::seconds(60));
    // Puts the shown panel away with its stay-resident button (the notice comes only when there is
    // no settings file yet) and waits until the program has done so.
    bool StayResident();
    // Waits until the program has finished what it was doing and handled everything sent before.
    // Posted notifications (the hook's) may still be queued: sent messages go first, so wait for a
    // notification's effect, then settle to let its handler finish.
    bool Settle();
    HWND Control(const wchar_t* className, const wchar_t* text) const;
    bool IsChecked(const wchar_t* caption) const;
    // Whether the program's thread has the keyboard focus on the control.
    bool HasFocus(HWND control) const;
    std::wstring Text(HWND control) const;
    // Asks the program to quit as the close box does, and waits for it to end.
    DWORD Quit(std::chrono::milliseconds timeout = std::chrono::seconds(60));
    DWORD WaitExit(std::chrono::milliseconds timeout) { return process_.WaitExit(timeout); }
    // The first dialog box (message box) the program shows, or null.
    HWND WaitDialog(std::chrono::milliseconds timeout);
    HWND FindDialog() const;

private:
    winkit::ChildProcess process_;
    HWND form_ = nullptr;
};

// Starts target_windows.exe with one window per layout ("Class:resizable:left:top:width:height")
// as the given process, and waits for each window; null where one did not appear.
std::vector<HWND> StartTargetWindows(winkit::ChildProcess& process, const std::vector<std::wstring>& layouts);
// The program has acted on a gesture and the window's own program has applied what it was asked
// (a snap, a fold: the program only asks for these): Trellane's form has answered, and then the
// window's program has answered a message sent after that. Checks made afterwards are final.
bool GestureSettled(Program& program, HWND window);
std::wstring ControlText(HWND control);
// The position of a scroll bar control of another process, or -1 when it does not answer.
int ScrollPosition(HWND scrollBar);
// The concatenated texts of a dialog's static controls.
std::wstring DialogText(HWND dialog);
// Presses a dialog's button with the given caption.
bool PressDialogButton(HWND dialog, const wchar_t* caption);
void ClickControl(HWND control);
std::wstring StartupFolder();
// Waits until what the screen shows of the window stops changing (painting has finished).
bool WaitForSteadyImage(HWND window, std::chrono::milliseconds timeout);
// Saves what the screen shows of the window as a 24-bit BMP file.
bool SaveWindowImage(HWND window, const std::wstring& path);

} // namespace programtest
