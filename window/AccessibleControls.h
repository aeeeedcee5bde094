#pragma once
// What a screen reader needs beyond the control table: which controls are
// pictures, a description where the caption alone does not say enough (two
// buttons share "Make Paragraph"), and which label names which control.
// Toolkit-free, so every front end presents the same.

#include <array>
#include <optional>
#include <string_view>

#include "window/ControlTable.h"

namespace qadrill {

enum class AccessibleRole {
    Standard,     // as the control's kind implies
    DrawingArea,  // drawn on by the program
    Image,        // shows a picture
};

struct AccessibleRow {
    std::string_view name;  // the control table's name
    int index;              // position in its control array, -1 when none
    AccessibleRole role;
    std::string_view description;  // empty: none
};

// The label, by name and index, that names a control.
struct LabelPair {
    std::string_view label;
    std::string_view control;
    int index;  // shared by the label and its control; -1 when none
};

inline constexpr std::string_view formDescription =
    "Q&A Drill: the question box on the left, the answer box on the right, the command buttons above them";

[[nodiscard]] const std::array<AccessibleRow, 5>& accessibleTable();
[[nodiscard]] const std::array<LabelPair, 6>& labelPairs();

// The row for a control, if it has one.
[[nodiscard]] std::optional<AccessibleRow> accessibleRowOf(std::string_view name, int index);

// The role a screen reader announces for the control, numbered as the
// systems' accessibility interfaces number roles (Qt's roles take the same
// numbers): a push button 0x2B, editable text 0x2A, static text 0x29, a list
// 0x21, an image 0x28, a drawing area (a diagram) 0x35.
[[nodiscard]] long accessibleRoleNumber(const ControlRow& row);

}  // namespace qadrill
