// The display-mode items of the tray menu and the question asked before switching.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace trellane {

// The menu lists the modes at indices 0..40 only, in the system's order.
constexpr int kMaxDisplayModes = 41;

// "%4d x %4d (%2dBit) %2dHz": 1024 x 768 at 32 bits and 60 Hz reads "1024 x  768 (32Bit) 60Hz".
// Each number is printed as "%d" prints the 32-bit field, so the columns line up in the menu.
std::wstring DisplayModeCaption(std::uint32_t width, std::uint32_t height, std::uint32_t bitsPerPixel,
                                std::uint32_t frequency);

// The confirmation text: the item's caption followed by " に変更します。" (… will be set).
std::wstring DisplayModeQuestion(std::wstring_view caption);

} // namespace trellane
