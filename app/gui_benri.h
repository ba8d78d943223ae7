// The program's few ways into the Windows shell: open a document or web address, start a command
// line, find a special folder or the program's own folder, and write a shortcut file. Every path
// travels as UTF-16 so that Japanese folder names work whatever the system's code page is.
//
// Glossary: gui_benri is Japanese for "GUI handy things": this unit. The program's other unusual
// names (frmParletU, SysCtrls, toumei, oritatami, the menu items) are listed in README.md.
#pragma once

#include "shell_rules.h"

#include <windows.h>

#include <string>

namespace trellane {

// Opens a file or web address with the program the shell associates with it; failures are silent.
void ShellOpen(const std::wstring& target);

// Starts a command line (plain ASCII program names such as "notepad.exe"), shown normally.
// True when the program was started.
bool RunCommandLine(const std::string& commandLine);

// The file-system path of a shell folder (a CSIDL value), ending with exactly one backslash.
// When the shell cannot resolve the folder the result is "\" alone, which no caller mistakes for a
// usable folder.
std::wstring SpecialFolderPath(HWND owner, int csidl);

// The current user's Startup folder, ending with a backslash.
std::wstring StartupFolderPath(HWND owner);

// The full path of the running executable, however long it is.
std::wstring ExecutablePath();

// The running executable's folder, ending with a backslash.
std::wstring ExeDirectory();

// Writes (or replaces) a shortcut file. The calling thread must have initialised COM
// apartment-threaded. False as soon as any step fails; the file is only written by the last step,
// so a failure leaves no new file behind.
bool CreateShortcut(const std::wstring& linkFile, const std::wstring& target, const std::wstring& arguments,
                    const std::wstring& workingDirectory, LinkShow show);

// Whether a check box is checked (BST_CHECKED; an indeterminate box is not).
inline bool IsChecked(HWND checkBox) {
    return SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// True when a file (not a folder) of that name exists.
bool FileExists(const std::wstring& path);

// Deletes the file when it exists. True when no file of that name remains.
bool DeleteFileIfExists(const std::wstring& path);

} // namespace trellane
