#pragma once
// The main window's controls as data: name, kind, text, rectangle in twips,
// tab index and font.  The window builds itself from this one table, so the
// table is the layout.

#include <array>
#include <string>
#include <string_view>

namespace qadrill {

enum class ControlKind { TextBox, LineBox, Button, Label, PictureBox, ListBox, Timer };
enum class ControlFont { Default, Arial975 };

// Left, top, width, height in twips from the client area's top-left corner.
struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ControlRow {
    std::string_view name;  // the control's name; arrays share one name
    int index;              // position in its control array, -1 when none
    ControlKind kind;
    std::string_view text;  // caption or initial contents
    TwipRect rect;
    int tabIndex;  // -1 for the timer, which is not a widget
    ControlFont font;
    std::string_view accessibleName;  // empty: the text serves
};

// A face and size both front ends give a control.
struct FontFace {
    std::string_view family;
    double points;
};

inline constexpr int formWidthTwips = 10875;
inline constexpr int formHeightTwips = 8595;
inline constexpr int timerIntervalMs = 15;
// The main window's title, as the form was named.
inline constexpr std::string_view formTitle = "Form1";
// The title of the start-up prompts and of every report, so a screen reader
// names them by the program.
inline constexpr std::string_view promptTitle = "Q&A Drill";
// The question and answer boxes' font (ControlFont::Arial975).
inline constexpr FontFace boxFont{"Arial", 9.75};
inline constexpr std::size_t controlCount = 30;  // 29 controls and the timer

// In tab order; the timer last.
[[nodiscard]] const std::array<ControlRow, controlCount>& controlTable();

// The name a front end gives the control: the table's name, array members
// with their index added ("txt_parameter_0").
[[nodiscard]] std::string controlName(const ControlRow& row);

// The table's rows that are widgets, as positions in the table, ordered by
// their tabIndex: the order Tab walks and a screen reader reads.
[[nodiscard]] const std::array<std::size_t, controlCount - 1>& tabOrder();

// The name a screen reader announces: the row's accessible name, else its text.
[[nodiscard]] std::string_view accessibleNameOf(const ControlRow& row);

}  // namespace qadrill
