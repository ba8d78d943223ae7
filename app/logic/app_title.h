// The caption of the program's message boxes. It is derived from the executable's own name, so
// a user who renames the program sees the new name in its messages.
#pragma once

#include <string>
#include <string_view>

namespace trellane {

// The file name after the last '\\', '/' or ':', cut before its first '.', with every character
// after the first lower-cased: "C:\\X\\TRELLANE.EXE" gives "Trellane". The first character is
// kept exactly as the file system spells it. Lower-casing covers the Latin letters (ASCII,
// Latin-1 and full-width); Japanese and every other script are left untouched.
std::wstring ApplicationTitle(std::wstring_view exePath);

} // namespace trellane
