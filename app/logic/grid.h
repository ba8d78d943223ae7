// The pixel grid: where a dragged window lands when the button is released, and how the panel's
// grid-size field turns into a pitch. Which lines are painted is screen_geometry.h's.
#pragma once

#include <cstdint>
#include <string_view>

namespace trellane {

constexpr std::int32_t kMinGridWidth = 4;
constexpr std::int32_t kMaxGridWidth = 320;

// Rounds v to the nearest multiple of pitch, halves upward, on both sides of zero, so a window
// left of or above the primary screen lands on the same grid as one on it. When that multiple is
// not a 32-bit value, the nearest multiple that is one is taken instead.
// Precondition: pitch >= 1; a smaller pitch leaves v unchanged.
std::int32_t SnapToGrid(std::int32_t v, std::int32_t pitch);

// A window rectangle as the system reports it; right and bottom are exclusive.
struct WindowBounds {
    std::int32_t left, top, right, bottom;
};

// The arguments for moving (and sizing) a window with SetWindowPos.
struct SnapPlacement {
    std::int32_t x, y, cx, cy;
    std::uint32_t flags;
};

constexpr std::uint32_t kSwpNoSize = 0x0001;
constexpr std::uint32_t kSwpNoZOrder = 0x0004;
constexpr std::uint32_t kSwpFrameChanged = 0x0020;

// A resizable window (one with a sizing border) gets all four edges snapped, so its size may
// change and may become 0 for a window smaller than one grid step; any other window keeps its
// size and only its top-left corner moves. Precondition: pitch >= 1.
SnapPlacement SnapWindow(const WindowBounds& r, bool resizable, std::int32_t pitch);

// Keeps a pitch inside what the panel offers.
std::int32_t ClampGridWidth(std::int32_t width);

// The translucency level in percent, as the panel's scroll bar offers it: 0 would make every
// translucent window invisible and levels above 100 wrap to nearly invisible, so a value read from
// the settings file is clamped into this range like the pitch.
constexpr std::int32_t kMinToumei = 20;
constexpr std::int32_t kMaxToumei = 100;
std::int32_t ClampToumei(std::int32_t level);

// The grid-size field's text as a pitch: a decimal integer, blanks allowed around it, clamped
// into kMinGridWidth..kMaxGridWidth (numbers beyond 32 bits clamp by their sign). Text that is not
// an integer, as while the user is still typing, gives kMinGridWidth; so a pitch below 1 can
// never reach drawing or snapping.
std::int32_t GridWidthFromSpinText(std::wstring_view text);

} // namespace trellane
