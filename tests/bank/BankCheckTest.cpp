#include "bank/BankCheck.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "tests/support/RowName.h"

namespace qadrill {
namespace {

using qadrill::testing::PrintTo;

// The first assignment of a bank as the Next Question button walks it.
struct WalkRow {
    const char* name;
    BankEntries bank;
    std::size_t problems;
    std::vector<std::u16string> routines;
    AssignmentEnd end;
    std::size_t endLine;
    std::string_view warning;  // "" for none
};

const WalkRow walkRows[] = {
    {"next_assignment_ends_it",
     {u"001.  A", u"", u"p", u"", u"p", u"002.  B", u"p"},
     2,
     {},
     AssignmentEnd::NextAssignment,
     6,
     ""},
    {"problem_opening_with_next_number_ends_it",
     {u"001.  A", u"p", u"002 apples"},
     1,
     {},
     AssignmentEnd::NextAssignment,
     3,
     ""},
    {"end_marker_ends_it", {u"001.  A", u"p", u"####.# end"}, 1, {}, AssignmentEnd::EndMarker, 3, ""},
    {"near_end_marker_is_a_problem", {u"001.  A", u"####. x"}, 1, {}, AssignmentEnd::OffTheBank, 0, ""},
    {"graph_routine_stepped_over",
     {u"001.  A", u"p", u"`routine graph1", u"", u"p", u"`Routine:Exit-Prog"},
     2,
     {u"graph1", u"exitprog"},
     AssignmentEnd::Routine,
     6,
     ""},
    {"unknown_routine_ends_it_with_a_warning",
     {u"001.  A", u"p", u"`routine graph4", u"p"},
     1,
     {u"graph4"},
     AssignmentEnd::Routine,
     3,
     "unknown routine \"graph4\""},
    {"bare_keyword_is_shown", {u"001.  A", u"`routine"}, 1, {}, AssignmentEnd::OffTheBank, 0, ""},
    {"second_routine_line_is_shown",
     {u"001.  A", u"`routine graph1", u"", u"`routine graph2"},
     1,
     {u"graph1"},
     AssignmentEnd::OffTheBank,
     0,
     "right after another"},
    {"later_title_shown_as_a_problem",
     {u"001.  A", u"p", u"003.  C", u"p"},
     3,
     {},
     AssignmentEnd::OffTheBank,
     0,
     "title line of assignment 003 is shown as a problem of assignment 001"},
    {"099_ends_at_100", {u"099.  A", u"p", u"100.  B"}, 1, {}, AssignmentEnd::NextAssignment, 3, ""},
};

class BankWalk : public ::testing::TestWithParam<WalkRow> {};

TEST_P(BankWalk, CountsProblemsRoutinesAndTheEnd) {
    const auto& row = GetParam();
    const BankSummary summary = checkBank(row.bank);
    ASSERT_FALSE(summary.assignments.empty());
    const AssignmentSummary& first = summary.assignments.front();
    EXPECT_EQ(first.problems, row.problems);
    EXPECT_EQ(first.routines, row.routines);
    EXPECT_EQ(first.end, row.end);
    EXPECT_EQ(first.endLine, row.endLine);
    std::string warnings;
    for (const auto& warning : summary.warnings) warnings += warning.what + "\n";
    if (row.warning.empty())
        EXPECT_EQ(warnings, "");
    else
        EXPECT_NE(warnings.find(row.warning), std::string::npos) << warnings;
}

INSTANTIATE_TEST_SUITE_P(Rows, BankWalk, ::testing::ValuesIn(walkRows), qadrill::testing::rowName);

TEST(BankCheck, RepeatedAndUnopenableNumbersAreWarned) {
    const BankSummary summary =
        checkBank({u"001.  A", u"p", u"####.#", u"001.  again", u"p", u"####.#", u"101.  C", u"p"});
    ASSERT_EQ(summary.assignments.size(), 2U);
    ASSERT_EQ(summary.warnings.size(), 2U);
    EXPECT_EQ(summary.warnings[0].line, 4U);
    EXPECT_NE(summary.warnings[0].what.find("always opens line 1"), std::string::npos);
    EXPECT_EQ(summary.warnings[1].line, 7U);
    EXPECT_NE(summary.warnings[1].what.find("numbers above 100 end in error 9"), std::string::npos);
}

}  // namespace
}  // namespace qadrill
