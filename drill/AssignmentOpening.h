#pragma once
// Puts the cursor on the chosen assignment's title line and introduces the
// run in the master and send logs with a header block.

#include "drill/state/DrillState.h"
#include "platform/Platform.h"

namespace qadrill {

// Error 9 (assignment not in the bank, or outside 0..100) gets its report and
// ends the program; any other error gets the general report, the logs this
// procedure opened are closed, and it returns.
void openAssignment(DrillState& state, Platform& platform);

}  // namespace qadrill
