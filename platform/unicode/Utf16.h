#pragma once
// UTF-16 surrogates: a high one followed by a low one is a pair, one code
// point above U+FFFF; either alone is a lone surrogate, which the drill's
// texts may hold and each user treats in its own way.

#include <cstddef>
#include <string_view>
#include <utility>

namespace qadrill {

[[nodiscard]] constexpr bool isHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
[[nodiscard]] constexpr bool isLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
[[nodiscard]] constexpr bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Whether a surrogate pair starts at index i.
[[nodiscard]] constexpr bool isPairAt(std::u16string_view text, std::size_t i) {
    return i + 1 < text.size() && isHighSurrogate(text[i]) && isLowSurrogate(text[i + 1]);
}

// The code point starting at index i and its length in units; a lone
// surrogate stands for itself.
[[nodiscard]] constexpr std::pair<char32_t, std::size_t> codePointAt(std::u16string_view text, std::size_t i) {
    if (!isPairAt(text, i)) return {text[i], 1};
    return {0x10000 + ((char32_t{text[i]} - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00), 2};
}

}  // namespace qadrill
