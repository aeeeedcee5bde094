#pragma once
// The reader: hands out the bank one non-empty line per call.

#include "drill/state/DrillState.h"
#include "drill/state/DrillView.h"
#include "platform/Platform.h"

namespace qadrill {

// Refills the answer box with promptText when the last line went unanswered,
// moves lineIndex to the next non-empty line, puts it in currentLine, in front
// of cumulativeText (after questionTag) and in questionText.  Ends the program
// at the next assignment's title line or the end marker.  Errors are reported
// here: error 9 (past the bank's end) ends the program, others return.
void readNextQuestion(DrillState& state, Platform& platform, DrillView& view);

}  // namespace qadrill
