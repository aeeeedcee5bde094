#pragma once
// Captions that show whole: where a caption may stand, and the sizes the
// interface font is tried at.  Each front end measures its captions with its
// own text layout against this one rule and takes the largest size under
// which every caption fits.

#include "window/ControlTable.h"
#include "window/PixelLayout.h"

namespace qadrill {

// The interface font is tried from this size down in half points; below the
// smallest it would not be legible.
inline constexpr int largestCaptionHundredths = 900;
inline constexpr int smallestCaptionHundredths = 650;
inline constexpr int captionStepHundredths = 50;

// A button's bevel, each side, at 96 dpi: its caption keeps off it.
inline constexpr int buttonFramePixels = 2;

// Where the row's caption may stand, in pixels from the top-left of the
// control at this resolution: a button's without its frame; a label's
// without what a control overlapping it from the right covers.
[[nodiscard]] PixelRect captionArea(const ControlRow& row, int dpi);

}  // namespace qadrill
