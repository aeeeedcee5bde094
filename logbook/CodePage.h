#pragma once
// The single-byte code page of the logs and of the text coding: Windows-1252,
// with its five unassigned codes (0x81, 0x8D, 0x8F, 0x90, 0x9D) taken as the
// C1 controls of the same value, so every byte 0..255 round-trips.

#include <optional>
#include <string>
#include <string_view>

namespace qadrill {

// The character of one code.
[[nodiscard]] char16_t windows1252Char(unsigned char byte);
// Every byte becomes exactly one character.
[[nodiscard]] std::u16string decodeWindows1252(std::string_view bytes);
// The code of a character, if the code page holds it.
[[nodiscard]] std::optional<unsigned char> windows1252Byte(char16_t c);

}  // namespace qadrill
