#pragma once
// The commands that step through the bank and fill the question box, and the
// routine runner they share.  Each click handler takes the drill state, the
// platform and the window's two boxes; none keeps state of its own.

#include <string>

#include "drill/state/DrillState.h"
#include "drill/state/DrillView.h"
#include "platform/Platform.h"

namespace qadrill {

// "Next Question / Answer": reads the next line (running a routine line and
// reading once more) and appends it to the question box.  Errors are reported;
// error 9 ends the program.
void cmdNextQuestion_Click(DrillState& state, Platform& platform, DrillView& view);

// Acts on a routine name in any case: the graph routines return, every other
// name (exitprog, unknown, empty) ends the program.
void runRoutine(Platform& platform, const std::u16string& routine);

// "next picture": runs the routine lines among the two bank lines after the
// cursor and moves the cursor onto each one run.  Lines past the bank's end
// count as ordinary lines.
void cmd_next_picture_Click(DrillState& state, Platform& platform, DrillView& view);

// "display everything": the question box shows cumulativeText.
void cmd_displayCumulativeText_Click(DrillState& state, Platform& platform, DrillView& view);

}  // namespace qadrill
