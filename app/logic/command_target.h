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

// How a change to a window of another thread is made. A changed size or place, or a changed
// z-order, is normally only asked for (queued for the window's own thread), so that a program that
// does not answer never holds up this one. At the end of a session a window whose program answers
// is changed at once instead, so it is placed before its program hears that the session ends;
// one the system reports as not answering is still only asked.
enum class Waiting { Never, ForAnsweringPrograms };
constexpr bool AsksWithoutWaiting(bool ownThread, bool hung, Waiting waiting) {
    return !ownThread && (waiting == Waiting::Never || hung);
}

} // namespace trellane
