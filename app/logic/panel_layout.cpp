#include "panel_layout.h"

#include <algorithm>

namespace trellane {

namespace {

// Inside the group: the lines' left edge, the first line's distance from the group's top, and the
// gap that sets a section of the group off from the one above it.
constexpr int kGroupIndent = 16;
constexpr int kFirstLine = 16;
constexpr int kSectionGap = 8;
// A check box takes a line of 16 pixels. It is 17 high, one pixel less where another line starts
// 16 pixels below it, so that two stacked boxes never overlap, also once scaled for the screen.
constexpr int kCheckLine = 16;
constexpr int kCheckHeight = 17;
// The label that starts a line.
constexpr int kLabelWidth = 90;
constexpr int kLabelHeight = 12;
// Below the last line: its check box's extra pixel and the group's frame; below the group: the
// panel's margin.
constexpr int kGroupBottomPadding = 9;
constexpr int kPanelBottomMargin = 9;

bool IsLine(PlaceKind kind) {
    return kind == PlaceKind::CheckLine || kind == PlaceKind::LabelLine;
}

} // namespace

PanelLayout LayOutPanel(const std::vector<Place>& places) {
    PanelLayout layout{std::vector<DesignBounds>(places.size(), DesignBounds{0, 0, 0, 0}), kPanelWidth, 0};
    const auto group = std::find_if(places.begin(), places.end(),
                                    [](const Place& place) { return place.kind == PlaceKind::Group; });
    const DesignBounds frame = group != places.end() ? group->bounds : DesignBounds{0, 0, 0, 0};

    // The lines, one below the other; what else stands on a line goes by the line's top.
    std::vector<int> lineTops;
    int next = kFirstLine;
    int lineTop = next;
    for (std::size_t i = 0; i < places.size(); ++i) {
        const Place& place = places[i];
        DesignBounds& at = layout.bounds[i];
        if (IsLine(place.kind)) {
            if (place.gapAbove) next += kSectionGap;
            lineTop = next;
            lineTops.push_back(lineTop);
            next += place.kind == PlaceKind::CheckLine ? kCheckLine : place.advance;
        }
        switch (place.kind) {
        case PlaceKind::Fixed:
            at = place.bounds;
            break;
        case PlaceKind::CheckLine:
            // The height waits for the next line's top.
            at = {frame.left + kGroupIndent, frame.top + lineTop, place.bounds.width, kCheckHeight};
            break;
        case PlaceKind::LabelLine:
            at = {frame.left + kGroupIndent, frame.top + lineTop, kLabelWidth, kLabelHeight};
            break;
        case PlaceKind::Beside:
            at = {frame.left + place.bounds.left, frame.top + lineTop + place.bounds.top, place.bounds.width,
                  place.bounds.height};
            break;
        case PlaceKind::Group:
        case PlaceKind::Buddy:
        case PlaceKind::OnGroupBottom:
            break;
        }
    }

    // Check boxes with a line right below them give up their extra pixel.
    std::size_t line = 0;
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (!IsLine(places[i].kind)) continue;
        ++line;
        if (places[i].kind == PlaceKind::CheckLine && line < lineTops.size())
            layout.bounds[i].height = std::min(kCheckHeight, lineTops[line] - lineTops[line - 1]);
    }

    const int groupHeight = next + kGroupBottomPadding;
    const int groupBottom = frame.top + groupHeight;
    for (std::size_t i = 0; i < places.size(); ++i) {
        const Place& place = places[i];
        if (place.kind == PlaceKind::Group)
            layout.bounds[i] = {frame.left, frame.top, frame.width, groupHeight};
        if (place.kind == PlaceKind::OnGroupBottom)
            layout.bounds[i] = {place.bounds.left, groupBottom - place.bounds.top - place.bounds.height,
                                place.bounds.width, place.bounds.height};
    }
    layout.height = groupBottom + kPanelBottomMargin;
    return layout;
}

} // namespace trellane
