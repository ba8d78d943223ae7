#include "command_target.h"

#include <limits>

namespace trellane {

std::size_t CommandTargetIndex(const std::vector<std::uint32_t>& styles) {
    for (std::size_t i = 0; i < styles.size(); ++i) {
        if ((styles[i] & kWsCaption) == kWsCaption) return i;
    }
    return styles.empty() ? 0 : styles.size() - 1;
}

SnapPlacement PlacementInParent(SnapPlacement placement, std::int32_t originX, std::int32_t originY) {
    // Far-off coordinates saturate instead of wrapping to the other side of the screen.
    const auto shift = [](std::int32_t value, std::int32_t origin) {
        const std::int64_t moved = std::int64_t{value} - origin;
        if (moved > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
        if (moved < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
        return static_cast<std::int32_t>(moved);
    };
    placement.x = shift(placement.x, originX);
    placement.y = shift(placement.y, originY);
    return placement;
}

} // namespace trellane
