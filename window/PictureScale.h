#pragma once
// A picture box's drawing scale: how many units span its drawing area (the
// client area inside its border) across and down.  Without a scale set the
// units are twips, so a box measures as it would in the table.

#include "window/PixelLayout.h"

namespace qadrill {

// Units across pixels of drawing area at this resolution; a set scale of 0 is none.
[[nodiscard]] constexpr double scaleUnits(double set, int pixels, int dpi = baseDpi) {
    return set != 0.0 ? set : pixels * double{twipsPerPixel} * baseDpi / dpi;
}

// Pixels a unit of the scale spans.
[[nodiscard]] constexpr double pixelsPerUnit(double set, int pixels, int dpi = baseDpi) {
    return pixels / scaleUnits(set, pixels, dpi);
}

}  // namespace qadrill
