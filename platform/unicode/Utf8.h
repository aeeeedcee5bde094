#pragma once
// UTF-16 <-> UTF-8 for native file names and test output.  A lone surrogate
// becomes U+FFFD: a file name cannot hold one.

#include <string>
#include <string_view>

namespace qadrill {

[[nodiscard]] std::string toUtf8(std::u16string_view text);
[[nodiscard]] std::u16string fromUtf8(std::string_view text);
// How many bytes at the start of the text are whole UTF-8 characters: the
// text's size when all of it is UTF-8.
[[nodiscard]] std::size_t validUtf8Length(std::string_view text);

}  // namespace qadrill
