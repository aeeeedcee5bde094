#pragma once
// The drill's built-in bank of lines: assignment 1, "Day 9 quiz".

#include <string>
#include <vector>

#include "drill/state/DrillState.h"

namespace qadrill {

// A bank's entries in order, entry 1 first (entry 0 is never filled).
using BankEntries = std::vector<std::u16string>;

// Writes the bank's lines from the cursor on, moving the cursor onto each line
// before storing it; it neither resets the cursor nor clears the bank.
// Leaves lineIndex on the last line written.
void loadQuestions(DrillState& state);
// The same with a bank file's entries instead of the built-in ones.
void loadQuestions(DrillState& state, const BankEntries& entries);

}  // namespace qadrill
