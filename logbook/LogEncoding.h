#pragma once
// Text into log bytes.  The text is brought to Unicode normalization form C;
// each character the code page holds becomes its one byte, every other one an
// HTML character reference (the named one of HTML 4.01 where there is one,
// else &#N; with N the code point), so nothing a student types is lost.

#include <string>
#include <string_view>

namespace qadrill {

// The bytes of text appended to out.  `scratch` receives the normal form when
// the text is not already in it; a writer of many lines passes the same one
// each time, so the lines cost no allocation of their own.
void appendForLog(std::u16string_view text, std::string& out, std::u16string& scratch);

[[nodiscard]] std::string encodeForLog(std::u16string_view text);

}  // namespace qadrill
