#include "bank/ControlLines.h"

#include <algorithm>
#include <array>

#include "logbook/Text.h"
#include "logbook/TextCoding.h"
#include "logbook/Unicode.h"

namespace qadrill {

namespace {
constexpr std::size_t routineNameStart = routineKeyword.size() + 2;
constexpr std::size_t assignmentDigits = 3;
// The graph routines draw nothing in this drill; they only must not end it.
constexpr std::array<std::u16string_view, 3> graphRoutines = {u"graph1", u"graph2", u"graph3"};
}  // namespace

bool isRoutineLine(std::u16string_view line) { return lowerCased(left(line, routineKeyword.size())) == routineKeyword; }

std::u16string routineName(std::u16string_view line) { return lowerCased(remSpaces(midFrom(line, routineNameStart))); }

bool isGraphRoutine(std::u16string_view name) {
    return std::find(graphRoutines.begin(), graphRoutines.end(), lowerCased(name)) != graphRoutines.end();
}

bool isTitleLine(std::u16string_view line) {
    if (line.size() <= assignmentDigits || line[assignmentDigits] != u'.') return false;
    return std::all_of(line.begin(), line.begin() + assignmentDigits,
                       [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

bool isEndLine(std::u16string_view line, std::u16string_view nextAssignment) {
    // Whole three-character prefix: an empty nextAssignment (start-up stopped
    // early) must not match every line.
    return left(line, assignmentDigits) == nextAssignment || left(line, endMarker.size()) == endMarker;
}

}  // namespace qadrill
