#include "platform/unicode/Utf8.h"

#include <array>
#include <cstddef>
#include <optional>

#include "platform/unicode/Utf16.h"

namespace qadrill {

namespace {

constexpr char32_t replacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// How many continuation bytes a lead byte announces, or -1 for a byte that
// cannot lead (a continuation byte, C0 and C1 that could only start an
// overlong form, F5 to FF that would pass U+10FFFF or were never UTF-8).
int continuationBytesAfter(unsigned char lead) {
    if (lead < 0x80) return 0;
    if (lead >= 0xC2 && lead <= 0xDF) return 1;
    if (lead >= 0xE0 && lead <= 0xEF) return 2;
    if (lead >= 0xF0 && lead <= 0xF4) return 3;
    return -1;
}

// A character written with more bytes than it needs is overlong.
constexpr std::array<char32_t, 4> smallestOfLength = {0, 0x80, 0x800, 0x10000};

void appendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

// The character whose bytes start at i, or nothing where those bytes are
// not UTF-8 (a bad lead, a missing continuation, an overlong form, a
// surrogate, past U+10FFFF).
struct Decoded {
    char32_t character;
    std::size_t length;
};

std::optional<Decoded> decodeAt(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int extra = continuationBytesAfter(lead);
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= text.size()) return std::nullopt;
    char32_t c = extra == 0 ? lead : lead & (0x3FU >> extra);
    for (int k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < smallestOfLength[static_cast<std::size_t>(extra)] || c > 0x10FFFF || isSurrogate(c)) return std::nullopt;
    return Decoded{c, static_cast<std::size_t>(extra) + 1};
}

}  // namespace

std::string toUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto [c, length] = codePointAt(text, i);
        appendUtf8(out, isSurrogate(c) ? replacement : c);
        i += length;
    }
    return out;
}

std::u16string fromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto decoded = decodeAt(text, i);
        if (!decoded) {
            out += static_cast<char16_t>(replacement);
            ++i;
            continue;
        }
        appendUtf16(out, decoded->character);
        i += decoded->length;
    }
    return out;
}

std::size_t validUtf8Length(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto decoded = decodeAt(text, i);
        if (!decoded) break;
        i += decoded->length;
    }
    return i;
}

}  // namespace qadrill
