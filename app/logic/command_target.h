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

// At the end of a session the folded windows are only asked to unfold, like everywhere else, and
// the session's end then waits for their heights to come back, so that their programs save their
// real sizes; a program that does not answer (or is only slow) cannot hold up signing out for
// longer than this.
constexpr std::uint32_t kSessionEndWaitMs = 1000;
// A window asked to unfold at its height heightWhenAsked, now heightNow (below 0: gone): whether it
// is still to come back.
constexpr bool StillUnfolding(std::int32_t heightWhenAsked, std::int32_t heightNow) {
    return heightNow >= 0 && heightNow == heightWhenAsked;
}
// Whether the end of the session goes on waiting, elapsedMs after the unfolds were asked for.
constexpr bool KeepWaitingForUnfolds(std::size_t stillUnfolding, std::uint32_t elapsedMs) {
    return stillUnfolding > 0 && elapsedMs < kSessionEndWaitMs;
}

} // namespace trellane
