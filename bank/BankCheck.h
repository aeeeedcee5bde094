#pragma once
// What a bank holds as the drill will walk it, for the instructor who wrote
// it: each assignment with its problems, the routines it runs and where it
// ends, and the lines that will not do what they seem to.

#include <cstddef>
#include <string>
#include <vector>

#include "bank/QuestionBankContents.h"

namespace qadrill {

enum class AssignmentEnd { NextAssignment, EndMarker, Routine, OffTheBank };

struct AssignmentSummary {
    std::size_t line = 0;  // the title line
    std::u16string title;
    std::size_t problems = 0;              // texts shown, one per Next Question
    std::vector<std::u16string> routines;  // each name run, once, in order
    AssignmentEnd end = AssignmentEnd::OffTheBank;
    std::size_t endLine = 0;  // the line that ends it; 0 off the bank
};

struct BankWarning {
    std::size_t line = 0;
    std::string what;
};

struct BankSummary {
    std::vector<AssignmentSummary> assignments;
    std::vector<BankWarning> warnings;  // in line order
};

// Walks every assignment as the Next Question button would from its title
// line, from the first to the last.
[[nodiscard]] BankSummary checkBank(const BankEntries& entries);

// The listing --check-bank prints for a bank read from this file.
[[nodiscard]] std::string describeBank(const std::string& fileName, std::size_t entryCount, const BankSummary& summary);

}  // namespace qadrill
