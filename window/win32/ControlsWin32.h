#pragma once
// The control table as Win32 child windows: which window class and styles
// each kind becomes, and the placing and fonts at a given resolution.

#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "window/ControlTable.h"

namespace qadrill {

// Control ids start past IDOK and IDCANCEL, which the dialog manager sends
// for Enter and Escape: those reach no control.
inline constexpr int firstControlId = 100;

// Every table row's window; the timer's slot stays empty.
using ControlWindows = std::array<HWND, controlCount>;

[[nodiscard]] std::wstring toWide(std::string_view utf8);

// Creates every control of the table as a child of the form, in the table's
// tab order, each label just before the control it names, every control
// presenting its row of the accessibility table.
[[nodiscard]] ControlWindows createControls(HWND form, HINSTANCE instance);

// The control of this table name and array index, or null.
[[nodiscard]] HWND windowOf(const ControlWindows& windows, std::string_view name, int index);

// The fonts at one resolution: the interface font for captions, and the
// boxes' Arial 9.75 pt.
class ControlFonts {
public:
    ControlFonts() = default;
    ~ControlFonts();
    ControlFonts(const ControlFonts&) = delete;
    ControlFonts& operator=(const ControlFonts&) = delete;

    // Measures the captions of the placed controls at this resolution and
    // picks the largest interface font under which every one of them fits.
    void choose(const ControlWindows& controls, int dpi);
    [[nodiscard]] HFONT interfaceFont() const { return interface_; }
    [[nodiscard]] HFONT boxFont() const { return box_; }

private:
    void release();
    HFONT interface_ = nullptr;
    HFONT box_ = nullptr;
};

// Moves every control to its rectangle at this resolution; a label leaves
// out the parts of its neighbours it overlaps.
void placeControls(const ControlWindows& controls, int dpi);
// The boxes' font to the boxes, the interface font to the rest.
void applyFonts(const ControlWindows& controls, const ControlFonts& fonts);

// The row's caption with the font the control has: whether, wrapped at word
// boundaries, it fits the row's caption area (window/CaptionFit.h), and the
// text the control shows for it.
struct CaptionLayout {
    bool fits;
    std::wstring shown;
};
[[nodiscard]] CaptionLayout layOutCaption(HWND control, const ControlRow& row, int dpi);

// The control's window text.
[[nodiscard]] std::wstring captionOf(HWND control);

}  // namespace qadrill
