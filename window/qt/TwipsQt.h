#pragma once
// The shared pixel layout as Qt's rectangles, in device-independent pixels:
// the toolkit scales them for high-DPI screens.

#include <QRect>
#include <QSize>

#include "window/PixelLayout.h"

namespace qadrill {

[[nodiscard]] inline QRect toQRect(const TwipRect& rect) {
    const PixelRect pixels = toPixels(rect);
    return {pixels.left, pixels.top, pixels.width, pixels.height};
}

[[nodiscard]] inline QSize formSizePixels() { return {formPixels().width, formPixels().height}; }

}  // namespace qadrill
