#pragma once
// The window's one unit conversion: 15 twips to a pixel at 96 dpi, counted in
// Qt's device-independent pixels so the toolkit scales for high-DPI screens.

#include <QRect>
#include <QSize>

#include "window/ControlTable.h"

namespace qadrill {

inline constexpr int twipsPerPixel = 15;

[[nodiscard]] constexpr int toPixels(int twips) { return (twips + twipsPerPixel / 2) / twipsPerPixel; }

// Edges are rounded, not sizes, so controls that meet or overlap by 15 twips
// meet or overlap by exactly one pixel.
[[nodiscard]] inline QRect toPixels(const TwipRect& rect) {
    const int left = toPixels(rect.left);
    const int top = toPixels(rect.top);
    return {left, top, toPixels(rect.left + rect.width) - left, toPixels(rect.top + rect.height) - top};
}

[[nodiscard]] inline QSize formSizePixels() { return {toPixels(formWidthTwips), toPixels(formHeightTwips)}; }

}  // namespace qadrill
