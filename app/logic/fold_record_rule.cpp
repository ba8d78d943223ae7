#include "fold_record_rule.h"

#include <algorithm>

namespace trellane {

namespace {

// Scales from 25 % to 1600 %: anything else was not written by this program.
constexpr std::uint32_t kLeastDpi = 24;
constexpr std::uint32_t kGreatestDpi = 1536;

bool PlausibleHeight(std::uint64_t value) {
    return value >= 1 && value <= static_cast<std::uint64_t>(kLargestWindowHeight);
}

std::int32_t Scaled(std::int32_t value, std::uint32_t from, std::uint32_t to) {
    if (from == 0 || to == 0 || from == to) return value;
    // Rounded to the nearest pixel, as the system scales a window.
    const std::int64_t scaled = (static_cast<std::int64_t>(value) * to + from / 2) / from;
    return static_cast<std::int32_t>(std::min<std::int64_t>(scaled, kLargestWindowHeight));
}

} // namespace

std::int32_t CaptionBand(std::int32_t adjustedTop, std::int32_t adjustedBottom, std::int32_t standardBand) {
    const std::int64_t band = std::int64_t{std::max(0, adjustedBottom)} - std::min(0, adjustedTop);
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(std::max<std::int64_t>(band, standardBand), 1, kLargestWindowHeight));
}

std::int32_t FoldedHeightOnScreen(std::int32_t band, std::uint32_t windowDpi, std::uint32_t monitorDpi) {
    return Scaled(band, windowDpi, monitorDpi);
}

std::int32_t HeightAtDpi(std::int32_t height, std::uint32_t recordedDpi, std::uint32_t presentDpi) {
    return Scaled(height, recordedDpi, presentDpi);
}

std::uint32_t RecordedDpi(std::uint64_t state) {
    const auto dpi = static_cast<std::uint32_t>(state & 0xFFFFu);
    return dpi >= kLeastDpi && dpi <= kGreatestDpi ? dpi : 0;
}

std::uint64_t FoldStateValue(std::uint32_t dpi, bool seen) {
    return RecordedDpi(dpi) | (seen ? kFoldSeen : 0);
}

KeptFoldDecision DecideKeptFold(const KeptFold& record, std::int32_t currentHeight, std::uint32_t currentDpi,
                                std::int32_t minTrackHeight) {
    // Anything out of range (a damaged value, another program's use of the names) is not trusted.
    const std::uint32_t dpi = RecordedDpi(record.state);
    const bool stateDamaged =
        (record.state & ~(kFoldSeen | 0xFFFFu)) != 0 || (dpi == 0 && (record.state & 0xFFFFu) != 0);
    if (!PlausibleHeight(record.height) || !PlausibleHeight(record.folded) ||
        record.folded >= record.height || stateDamaged)
        return {KeptFoldAction::Ignore, 0};
    const std::int32_t folded = HeightAtDpi(static_cast<std::int32_t>(record.folded), dpi, currentDpi);
    const std::int32_t height = HeightAtDpi(static_cast<std::int32_t>(record.height), dpi, currentDpi);
    // A fold only asked for may have been raised to the system's least height for a sizable window;
    // a fold seen is the height the window took.
    const bool seen = (record.state & kFoldSeen) != 0;
    const bool stillFolded =
        currentHeight == folded || (!seen && currentHeight > folded && currentHeight <= minTrackHeight);
    if (!stillFolded) return {KeptFoldAction::Drop, 0};
    return {KeptFoldAction::GiveBack, height};
}

FoldWatchStep DecideFoldWatch(std::int32_t heightBefore, std::int32_t heightNow, std::uint32_t elapsedMs) {
    if (heightNow != heightBefore) return FoldWatchStep::Seen;
    return elapsedMs >= kFoldWatchMs ? FoldWatchStep::GiveUp : FoldWatchStep::Wait;
}

} // namespace trellane
