#include "window/CaptionFit.h"

#include <algorithm>

namespace qadrill {

PixelRect captionArea(const ControlRow& row, int dpi) {
    const PixelRect own = toPixels(row.rect, dpi);
    if (row.kind == ControlKind::Button) {
        const int frame = scaled(buttonFramePixels, dpi, baseDpi);
        return {frame, frame, own.width - 2 * frame, own.height - 2 * frame};
    }
    int width = own.width;
    for (const ControlRow& other : controlTable()) {
        if (other.kind == ControlKind::Label || other.kind == ControlKind::Timer) continue;
        const PixelRect rect = toPixels(other.rect, dpi);
        const bool overlaps = rect.left > own.left && rect.left < own.left + own.width &&
                              rect.top < own.top + own.height && rect.top + rect.height > own.top;
        if (overlaps) width = std::min(width, rect.left - own.left);
    }
    return {0, 0, width, own.height};
}

}  // namespace qadrill
