#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "bank/QuestionReader.h"
#include "drill/report/ErrorReport.h"
#include "tests/bank/BankTest.h"
#include "tests/support/RowName.h"

namespace qadrill::testing {
namespace {

using qadrill::testing::PrintTo;

class QuestionReader : public BankTest {
protected:
    void read() { readNextQuestion(*state, platform, view); }
};

TEST_F(QuestionReader, FirstCallAfterStartUpHandsOutTheFirstProblem) {
    startBuiltInDrill();
    view.answer = u"typed early";
    read();
    EXPECT_EQ(state->lineIndex, 3);
    EXPECT_EQ(state->currentLine, bankLine(3));
    EXPECT_EQ(state->questionText, bankLine(3));
    EXPECT_EQ(state->cumulativeText.newestFirst(), std::u16string(questionTag) + bankLine(3));
    EXPECT_TRUE(state->promptDue);
    EXPECT_EQ(view.answer, u"typed early") << "nothing was due yet";
}

TEST_F(QuestionReader, SecondCallRefillsTheAnswerBoxAndPutsTheNewerLineFirst) {
    startBuiltInDrill();
    read();
    view.answer = u"typed since";
    read();
    EXPECT_EQ(view.answer, promptText);
    EXPECT_EQ(state->lineIndex, 5);
    const std::u16string tag(questionTag);
    EXPECT_EQ(state->cumulativeText.newestFirst(), tag + bankLine(5) + tag + bankLine(3));
}

TEST_F(QuestionReader, NoRefillOnceARecordingClearedTheDueMark) {
    startBuiltInDrill();
    read();
    recordResponse(u"my answer");
    view.answer = u"typed since";
    read();
    EXPECT_EQ(view.answer, u"typed since");
    EXPECT_TRUE(state->promptDue);
}

TEST_F(QuestionReader, RoutineLineInCapitalsLeavesTheDueMarkClear) {
    startTestBank({u"", u"`ROUTINE graph1"});
    view.answer = u"typed";
    read();
    EXPECT_FALSE(state->promptDue);
    EXPECT_EQ(state->currentLine, u"`ROUTINE graph1");
    EXPECT_EQ(state->cumulativeText.newestFirst(), std::u16string(questionTag) + u"`ROUTINE graph1");
}

struct EndLineRow {
    const char* name;
    std::u16string line;
    std::u16string nextAssignment;
    bool ends;
};

void PrintTo(const EndLineRow& row, std::ostream* out) { *out << row.name; }

class EndLines : public QuestionReader, public ::testing::WithParamInterface<EndLineRow> {};

TEST_P(EndLines, EndTheProgramWithoutAReport) {
    const auto& row = GetParam();
    startTestBank({u"", row.line, u"after"});
    state->nextAssignment = row.nextAssignment;
    if (row.ends) {
        EXPECT_THROW(read(), ProgramEnded);
        EXPECT_TRUE(platform.messages.empty());
    } else {
        read();
    }
    // The line is read in full either way; an end line is never shown.
    EXPECT_EQ(state->lineIndex, 3);
    EXPECT_EQ(state->currentLine, row.line);
    EXPECT_EQ(state->questionText, row.line);
    EXPECT_EQ(state->cumulativeText.newestFirst(), std::u16string(questionTag) + row.line);
}

INSTANTIATE_TEST_SUITE_P(
    Reader, EndLines,
    ::testing::Values(EndLineRow{"next_title_line", u"002.  Day 10 quiz", u"002", true},
                      EndLineRow{"problem_text_starting_002", u"002 apples fall from a tree", u"002", true},
                      EndLineRow{"end_marker", u"####.#", u"002", true},
                      EndLineRow{"end_marker_with_more", u"####.# end of bank", u"002", true},
                      EndLineRow{"marker_with_other_sixth_character", u"####.0", u"002", false},
                      EndLineRow{"marker_cut_short", u"####.", u"002", false},
                      EndLineRow{"other_assignment_number", u"003.  Day 11 quiz", u"002", false},
                      EndLineRow{"four_digit_next_assignment", u"1000.  Day 99 quiz", u"1000", false},
                      EndLineRow{"empty_next_assignment", u"plain problem", u"", false}),
    rowName);

TEST_F(QuestionReader, PastTheLastLineReportsError9AndEnds) {
    startBuiltInDrill();
    state->lineIndex = 21;
    EXPECT_THROW(read(), ProgramEnded);
    EXPECT_EQ(state->lineIndex, 5001);
    ASSERT_EQ(platform.messages.size(), 1U);
    EXPECT_EQ(platform.messages[0], subscriptErrorMessage);
}

// A window whose answer box fails, for an error other than 9.
class FailingAnswerBox final : public DrillView {
public:
    [[nodiscard]] std::u16string questionBoxText() const override { return {}; }
    void setQuestionBoxText(const std::u16string&) override {}
    [[nodiscard]] std::u16string answerBoxText() const override { return {}; }
    void setAnswerBoxText(const std::u16string&) override { throw RuntimeError(err::deviceIo); }
    void setPictureScaleHeight(PictureBoxId, double) override {}
    void setPictureScaleWidth(PictureBoxId, double) override {}
};

TEST_F(QuestionReader, OtherErrorsAreReportedAndTheReaderReturns) {
    startBuiltInDrill();
    state->promptDue = true;
    FailingAnswerBox failing;
    EXPECT_NO_THROW(readNextQuestion(*state, platform, failing));
    ASSERT_EQ(platform.messages.size(), 1U);
    EXPECT_EQ(platform.messages[0], errorReportText(err::deviceIo));
    // The refill was the first step: nothing after it happened.
    EXPECT_EQ(state->lineIndex, 1);
    EXPECT_TRUE(state->promptDue);
    EXPECT_EQ(state->currentLine, u"");
    EXPECT_EQ(state->questionText, u"");
}

}  // namespace
}  // namespace qadrill::testing
