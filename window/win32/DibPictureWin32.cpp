#include "window/win32/DibPictureWin32.h"

#include <windows.h>

#include <cstring>

namespace qadrill {

namespace {

// Three channel masks follow a BI_BITFIELDS header; 32-bit pixels in the
// usual order are the only bit fields taken.
constexpr DWORD usualMasks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};

std::uint32_t pixelAt(const unsigned char* row, int x, int bitsPerPixel) {
    const unsigned char* p = row + static_cast<std::ptrdiff_t>(x) * (bitsPerPixel / 8);
    return 0xFF000000U | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | std::uint32_t{p[0]};
}

}  // namespace

std::optional<Picture> pictureFromDib(const void* dib, std::size_t size) {
    BITMAPINFOHEADER header{};
    if (size < sizeof header) return std::nullopt;
    std::memcpy(&header, dib, sizeof header);
    const int bits = header.biBitCount;
    std::size_t offset = header.biSize;
    if (header.biCompression == BI_BITFIELDS && bits == 32 && header.biSize == sizeof header) {
        if (size < offset + sizeof usualMasks ||
            std::memcmp(static_cast<const unsigned char*>(dib) + offset, usualMasks, sizeof usualMasks) != 0)
            return std::nullopt;
        offset += sizeof usualMasks;
    } else if (header.biCompression != BI_RGB) {
        return std::nullopt;
    }
    if ((bits != 24 && bits != 32) || header.biWidth <= 0 || header.biHeight == 0 || header.biClrUsed != 0)
        return std::nullopt;
    const int width = header.biWidth;
    const int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    const auto stride = (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 31) / 32 * 4;
    if (size < offset + stride * static_cast<std::size_t>(height)) return std::nullopt;

    Picture picture{width, height, {}};
    picture.argb.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const auto* pixels = static_cast<const unsigned char*>(dib) + offset;
    for (int y = 0; y < height; ++y) {
        const int stored = header.biHeight < 0 ? y : height - 1 - y;  // bottom-up unless the height is negative
        const unsigned char* row = pixels + stride * static_cast<std::size_t>(stored);
        for (int x = 0; x < width; ++x) picture.argb.push_back(pixelAt(row, x, bits));
    }
    return picture;
}

}  // namespace qadrill
