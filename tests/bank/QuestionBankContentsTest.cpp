#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "bank/ControlLines.h"
#include "bank/QuestionBankContents.h"
#include "drill/state/DrillState.h"
#include "platform/unicode/Utf8.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/RowName.h"

namespace qadrill {
namespace {

using qadrill::testing::errorOf;
using qadrill::testing::PrintTo;

struct ProblemRow {
    const char* name;
    long index;
    std::u16string_view opening;
    std::size_t length;
};

void PrintTo(const ProblemRow& row, std::ostream* out) { *out << row.name; }

const ProblemRow problemRows[] = {
    {"island_population", 3, u"On a certain island live an immortal race of 1000 non-reproducing people.", 735},
    {"random_walk", 5, u"If you do a three-step random walk then at what displacements", 218},
    {"bugs_on_trees", 7, u"Suppose we have a long row of trees with 100 bugs", 973},
    {"water_in_tube", 9, u"Assuming that the water exiting your container was filling a tube", 205},
    {"cooling_object", 11, u"Suppose that the temperature of a certain object in a room", 544},
    {"christmas_trees", 13, u"There are 5 Christmas trees in a circle.", 664},
    {"quadratic_slopes", 15, u"Sketch a trapezoidal graph of y = x^2 + 10 for x", 297},
    {"sequence_ratios", 17, u"Make a sequence of the ratios of the sequence 1, 2, 3,", 349},
    {"exponential_slopes", 19, u"Sketch a trapezoidal graph of y = 4 + 1.2 ^ x", 500},
    {"pendulum_step", 21, u"When a pendulum is at displacement x from its equilibrium position,", 792},
};

std::unique_ptr<DrillState> loadedState(long startIndex = 0) {
    auto state = std::make_unique<DrillState>();
    state->lineIndex = startIndex;
    loadQuestions(*state);
    return state;
}

// Lengths of the runs of two or more spaces that do not follow a bullet.
std::vector<std::size_t> separatorRuns(std::u16string_view text) {
    std::vector<std::size_t> runs;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t end = i;
        while (end < text.size() && text[end] == u' ') ++end;
        const bool afterBullet = i > 0 && text[i - 1] == u'\u00B7';
        if (end - i >= 2 && !afterBullet) runs.push_back(end - i);
        i = end > i ? end : i + 1;
    }
    return runs;
}

TEST(QuestionBankContents, TitleSeparatorsAndCursorAfterLoading) {
    const auto state = loadedState();
    EXPECT_EQ(state->lineIndex, 21);
    EXPECT_EQ(state->questionBank.at(1), u"001.  Day 9 quiz");
    EXPECT_EQ(state->questionBank.at(1).size(), 16U);
    for (long index = 2; index <= 20; index += 2) EXPECT_EQ(state->questionBank.at(index), u"") << "index " << index;
    EXPECT_EQ(state->questionBank.at(0), u"");
    for (long index = 22; index <= QuestionBank::lastIndex; ++index)
        ASSERT_EQ(state->questionBank.at(index), u"") << "index " << index;
}

class ProblemText : public ::testing::TestWithParam<ProblemRow> {};

TEST_P(ProblemText, OpensWithItsWordsAndKeepsItsLength) {
    const auto& row = GetParam();
    const auto state = loadedState();
    const auto& text = state->questionBank.at(row.index);
    EXPECT_EQ(text.substr(0, row.opening.size()), row.opening) << toUtf8(text);
    const double deviation = std::abs(static_cast<double>(text.size()) - static_cast<double>(row.length));
    EXPECT_LE(deviation, 0.1 * static_cast<double>(row.length)) << "length " << text.size();
}

TEST_P(ProblemText, IsOneParagraphWithSpacedSubQuestions) {
    const auto state = loadedState();
    const auto& text = state->questionBank.at(GetParam().index);
    for (const char16_t c : text) ASSERT_GE(c, u' ') << "control character in " << toUtf8(text);
    const auto runs = separatorRuns(text);
    ASSERT_FALSE(runs.empty()) << "no sub-question separator";
    for (const auto run : runs) {
        EXPECT_GE(run, 3U);
        EXPECT_LE(run, 15U);
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\u00B7') continue;
        EXPECT_EQ(text.substr(i + 1, 1), u" ") << "bullet without a space";
    }
}

INSTANTIATE_TEST_SUITE_P(BuiltInBank, ProblemText, ::testing::ValuesIn(problemRows), qadrill::testing::rowName);

TEST(QuestionBankContents, UsesTheTypographicCharacters) {
    const auto state = loadedState();
    std::u16string all;
    for (long index = 1; index <= 21; ++index) all += state->questionBank.at(index);
    for (const char16_t c : {u'\u00B7', u'\u2026', u'\u2013', u'\u2019'})
        EXPECT_NE(all.find(c), std::u16string::npos) << "missing U+" << std::hex << static_cast<int>(c);
}

TEST(QuestionBankContents, HoldsNoControlLines) {
    const auto state = loadedState();
    for (long index = 0; index <= 21; ++index) {
        const auto& line = state->questionBank.at(index);
        EXPECT_FALSE(isRoutineLine(line)) << "index " << index;
        EXPECT_FALSE(isEndLine(line, u"002")) << "index " << index;
    }
}

TEST(QuestionBankContents, LoadingWritesFromTheCursorOnAndKeepsOtherEntries) {
    auto state = std::make_unique<DrillState>();
    state->questionBank.set(5, u"kept");
    state->lineIndex = 100;
    loadQuestions(*state);
    EXPECT_EQ(state->lineIndex, 121);
    EXPECT_EQ(state->questionBank.at(101), u"001.  Day 9 quiz");
    EXPECT_EQ(state->questionBank.at(5), u"kept");
    EXPECT_EQ(state->questionBank.at(1), u"");
}

TEST(QuestionBankContents, LoadingPastTheLastIndexFailsWithError9) {
    auto state = std::make_unique<DrillState>();
    state->lineIndex = 4991;
    EXPECT_EQ(errorOf([&] { loadQuestions(*state); }), err::subscriptOutOfRange);
    EXPECT_EQ(state->lineIndex, 5001);
    EXPECT_EQ(state->questionBank.at(4992), u"001.  Day 9 quiz");
    EXPECT_EQ(state->questionBank.at(5000).substr(0, 14), u"Assuming that ");
}

struct BoundsRow {
    const char* name;
    long row;
    long column;
    bool fails;
};

void PrintTo(const BoundsRow& row, std::ostream* out) { *out << row.name; }

class StartTableBounds : public ::testing::TestWithParam<BoundsRow> {};

TEST_P(StartTableBounds, ReadsEmptyInsideAndError9Outside) {
    const auto state = std::make_unique<DrillState>();
    const auto& row = GetParam();
    if (row.fails) {
        EXPECT_EQ(errorOf([&] { (void)state->startQuestionTable.at(row.row, row.column); }), err::subscriptOutOfRange);
    } else {
        EXPECT_FALSE(state->startQuestionTable.at(row.row, row.column).has_value());
    }
}

INSTANTIATE_TEST_SUITE_P(Table, StartTableBounds,
                         ::testing::Values(BoundsRow{"corner_0_0", 0, 0, false},
                                           BoundsRow{"corner_100_50", 100, 50, false},
                                           BoundsRow{"row_101", 101, 50, true}, BoundsRow{"column_51", 0, 51, true},
                                           BoundsRow{"row_minus_1", -1, 0, true}),
                         qadrill::testing::rowName);

}  // namespace
}  // namespace qadrill
