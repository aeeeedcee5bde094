#pragma once
// The main window's controls as data: name, kind, text, rectangle in twips,
// tab index and font.  The window builds itself from this one table, so the
// table is the layout.

#include <array>
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

inline constexpr int formWidthTwips = 10875;
inline constexpr int formHeightTwips = 8595;
inline constexpr int timerIntervalMs = 15;
// The start-up prompts' window title, so a screen reader names them.
inline constexpr std::string_view promptTitle = "Q&A Drill";
inline constexpr std::size_t controlCount = 30;  // 29 controls and the timer

// In tab order; the timer last.
[[nodiscard]] const std::array<ControlRow, controlCount>& controlTable();

}  // namespace qadrill
