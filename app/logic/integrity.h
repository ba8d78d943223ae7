// Administrator rights, decided without asking the system: whether the hook can reach a program
// with a given integrity level, the access the hook's shared section grants, and the tray balloon
// that says a window is out of reach.
//
// Windows maps the hook library only into programs whose integrity level is not above the
// program's own, and keeps a program's objects and windows from lower levels unless told otherwise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trellane {

// Mandatory integrity levels, as the last sub-authority (RID) of their label SIDs.
namespace integrity {
constexpr std::uint32_t kUntrusted = 0x0000;
constexpr std::uint32_t kLow = 0x1000;
constexpr std::uint32_t kMedium = 0x2000;
constexpr std::uint32_t kMediumPlus = 0x2100;
constexpr std::uint32_t kHigh = 0x3000;
constexpr std::uint32_t kSystem = 0x4000;
} // namespace integrity

// True when the hook cannot reach a window whose process runs at `windows`, from a program at
// `own`. A process whose level cannot be read (it could not even be opened) counts as higher.
// Without the program's own level nothing is claimed.
bool HookCannotReach(std::optional<std::uint32_t> own, std::optional<std::uint32_t> windows) noexcept;

// The descriptor of the hook's shared section in SDDL: the signed-in user and the system with full
// access and nobody else, labelled medium with no write-up, so that the hook in that user's ordinary
// programs can open it whatever the program's own rights. userSid is the user's SID as text
// ("S-1-5-21-..."); empty when it is not one, so that nothing else can be spliced into the text.
std::wstring SharedSectionSddl(std::wstring_view userSid);

// The tray balloon for a window the hook cannot reach.
constexpr std::wstring_view kUnreachableBalloonTitle = L"管理者として実行中のウィンドウ";
// Its text naming the window by its title, at most capacity - 1 characters (capacity counts the
// terminating zero, as the shell's record does): a title too long to fit is cut, never inside a
// surrogate pair, and ends in "…".
std::wstring UnreachableBalloonText(std::wstring_view windowTitle, std::size_t capacity);

} // namespace trellane
