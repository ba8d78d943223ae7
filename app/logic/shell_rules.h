// Rules behind the shell helpers (paths, the launcher's result code, the show command a shortcut
// stores), kept apart from the system calls so they can be checked without Windows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace trellane {

// The folder part of a full path: everything up to and including the last '\' or ':'.
// A bare file name has no folder part and yields an empty string.
std::wstring ExeDirectoryOf(std::wstring_view exePath);

// The path with exactly one trailing '\' added when it lacks one; an empty path becomes "\".
std::wstring WithTrailingBackslash(std::wstring_view path);

// WinExec reports success with any value above 31; smaller values are error codes.
bool WinExecSucceeded(std::int32_t result);

// The window state a shortcut starts its program in.
enum class LinkShow { Normal = 0, Minimized = 1, Maximized = 2 };

// The SW_* value stored in a shortcut for that state.
int ShowCommandFor(LinkShow show);

// The settings file that sits beside the executable: its path with the extension replaced by ".ini".
std::wstring SettingsPathFor(std::wstring_view exePath);

} // namespace trellane
