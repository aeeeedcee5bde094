#pragma once
// The focus ring both front ends draw around the focused control, where a
// style's own outline can be a faint line (a dark theme, a high scale): solid,
// two pixels wide at 96 dpi, in black or white, whichever stands out more
// from the control's background.  Either gives at least 4.5:1 against any
// background, above the 3:1 an outline needs to be seen.

namespace qadrill {

struct Rgb {
    int red = 0;  // 0 to 255
    int green = 0;
    int blue = 0;
};

inline constexpr int focusRingPixels = 2;  // at 96 dpi; front ends scale it

// Luminance of an sRGB colour, 0 for black to 1 for white.
[[nodiscard]] double relativeLuminance(Rgb colour);
// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black on white.
[[nodiscard]] double contrastRatio(Rgb first, Rgb second);
[[nodiscard]] Rgb focusRingInk(Rgb background);

}  // namespace qadrill
