#pragma once
// A report's trace on standard error: "qadrill: <text> (<detail>)", one
// line, so a report that flashed past or that nobody watched can be found in
// a terminal or a log.

#include <string>
#include <string_view>

namespace qadrill {

// The line with its final line end.  Each line break in the text or the
// detail (CR LF, a lone CR, a lone LF) becomes one space; an empty detail
// adds nothing.
[[nodiscard]] std::string reportLine(std::u16string_view text, std::u16string_view detail);

// Writes the line to standard error at once.
void writeReportLine(std::u16string_view text, std::u16string_view detail);

}  // namespace qadrill
