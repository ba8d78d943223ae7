// The exclusion list: window class names and program file names whose windows are never snapped
// to the grid, one per line of a plain text file in the system's ANSI code page (or UTF-8 with a
// byte-order mark).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trellane {

// Splits the file's bytes into entries. A line ends at CR LF, a lone CR or a lone LF, so LF CR
// ends two lines, the second one empty. A last line without a line end counts; a line end at
// the very end adds no empty entry. A NUL byte ends the list, as if the file ended there. Each
// line is an entry byte for byte (a UTF-8 byte-order mark at the very start is not part of it), blanks
// included, and an empty line is an empty entry: a class name is compared as a whole, so nothing may be
// trimmed away.
std::vector<std::string> SplitExclusionLines(std::string_view bytes);

// True when the file starts with the UTF-8 byte-order mark: its lines are then UTF-8, not ANSI.
bool HasUtf8Mark(std::string_view bytes);

// A line, decoded, names a program when it is a bare file name ending in ".exe" in any letter case:
// something before the extension, no folder, no drive. Blanks count as for class names, so
// "notepad.exe " stays a class name. Decoded first because a Shift-JIS trail byte may look like a
// backslash.
bool IsProgramLine(std::wstring_view line);

// The file name of a full path (after the last backslash or slash).
std::wstring FileNameOfPath(std::wstring_view path);

// A Store app's windows sit in a frame owned by the frame host; the program the user knows is the
// one that draws inside it.
inline constexpr std::string_view kAppFrameClass = "ApplicationFrameWindow";
inline constexpr std::wstring_view kAppCoreWindowClass = L"Windows.UI.Core.CoreWindow";
// Whether a window of this class is such a frame (class names are compared ignoring case).
bool DrawnByAppInside(std::string_view className);

// The list's bytes with one line added, already encoded as the file's own text: a last line without
// a line end gets one first, and the added line ends like the file's first line (CR LF in a file
// that has none). Nothing when the file holds a NUL byte, which would hide the new line from
// the reader.
std::optional<std::string> WithLineAppended(std::string_view bytes, std::string_view line);

} // namespace trellane
