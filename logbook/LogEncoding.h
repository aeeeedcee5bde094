#pragma once
// Text into log bytes.  The text is brought to Unicode normalization form C;
// each character the code page holds becomes its one byte, every other one an
// HTML character reference (the named one of HTML 4.01 where there is one,
// else &#N; with N the code point), so nothing a student types is lost.

#include <string>
#include <string_view>

namespace qadrill {

[[nodiscard]] std::string encodeForLog(std::u16string_view text);

}  // namespace qadrill
