#pragma once
// The notes log shown again in the question box.

#include "drill/state/DrillState.h"
#include "drill/state/DrillView.h"
#include "platform/Platform.h"

namespace qadrill {

// "display notes": appends displayText, extended by every line of the notes
// log run together, to the question box.  No notes log yet reads as an empty
// one; a log that cannot be read is reported and changes nothing.
void cmd_display_note_file_Click(DrillState& state, Platform& platform, DrillView& view);

}  // namespace qadrill
