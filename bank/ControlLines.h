#pragma once
// The bank lines that mean something to the reader and the stepping commands
// instead of being shown.  Every test is on the beginning of the line.

#include <string>
#include <string_view>

namespace qadrill {

// The grave accent followed by "routine"; compared on the lower-cased line.
inline constexpr std::u16string_view routineKeyword = u"`routine";
// First six characters of the line that closes the bank.
inline constexpr std::u16string_view endMarker = u"####.#";

// The routine that ends the drill on purpose; any other name but the graph
// routines ends it too.
inline constexpr std::u16string_view exitRoutine = u"exitprog";

// Its first eight characters, lower-cased, are the routine keyword.
[[nodiscard]] bool isRoutineLine(std::u16string_view line);
// The routine name of a routine line: from the tenth character on (the ninth
// only separates), without spaces and hyphens, lower-cased.
[[nodiscard]] std::u16string routineName(std::u16string_view line);
// "graph1" to "graph3", in any case: the routines that do nothing here and
// must not end the drill.
[[nodiscard]] bool isGraphRoutine(std::u16string_view name);
// Three digits and a period: the title line of some assignment (the search
// matches the typed number followed by a period).
[[nodiscard]] bool isTitleLine(std::u16string_view line);
// The line that ends the assignment: the next assignment's title line or the
// end marker.
[[nodiscard]] bool isEndLine(std::u16string_view line, std::u16string_view nextAssignment);

}  // namespace qadrill
