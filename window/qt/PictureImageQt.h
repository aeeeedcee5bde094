#pragma once
// Pictures cross the platform interface as plain pixels; these turn them into
// the toolkit's images and back.

#include <QImage>

#include "platform/Platform.h"

namespace qadrill {

// A null or malformed picture gives a null image.
[[nodiscard]] QImage toImage(const Picture& picture);
// A null image gives a null picture.
[[nodiscard]] Picture toPicture(const QImage& image);

}  // namespace qadrill
