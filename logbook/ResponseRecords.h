#pragma once
// "Enter Response" and "Save as Notes": the two recording commands, working on
// the answer and question boxes through DrillView.
//
// Every log a command writes is opened before any is written, and the
// records go out together through the platform's journaled append: every log
// gets its record or none does.  On a failure the command closes its logs,
// leaves both boxes and every drill-state field as they were, and throws the
// RuntimeError to the caller's trap; pressing the button again writes the
// record once, with the times of the retry.

#include "drill/state/DrillState.h"
#include "drill/state/DrillView.h"
#include "platform/Platform.h"

namespace qadrill {

// A response record to the master and send logs.
void cmd_enter_response_Click(DrillState& state, Platform& platform, DrillView& view);
// A notes record to the master, send and notes logs.
void cmd_save_as_notes_Click(DrillState& state, Platform& platform, DrillView& view);

}  // namespace qadrill
