#pragma once
// Text basics shared by every logic folder.  Texts are UTF-16; lengths and
// positions count characters, the first character is position 1.

#include <optional>
#include <string>
#include <string_view>

namespace qadrill {

// The first n characters (the whole text when it is shorter).
[[nodiscard]] std::u16string left(std::u16string_view text, std::size_t n);
// From position start (1-based) to the end; empty past the end.
[[nodiscard]] std::u16string midFrom(std::u16string_view text, std::size_t start);
// The prefix test of the drill: the first prefix.size() characters equal prefix.
[[nodiscard]] bool startsWith(std::u16string_view text, std::u16string_view prefix);

// The leading number of a text: leading blanks skipped, optional sign, digits,
// optional fraction and exponent; a text without one reads as 0.
[[nodiscard]] double leadingNumber(std::u16string_view text);
// The whole text as one decimal number, blanks around it allowed; nothing else.
[[nodiscard]] std::optional<double> wholeNumber(std::u16string_view text);
// Shortest decimal form with at most 15 significant digits, no leading blank,
// no leading zero before the point (".5"), a point as separator.
[[nodiscard]] std::u16string numberText(double value);

}  // namespace qadrill
