#include "window/qt/PictureImageQt.h"

#include <algorithm>
#include <cstddef>

namespace qadrill {

QImage toImage(const Picture& picture) {
    const auto pixels = static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
    if (picture.isNull() || picture.argb.size() != pixels) return {};
    QImage image(picture.width, picture.height, QImage::Format_ARGB32);
    const auto rowLength = static_cast<std::size_t>(picture.width);
    for (int y = 0; y < picture.height; ++y) {
        const auto row = picture.argb.begin() + static_cast<std::ptrdiff_t>(rowLength * static_cast<std::size_t>(y));
        std::copy(row, row + static_cast<std::ptrdiff_t>(rowLength), reinterpret_cast<QRgb*>(image.scanLine(y)));
    }
    return image;
}

Picture toPicture(const QImage& image) {
    if (image.isNull()) return {};
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    Picture picture{argb.width(), argb.height(), {}};
    picture.argb.reserve(static_cast<std::size_t>(argb.width()) * static_cast<std::size_t>(argb.height()));
    for (int y = 0; y < argb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        picture.argb.insert(picture.argb.end(), row, row + argb.width());
    }
    return picture;
}

}  // namespace qadrill
