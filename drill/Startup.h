#pragma once
// The start-up dialogue: four prompts, the data directory, the log file
// names, the fixed texts, the code number and the question bank.

#include <string_view>

#include "bank/QuestionBankContents.h"
#include "drill/state/DrillState.h"
#include "drill/state/DrillView.h"
#include "platform/Platform.h"

namespace qadrill {

inline constexpr std::u16string_view homeDataDir = u"c:\\plovenda";
inline constexpr std::u16string_view networkDataDir =
    u"i:\\bkp_000416\\My Documents\\distance students\\interactive problems\\lb1";

inline constexpr std::u16string_view networkPrompt = u"Enter 1 for home user, 2 for ORVY LAN user";
inline constexpr std::u16string_view namePrompt = u"Your full name:  ";
inline constexpr std::u16string_view initialsPrompt =
    u"Your initials (use all 3 initials and always use the same three initials when submitting work):  ";
inline constexpr std::u16string_view assignmentPrompt = u"Assignment Number:  ";

// "1" -> "001", "12" -> "012"; other lengths stay as they are.
[[nodiscard]] std::u16string padAssignmentNumber(std::u16string_view number);

// The code number for a draw r in [0, 1): a whole number 19..28.
[[nodiscard]] float codeNumberFor(float r);

// Runs every step under one trap: error 9 gets its report (which ends the
// program), any other error the general report, after which it returns.
// The bank is a bank file's entries when given, the built-in one otherwise.
void initDrill(DrillState& state, Platform& platform, DrillView& view, const BankEntries* bankFile = nullptr);

}  // namespace qadrill
