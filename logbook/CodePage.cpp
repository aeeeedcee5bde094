#include "logbook/CodePage.h"

#include <algorithm>
#include <array>

namespace qadrill {

namespace {

// Windows-1252's characters at 0x80..0x9F; the five codes it leaves
// unassigned stand for themselves.
constexpr std::array<char16_t, 32> upperControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

char16_t windows1252Char(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return upperControlRange[byte - 0x80U];
    return static_cast<char16_t>(byte);
}

std::u16string decodeWindows1252(std::string_view bytes) {
    // A notes log of megabytes is decoded whole: one pass, no growth checks.
    std::u16string out(bytes.size(), u'\0');
    std::transform(bytes.begin(), bytes.end(), out.begin(),
                   [](char b) { return windows1252Char(static_cast<unsigned char>(b)); });
    return out;
}

std::optional<unsigned char> windows1252Byte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
    for (std::size_t i = 0; i < upperControlRange.size(); ++i)
        if (upperControlRange[i] == c) return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

}  // namespace qadrill
