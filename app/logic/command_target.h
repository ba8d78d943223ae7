// Which window a mouse command on a non-client area acts on, and where such a window is placed.
// The hook reports whichever window got the message, which may be a control inside a window (a
// list with its own scroll bars) or a document window inside a frame (MDI).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "grid.h"

namespace trellane {

constexpr std::uint32_t kWsCaption = 0x00C00000; // WS_BORDER | WS_DLGFRAME

// styles: the window styles of the reported window and of each of its ancestors in turn, ending
// with the top-level window. The result indexes the nearest of them that has a caption (both bits
// of kWsCaption), else the top-level window. An empty chain gives 0.
std::size_t CommandTargetIndex(const std::vector<std::uint32_t>& styles);

// A placement computed in screen coordinates, as SetWindowPos takes it for a window whose parent's
// client area starts at (originX, originY) on the screen: (0, 0) for a top-level window.
SnapPlacement PlacementInParent(SnapPlacement placement, std::int32_t originX, std::int32_t originY);

// Maximized and minimized windows belong to the system's own placement: they are never moved,
// sized or folded.
constexpr bool MayBePlaced(bool maximized, bool minimized) {
    return !maximized && !minimized;
}

} // namespace trellane
