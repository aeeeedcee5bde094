#pragma once
// The window's one unit conversion.  The layout is a pixel layout at 96 dpi
// (15 twips to a pixel), scaled as a whole for other resolutions, so every
// front end and every resolution keep the same meeting and overlapping edges.

#include "window/ControlTable.h"

namespace qadrill {

inline constexpr int twipsPerPixel = 15;
inline constexpr int baseDpi = 96;

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelRect&) const = default;
};

// Rounded half away from zero, in integers: the layout holds no negative edges.
[[nodiscard]] constexpr int scaled(int value, int numerator, int denominator) {
    return (2 * value * numerator + denominator) / (2 * denominator);
}

// An edge in twips to pixels at 96 dpi, then at this resolution.
[[nodiscard]] constexpr int toPixels(int twips, int dpi = baseDpi) {
    return scaled(scaled(twips, 1, twipsPerPixel), dpi, baseDpi);
}

// Edges are rounded, not sizes, so controls that meet or overlap by 15 twips
// meet or overlap by exactly one pixel at 96 dpi.
[[nodiscard]] constexpr PixelRect toPixels(const TwipRect& rect, int dpi = baseDpi) {
    const int left = toPixels(rect.left, dpi);
    const int top = toPixels(rect.top, dpi);
    return {left, top, toPixels(rect.left + rect.width, dpi) - left, toPixels(rect.top + rect.height, dpi) - top};
}

[[nodiscard]] constexpr PixelRect formPixels(int dpi = baseDpi) {
    return toPixels(TwipRect{0, 0, formWidthTwips, formHeightTwips}, dpi);
}

}  // namespace qadrill
