#include "bank/ControlLines.h"

#include "logbook/Text.h"
#include "logbook/TextCoding.h"
#include "logbook/Unicode.h"

namespace qadrill {

namespace {
constexpr std::size_t routineNameStart = routineKeyword.size() + 2;
constexpr std::size_t assignmentDigits = 3;
}  // namespace

bool isRoutineLine(std::u16string_view line) { return lowerCased(left(line, routineKeyword.size())) == routineKeyword; }

std::u16string routineName(std::u16string_view line) { return lowerCased(remSpaces(midFrom(line, routineNameStart))); }

bool isEndLine(std::u16string_view line, std::u16string_view nextAssignment) {
    // Whole three-character prefix: an empty nextAssignment (start-up stopped
    // early) must not match every line.
    return left(line, assignmentDigits) == nextAssignment || left(line, endMarker.size()) == endMarker;
}

}  // namespace qadrill
