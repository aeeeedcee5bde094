#pragma once
// The text coding operations of the window object: code, makeCodeLine,
// remSpaces, decode and codeFile.  Character codes are those of the logs'
// code page (logbook/CodePage.h).

#include <string>

#include "drill/state/DrillState.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"

namespace qadrill {

// Returns aLine unchanged; codeNbr is not used.
[[nodiscard]] std::u16string code(const std::u16string& aLine, float codeNbr);
// codeNbr passes of random characters (codes 66..116 about one pass in ten,
// then 118..255), drawn from the platform's generator in the order r1, r2, r3.
[[nodiscard]] std::u16string makeCodeLine(Platform& platform, float codeNbr);
// aLine without spaces and hyphen-minus signs.
[[nodiscard]] std::u16string remSpaces(const std::u16string& aLine);
// Maps each character by its code; throws RuntimeError(err::invalidArgument)
// when a computed code (or the character itself) lies outside the code page.
[[nodiscard]] std::u16string decode(const std::u16string& aLine, float codeNbr);
// Copies dataDir\query<queryName>.txt to dataDir\queri<queryName>.txt through
// code, after setting codeNumber to the length of the first line.
void codeFile(DrillState& state, Platform& platform);

// Nearest whole number, a tie going to the even neighbour.
[[nodiscard]] double roundHalfEven(double value);

}  // namespace qadrill
