// Pictures through the Windows clipboard as CF_DIB: what the drill puts
// there comes back pixel for pixel, rows in order; the bitmaps other
// programs offer are read in either row order with their row padding, and
// layouts the drill cannot read give no picture rather than wrong pixels.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "window/DesktopPlatform.h"
#include "window/win32/DibPictureWin32.h"

namespace qadrill {

namespace {

// A 24-bit BI_RGB block: rows of 3 pixels padded to 12 bytes; height < 0 is top-down.
std::vector<unsigned char> dib24(int height, const std::vector<std::uint32_t>& rowsInStoredOrder) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = 3;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    std::vector<unsigned char> block(sizeof header);
    std::memcpy(block.data(), &header, sizeof header);
    for (std::size_t row = 0; row * 3 < rowsInStoredOrder.size(); ++row) {
        for (std::size_t x = 0; x < 3; ++x) {
            const std::uint32_t pixel = rowsInStoredOrder[row * 3 + x];
            block.push_back(static_cast<unsigned char>(pixel));        // blue
            block.push_back(static_cast<unsigned char>(pixel >> 8));   // green
            block.push_back(static_cast<unsigned char>(pixel >> 16));  // red
        }
        block.insert(block.end(), 3, 0);  // padding to a multiple of 4
    }
    return block;
}

constexpr std::uint32_t red = 0xFFFF0000;
constexpr std::uint32_t green = 0xFF00FF00;
constexpr std::uint32_t blue = 0xFF0000FF;
constexpr std::uint32_t white = 0xFFFFFFFF;

TEST(ClipboardPicture, WhatTheDrillPutsComesBack) {
    DesktopPlatform platform;
    const Picture picture{3, 2, {red, green, blue, white, red, green}};
    platform.setClipboardPicture(picture);
    const std::optional<Picture> back = platform.clipboardPicture();
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->width, 3);
    EXPECT_EQ(back->height, 2);
    EXPECT_EQ(back->argb, picture.argb);
}

TEST(ClipboardPicture, OfferedBitmapsAreReadInTheirRowOrder) {
    struct Row {
        const char* name;
        std::vector<unsigned char> dib;
    };
    const std::vector<std::uint32_t> top{red, green, blue};
    const std::vector<std::uint32_t> bottom{white, white, red};
    auto rows = [](auto first, auto second) {
        std::vector<std::uint32_t> all(first.begin(), first.end());
        all.insert(all.end(), second.begin(), second.end());
        return all;
    };
    for (const Row& row :
         {Row{"bottom-up", dib24(2, rows(bottom, top))}, Row{"top-down", dib24(-2, rows(top, bottom))}}) {
        const std::optional<Picture> picture = pictureFromDib(row.dib.data(), row.dib.size());
        ASSERT_TRUE(picture.has_value()) << row.name;
        EXPECT_EQ(picture->argb, rows(top, bottom)) << row.name;
    }
}

TEST(ClipboardPicture, UnreadableLayoutsGiveNoPicture) {
    std::vector<unsigned char> palette = dib24(2, std::vector<std::uint32_t>(6, red));
    reinterpret_cast<BITMAPINFOHEADER*>(palette.data())->biBitCount = 8;
    std::vector<unsigned char> truncated = dib24(2, std::vector<std::uint32_t>(6, red));
    truncated.resize(truncated.size() - 1);
    for (const auto& dib : {palette, truncated}) EXPECT_FALSE(pictureFromDib(dib.data(), dib.size()).has_value());
}

}  // namespace

}  // namespace qadrill
