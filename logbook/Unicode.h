#pragma once
// The two things the logbook asks of a Unicode library, behind one seam:
// ICU on POSIX (UnicodeIcu.cpp), the system on Windows (UnicodeWin32.cpp),
// chosen by logbook/CMakeLists.txt.  Both take and give UTF-16; a lone
// surrogate passes through unchanged.

#include <string>
#include <string_view>

namespace qadrill {

// Unicode normalization form C.  Text already in it (nearly every line a
// student types) comes back as itself, uncopied; other text is normalized into
// `scratch`, so a writer of many lines reuses one buffer, and the result views
// that.  Throws RuntimeError (57) if the library fails.
[[nodiscard]] std::u16string_view normalizedC(std::u16string_view text, std::u16string& scratch);

// Each UTF-16 unit to its simple lower case where that is one unit too.
[[nodiscard]] std::u16string lowerCased(std::u16string_view text);

}  // namespace qadrill
