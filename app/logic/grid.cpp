#include "grid.h"

#include <algorithm>
#include <optional>

#include "int32.h"

namespace trellane {
namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// A decimal integer with optional sign and surrounding blanks, saturated to 64 bits' worth of
// magnitude so that any length of digits is harmless; nullopt when it is not an integer.
std::optional<std::int64_t> ParseSaturatedDecimal(std::wstring_view text) {
    const std::size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos) return std::nullopt;
    text.remove_prefix(first);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);

    bool negative = false;
    if (text[0] == L'-' || text[0] == L'+') {
        negative = text[0] == L'-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;

    // Anything beyond 32 bits clamps the same way, so stopping here loses nothing.
    constexpr std::int64_t kSaturation = std::int64_t{1} << 40;
    std::int64_t magnitude = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        magnitude = std::min(magnitude * 10 + static_cast<std::int64_t>(c - L'0'), kSaturation);
    }
    return negative ? -magnitude : magnitude;
}

} // namespace

std::int32_t SnapToGrid(std::int32_t v, std::int32_t pitch) {
    if (pitch < 1) return v;
    const std::int64_t g = pitch;
    // floor(v / g + 1/2) == floor((2v + g) / 2g), exact in 64 bits for every 32-bit input.
    std::int64_t snapped = FloorDivide(2 * std::int64_t{v} + g, 2 * g) * g;
    // The multiple on the other side of v is the nearest one that still fits.
    if (snapped > kInt32Max) snapped -= g;
    if (snapped < kInt32Min) snapped += g;
    return static_cast<std::int32_t>(snapped);
}

SnapPlacement SnapWindow(const WindowBounds& r, bool resizable, std::int32_t pitch) {
    const std::int32_t left = SnapToGrid(r.left, pitch);
    const std::int32_t top = SnapToGrid(r.top, pitch);
    if (!resizable) return {left, top, 0, 0, kSwpNoSize | kSwpNoZOrder | kSwpFrameChanged};

    const std::int32_t right = SnapToGrid(r.right, pitch);
    const std::int32_t bottom = SnapToGrid(r.bottom, pitch);
    const std::int32_t width = ClampToInt32(std::int64_t{right} - left);
    const std::int32_t height = ClampToInt32(std::int64_t{bottom} - top);
    return {left, top, width, height, kSwpNoZOrder | kSwpFrameChanged};
}

std::int32_t ClampGridWidth(std::int32_t width) {
    return std::clamp(width, kMinGridWidth, kMaxGridWidth);
}

std::int32_t ClampToumei(std::int32_t level) {
    return std::clamp(level, kMinToumei, kMaxToumei);
}

std::int32_t GridWidthFromSpinText(std::wstring_view text) {
    const auto value = ParseSaturatedDecimal(text);
    if (!value) return kMinGridWidth;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(*value, kMinGridWidth, kMaxGridWidth));
}

} // namespace trellane
