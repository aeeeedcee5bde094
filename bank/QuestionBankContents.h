#pragma once
// The drill's built-in bank of lines: assignment 1, "Day 9 quiz".

#include "drill/state/DrillState.h"

namespace qadrill {

// Writes the bank's lines from the cursor on, moving the cursor onto each line
// before storing it; it neither resets the cursor nor clears the bank.
// Leaves lineIndex on the last line written.
void loadQuestions(DrillState& state);

}  // namespace qadrill
