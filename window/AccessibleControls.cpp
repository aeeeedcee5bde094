#include "window/AccessibleControls.h"

#include <algorithm>

namespace qadrill {

const std::array<AccessibleRow, 5>& accessibleTable() {
    using R = AccessibleRole;
    static constexpr std::array<AccessibleRow, 5> table{{
        {"Picture1", -1, R::DrawingArea,
         "Drawing area under the question box; after pend exp the timer draws circles on it"},
        {"Picture2", -1, R::Image, "Picture under the answer box; copy picture shows the clipboard's picture here"},
        {"cmd_Make_Paragraph_question", -1, R::Standard, "Make Paragraph for the question box"},
        {"cmd_Make_paragraph", -1, R::Standard, "Make Paragraph for the answer box"},
        {"List1", -1, R::Standard, "An empty list"},
    }};
    return table;
}

const std::array<LabelPair, 6>& labelPairs() {
    static constexpr std::array<LabelPair, 6> pairs{{
        {"lbl_paragraph_goback", "txt_paragraph_goback", -1},
        {"lbl_parameter", "txt_parameter", 0},
        {"lbl_parameter", "txt_parameter", 1},
        {"lbl_parameter", "txt_parameter", 2},
        {"lbl_parameter", "txt_parameter", 3},
        {"lbl_only_if_prompted", "cmd_next_picture", -1},
    }};
    return pairs;
}

std::optional<AccessibleRow> accessibleRowOf(std::string_view name, int index) {
    const auto& table = accessibleTable();
    const auto it =
        std::ranges::find_if(table, [&](const AccessibleRow& row) { return row.name == name && row.index == index; });
    if (it == table.end()) return std::nullopt;
    return *it;
}

long accessibleRoleNumber(const ControlRow& row) {
    switch (row.kind) {
        case ControlKind::TextBox:
        case ControlKind::LineBox:
            return 0x2A;
        case ControlKind::Button:
            return 0x2B;
        case ControlKind::Label:
            return 0x29;
        case ControlKind::ListBox:
            return 0x21;
        case ControlKind::PictureBox: {
            const auto found = accessibleRowOf(row.name, row.index);
            return found && found->role == AccessibleRole::DrawingArea ? 0x35 : 0x28;
        }
        case ControlKind::Timer:
            break;
    }
    return 0;
}

}  // namespace qadrill
