#include "command_target.h"

#include "int32.h"

namespace trellane {

std::size_t CommandTargetIndex(const std::vector<std::uint32_t>& styles) {
    for (std::size_t i = 0; i < styles.size(); ++i) {
        if ((styles[i] & kWsCaption) == kWsCaption) return i;
    }
    return styles.empty() ? 0 : styles.size() - 1;
}

SnapPlacement PlacementInParent(SnapPlacement placement, std::int32_t originX, std::int32_t originY) {
    // Far-off coordinates saturate instead of wrapping to the other side of the screen.
    placement.x = ClampToInt32(std::int64_t{placement.x} - originX);
    placement.y = ClampToInt32(std::int64_t{placement.y} - originY);
    return placement;
}

} // namespace trellane
