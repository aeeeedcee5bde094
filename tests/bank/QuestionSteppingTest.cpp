#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "bank/NotesDisplay.h"
#include "bank/QuestionStepping.h"
#include "drill/report/ErrorReport.h"
#include "logbook/ResponseRecords.h"
#include "tests/bank/BankTest.h"
#include "tests/support/RowName.h"

namespace qadrill::testing {
namespace {

using qadrill::testing::PrintTo;

class NextQuestion : public BankTest {
protected:
    void click() { cmdNextQuestion_Click(*state, platform, view); }
};

struct RoutineRow {
    const char* name;
    std::vector<std::u16string> lines;  // from index 2 on, the cursor on the title at 1
    bool ends;
    std::u16string shown;  // the question box after the click, when it does not end
    long cursor;
};

void PrintTo(const RoutineRow& row, std::ostream* out) { *out << row.name; }

class RoutineLines : public NextQuestion, public ::testing::WithParamInterface<RoutineRow> {};

TEST_P(RoutineLines, RunOrShowAsTheNameSays) {
    const auto& row = GetParam();
    startTestBank(row.lines);
    view.answer = u"typed";
    if (row.ends) {
        EXPECT_THROW(click(), ProgramEnded);
        EXPECT_TRUE(platform.messages.empty());
        EXPECT_EQ(view.question, u"");
        return;
    }
    click();
    EXPECT_EQ(view.question, row.shown);
    EXPECT_EQ(state->displayText, row.shown);
    EXPECT_EQ(state->questionText, u"");
    EXPECT_EQ(state->lineIndex, row.cursor);
    EXPECT_EQ(view.answer, u"typed") << "a routine line must not bring the prompt back";
    EXPECT_TRUE(platform.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Stepping, RoutineLines,
    ::testing::Values(
        RoutineRow{"graph1_then_empty_then_problem", {u"`routine graph1", u"", u"Problem A"}, false, u"Problem A", 4},
        RoutineRow{
            "ninth_character_skipped_whatever_it_is", {u"`routine#graph2", u"Problem A"}, false, u"Problem A", 3},
        RoutineRow{
            "name_case_spaces_and_hyphens_ignored", {u"`ROUTINE Gr-aph 3", u"Problem A"}, false, u"Problem A", 3},
        RoutineRow{"two_routine_lines_second_shown",
                   {u"`routine graph2", u"", u"`routine graph3"},
                   false,
                   u"`routine graph3",
                   4},
        RoutineRow{"bare_keyword_shown_as_text", {u"`routine", u"Problem A"}, false, u"`routine", 2},
        RoutineRow{"exit_prog_after_blank", {u"`routine exit-prog", u"Problem A"}, true, u"", 0},
        RoutineRow{"exit_prog_after_colon_capital_keyword", {u"`Routine:Exit Prog", u"Problem A"}, true, u"", 0},
        RoutineRow{"unknown_name_graph4", {u"`routine graph4", u"Problem A"}, true, u"", 0},
        RoutineRow{"empty_name", {u"`routine ", u"Problem A"}, true, u"", 0}),
    rowName);

TEST_F(NextQuestion, RoutineLineEntersTheTranscriptButIsNeverShown) {
    startTestBank({u"`routine graph1", u"", u"Problem A"});
    click();
    const std::u16string tag(questionTag);
    EXPECT_EQ(state->cumulativeText.newestFirst(), tag + u"Problem A" + tag + u"`routine graph1");
    EXPECT_EQ(state->currentLine, u"Problem A");
    EXPECT_TRUE(state->promptDue);
}

TEST_F(NextQuestion, TwoClicksRunTogetherOlderFirst) {
    startBuiltInDrill();
    view.question = u"left over ";
    click();
    click();
    EXPECT_EQ(view.question, u"left over " + bankLine(3) + bankLine(5));
    EXPECT_EQ(state->displayText, view.question);
}

// Whatever changed the question box since the last question, the next one
// is added to what the box shows, and the display text is that text.
struct BetweenRow {
    const char* name;
    std::function<void(DrillState&, Platform&, FakeView&)> between;
};

void PrintTo(const BetweenRow& row, std::ostream* out) { *out << row.name; }

class BetweenTwoQuestions : public NextQuestion, public ::testing::WithParamInterface<BetweenRow> {};

TEST_P(BetweenTwoQuestions, TheDisplayTextIsWhatTheBoxShows) {
    startBuiltInDrill();
    state->masterFile = u"c:\\plovenda\\masterFile_Ann_Lee_Smith.txt";
    state->sendFile = u"c:\\plovenda\\send_1207Ann_Lee_Smith.txt";
    click();
    GetParam().between(*state, platform, view);
    const std::u16string before = view.question;
    click();
    EXPECT_EQ(view.question, before + bankLine(5));
    EXPECT_EQ(state->displayText, view.question);
}

INSTANTIATE_TEST_SUITE_P(Stepping, BetweenTwoQuestions,
                         ::testing::Values(BetweenRow{"student_types",
                                                      [](auto&, auto&, FakeView& view) { view.question += u" typed"; }},
                                           BetweenRow{"display_everything", cmd_displayCumulativeText_Click},
                                           BetweenRow{"display_notes", cmd_display_note_file_Click},
                                           BetweenRow{"enter_response", cmd_enter_response_Click},
                                           BetweenRow{"save_as_notes", cmd_save_as_notes_Click}),
                         rowName);

TEST_F(NextQuestion, WalkOfTheBuiltInBankEndsWithTheError9Report) {
    startBuiltInDrill();
    for (const long index : builtInProblems) {
        view.question.clear();
        click();
        ASSERT_EQ(view.question, bankLine(index)) << "problem at " << index;
        ASSERT_TRUE(platform.messages.empty());
    }
    EXPECT_EQ(state->questionNumber, u"");
    view.question = u"last problem";
    EXPECT_THROW(click(), ProgramEnded);
    ASSERT_EQ(platform.messages.size(), 1U);
    EXPECT_EQ(platform.messages[0], subscriptErrorMessage);
    EXPECT_EQ(state->lineIndex, 5001);
    EXPECT_EQ(view.question, u"last problem");
}

TEST_F(BankTest, RunRoutineGraphsReturnEverythingElseEnds) {
    for (const auto* name : {u"graph1", u"GRAPH2", u"Graph3"}) EXPECT_NO_THROW(runRoutine(platform, name));
    for (const auto* name : {u"exitprog", u"ExitProg", u"graph4", u"", u"graph 1"})
        EXPECT_THROW(runRoutine(platform, name), ProgramEnded);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(BankTest, DisplayEverythingShowsTheTranscriptNewestFirst) {
    startBuiltInDrill();
    cmdNextQuestion_Click(*state, platform, view);
    cmdNextQuestion_Click(*state, platform, view);
    recordResponse(u"x = 9 cm");
    view.question = u"replaced";
    cmd_displayCumulativeText_Click(*state, platform, view);
    const std::u16string tag(questionTag);
    EXPECT_EQ(view.question, std::u16string(answerTag) + u"x = 9 cm" + tag + bankLine(5) + tag + bankLine(3));
}

struct PictureRow {
    const char* name;
    long start;
    std::vector<std::pair<long, std::u16string>> lines;
    bool ends;
    long cursor;
};

void PrintTo(const PictureRow& row, std::ostream* out) { *out << row.name; }

class NextPicture : public BankTest, public ::testing::WithParamInterface<PictureRow> {};

TEST_P(NextPicture, RunsTheRoutineLinesAheadAndMovesOntoThem) {
    const auto& row = GetParam();
    for (const auto& [index, line] : row.lines) state->questionBank.set(index, line);
    state->lineIndex = row.start;
    view.question = u"question";
    view.answer = u"answer";
    if (row.ends) {
        EXPECT_THROW(cmd_next_picture_Click(*state, platform, view), ProgramEnded);
    } else {
        cmd_next_picture_Click(*state, platform, view);
        EXPECT_EQ(state->lineIndex, row.cursor);
    }
    EXPECT_EQ(view.question, u"question");
    EXPECT_EQ(view.answer, u"answer");
    EXPECT_TRUE(platform.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Stepping, NextPicture,
    ::testing::Values(
        PictureRow{"no_routine_line_ahead", 10, {{11, u"Problem"}, {12, u""}, {13, u"`routine graph1"}}, false, 10},
        PictureRow{"routine_at_one_then_look_three_ahead",
                   10,
                   {{11, u"`routine graph1"}, {13, u"`routine graph2"}},
                   false,
                   13},
        PictureRow{"second_adjacent_routine_line_not_looked_at",
                   10,
                   {{11, u"`routine graph1"}, {12, u"`routine graph2"}},
                   false,
                   11},
        PictureRow{"routine_only_at_two_jumps_over_one", 10, {{11, u"Problem"}, {12, u"`Routine: Graph-3"}}, false, 12},
        PictureRow{"bare_keyword_gives_empty_name", 10, {{11, u"`routine"}}, true, 0},
        PictureRow{"exitprog_at_two", 10, {{12, u"`routine exit prog"}}, true, 0},
        PictureRow{"routine_on_last_index", 4999, {{5000, u"`routine graph1"}}, false, 5000},
        PictureRow{"cursor_on_last_index", 5000, {{5000, u"`routine graph1"}}, false, 5000},
        PictureRow{"cursor_past_the_bank", 5001, {}, false, 5001}),
    rowName);

}  // namespace
}  // namespace qadrill::testing
