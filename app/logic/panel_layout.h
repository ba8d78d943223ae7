// Where the panel's controls stand at 96 DPI. Most of the panel is drawn at fixed places; the
// settings group is a column of lines, one below the other in the order of their rows, and the
// group's height, the buttons that stand on its bottom edge and the panel's height follow from
// those lines. So a new check box in the group is one row: the lines below it, the group, the
// buttons and the panel all move down by one line.
#pragma once

#include <cstddef>
#include <vector>

namespace trellane {

// A control's rectangle as designed: pixels at 96 DPI in the panel's client area.
struct DesignBounds {
    int left, top, width, height;
};

// The panel's width as designed; its height follows from the settings group.
constexpr int kPanelWidth = 475;

enum class PlaceKind : unsigned char {
    Fixed,         // at `bounds`
    Group,         // the settings group: at bounds' left, top and width; its height from its lines
    CheckLine,     // a line of the group holding one check box `bounds.width` wide
    LabelLine,     // a line of the group that starts with a label; `advance` down to the next line
    Beside,        // on the current line of the group: `bounds` relative to the group and the line
    Buddy,         // places itself beside the control before it (spin buttons); no bounds of its own
    OnGroupBottom, // right of the group: its bottom `bounds.top` pixels above the group's bottom edge
};

// How one control is placed; made with the functions below.
struct Place {
    PlaceKind kind;
    DesignBounds bounds;
    int advance;
    bool gapAbove; // a line that begins a new section of the group, set off from the line above it

    // The same line, set off from the one above it by a gap.
    constexpr Place AfterGap() const {
        Place place = *this;
        place.gapAbove = true;
        return place;
    }
    // Whether the control belongs to the settings group (and so to its tab order).
    constexpr bool InGroup() const {
        return kind == PlaceKind::CheckLine || kind == PlaceKind::LabelLine || kind == PlaceKind::Beside ||
               kind == PlaceKind::Buddy;
    }
};

constexpr Place At(int left, int top, int width, int height) {
    return {PlaceKind::Fixed, {left, top, width, height}, 0, false};
}
constexpr Place GroupAt(int left, int top, int width) {
    return {PlaceKind::Group, {left, top, width, 0}, 0, false};
}
constexpr Place CheckLine(int width) {
    return {PlaceKind::CheckLine, {0, 0, width, 0}, 0, false};
}
constexpr Place LabelLine(int advance) {
    return {PlaceKind::LabelLine, {0, 0, 0, 0}, advance, false};
}
// `left` from the group's left edge, `down` below the line's top.
constexpr Place Beside(int left, int down, int width, int height) {
    return {PlaceKind::Beside, {left, down, width, height}, 0, false};
}
constexpr Place Buddy() {
    return {PlaceKind::Buddy, {0, 0, 0, 0}, 0, false};
}
// `above`: how far the control's bottom edge stands above the group's.
constexpr Place OnGroupBottom(int left, int above, int width, int height) {
    return {PlaceKind::OnGroupBottom, {left, above, width, height}, 0, false};
}

struct PanelLayout {
    std::vector<DesignBounds> bounds; // one per place, in the same order; empty for a buddy
    int width;                        // the client area
    int height;
};

// Lays out the places of one panel with at most one group.
PanelLayout LayOutPanel(const std::vector<Place>& places);

} // namespace trellane
