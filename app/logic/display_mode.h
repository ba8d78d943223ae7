// The display-mode items of the tray menu, the question asked before switching, the one asked after
// (keep the new mode or go back), and what a refused change tells the user.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trellane {

// The menu lists at most this many modes.
constexpr int kMaxDisplayModes = 41;
// A new mode goes back by itself unless the user keeps it within this many seconds, so that a
// mode the monitor cannot show never leaves the user without a picture.
constexpr int kKeepModeSeconds = 15;

// What the menu needs to know of one mode the display lists.
struct DisplayModeFacts {
    std::uint32_t width = 0, height = 0, bitsPerPixel = 0, frequency = 0;
};

// The modes the menu offers, as indices into `listed` in menu order: only modes of the current
// colour depth; one per width and height, at the current refresh rate where that size has it, else
// at the highest; largest first; at most kMaxDisplayModes, the current size always among them.
// `listed` holds every mode the display reports and `current` itself.
std::vector<std::size_t> OfferedDisplayModes(const std::vector<DisplayModeFacts>& listed,
                                             const DisplayModeFacts& current);

// "%4d x %4d (%2dBit) %2dHz": 1024 x 768 at 32 bits and 60 Hz reads "1024 x  768 (32Bit) 60Hz".
// Each number is printed as "%d" prints the 32-bit field, so the columns line up in the menu.
std::wstring DisplayModeCaption(std::uint32_t width, std::uint32_t height, std::uint32_t bitsPerPixel,
                                std::uint32_t frequency);

// The confirmation text: the item's caption followed by " に変更しますか？" (set it?).
std::wstring DisplayModeQuestion(std::wstring_view caption);

// The countdown line of the keep-or-go-back question: "N 秒後に元に戻ります。".
std::wstring KeepModeCountdown(int secondsLeft);

// The results of a display-mode change, as the system numbers them (DISP_CHANGE_*).
enum class DisplayChangeResult : long {
    Successful = 0,
    Restart = 1,
    Failed = -1,
    BadMode = -2,
    NotUpdated = -3,
    BadFlags = -4,
    BadParam = -5,
    BadDualView = -6,
};

// The message for a change to `caption` that the system refused with `result`: what failed, why,
// and that the mode is as it was.
std::wstring DisplayChangeFailureText(std::wstring_view caption, long result);

} // namespace trellane
