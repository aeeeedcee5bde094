#include "window/ControlTable.h"

#include <algorithm>

namespace qadrill {

const std::array<ControlRow, controlCount>& controlTable() {
    using K = ControlKind;
    using F = ControlFont;
    static constexpr std::array<ControlRow, controlCount> table{{
        {"txt_question", -1, K::TextBox, "", {240, 720, 5175, 5255}, 0, F::Arial975, "question box"},
        {"txt_answer", -1, K::TextBox, "", {5640, 720, 5055, 5255}, 1, F::Arial975, "answer box"},
        {"cmdNextQuestion", -1, K::Button, "Next Question / Answer", {240, 0, 975, 735}, 2, F::Default, ""},
        {"cmd_enter_response", -1, K::Button, "Enter Response", {5640, 240, 855, 495}, 3, F::Default, ""},
        {"Picture1", -1, K::PictureBox, "", {240, 6080, 5175, 1375}, 4, F::Default, "Picture1"},
        {"Picture2", -1, K::PictureBox, "", {5640, 6080, 5055, 1375}, 5, F::Default, "Picture2"},
        {"cmd_save_as_notes", -1, K::Button, "Save as Notes", {6480, 240, 855, 495}, 6, F::Default, ""},
        {"cmd_Make_paragraph", -1, K::Button, "Make Paragraph", {7320, 240, 975, 495}, 7, F::Default, ""},
        {"cmd_Make_Paragraph_question", -1, K::Button, "Make Paragraph", {1200, 240, 855, 495}, 8, F::Default, ""},
        {"txt_paragraph_goback", -1, K::LineBox, "1", {3120, 240, 495, 495}, 9, F::Default, "# sentences previous"},
        {"lbl_paragraph_goback", -1, K::Label, "# sentences previous", {2160, 240, 1095, 495}, 10, F::Default, ""},
        {"cmd_timerTrigger", -1, K::Button, "Trigger Timer", {2400, 7560, 735, 495}, 11, F::Default, ""},
        {"List1", -1, K::ListBox, "", {3120, 7680, 1695, 840}, 12, F::Default, "List1"},
        {"lbl_parameter", 0, K::Label, "Parameter 1", {5640, 7680, 900, 195}, 13, F::Default, ""},
        {"txt_parameter", 0, K::LineBox, "1", {6720, 7680, 300, 285}, 14, F::Default, "Parameter 1"},
        {"lbl_parameter", 1, K::Label, "Parameter 2", {5640, 8160, 855, 195}, 15, F::Default, ""},
        {"txt_parameter", 1, K::LineBox, "1", {6720, 8160, 300, 285}, 16, F::Default, "Parameter 2"},
        {"lbl_parameter", 2, K::Label, "Parameter 3", {7200, 7680, 1005, 195}, 17, F::Default, ""},
        {"txt_parameter", 2, K::LineBox, "1", {8205, 7680, 300, 285}, 18, F::Default, "Parameter 3"},
        {"lbl_parameter", 3, K::Label, "Parameter 4", {7200, 8160, 900, 195}, 19, F::Default, ""},
        {"txt_parameter", 3, K::LineBox, "1", {8205, 8160, 300, 285}, 20, F::Default, "Parameter 4"},
        {"cmd_displayCumulativeText", -1, K::Button, "display everything", {3600, 240, 855, 495}, 21, F::Default, ""},
        {"cmd_display_note_file", -1, K::Button, "display notes", {4440, 240, 975, 495}, 22, F::Default, ""},
        {"cmd_quit", -1, K::Button, "quit program", {10200, 0, 735, 495}, 23, F::Default, ""},
        {"cmd_pend_exp", -1, K::Button, "pend exp", {8640, 7560, 495, 375}, 24, F::Default, ""},
        {"cmd_next_picture", -1, K::Button, "next picture", {1200, 7560, 855, 495}, 25, F::Default, ""},
        {"lbl_only_if_prompted", -1, K::Label, "click only if prompted", {240, 7560, 855, 495}, 26, F::Default, ""},
        {"cmd_copy_picture", -1, K::Button, "copy picture", {1200, 8160, 855, 495}, 27, F::Default, ""},
        {"cmd_clear_answer_box", -1, K::Button, "clear box", {8280, 240, 855, 495}, 28, F::Default, ""},
        {"tmr_pend_exp", -1, K::Timer, "", {}, -1, F::Default, ""},
    }};
    return table;
}

std::string controlName(const ControlRow& row) {
    std::string name(row.name);
    if (row.index >= 0) name += "_" + std::to_string(row.index);
    return name;
}

const std::array<std::size_t, controlCount - 1>& tabOrder() {
    static const std::array<std::size_t, controlCount - 1> order = [] {
        std::array<std::size_t, controlCount - 1> rows{};
        std::size_t count = 0;
        for (std::size_t i = 0; i < controlTable().size(); ++i) {
            if (controlTable()[i].kind != ControlKind::Timer) rows.at(count++) = i;
        }
        std::ranges::stable_sort(rows, {}, [](std::size_t i) { return controlTable()[i].tabIndex; });
        return rows;
    }();
    return order;
}

std::string_view accessibleNameOf(const ControlRow& row) {
    return row.accessibleName.empty() ? row.text : row.accessibleName;
}

}  // namespace qadrill
