#include <gtest/gtest.h>

#include <cerrno>
#include <ostream>
#include <string>

#include "bank/ErrorReport.h"
#include "bank/QuestionStepping.h"
#include "tests/bank/BankTest.h"
#include "tests/support/RowName.h"

namespace qadrill::testing {
namespace {

using qadrill::testing::PrintTo;

// One notes record as "Save as Notes" leaves it in the notes log, with a
// Windows-1252 e acute and curly quotes, and a character reference that was
// written as such; the closing line ends in the zone advance.
const std::string notesRecord =
    "......!!!!!!!!...................................\r\n"
    "                                    23:05:36\r\n"
    "NOTES -------> caf\xE9 \x93ok\x94 &#8364;\r\n"
    ".................................................       ";
const std::u16string notesShown =
    u"......!!!!!!!!..................................."
    u"                                    23:05:36"
    u"NOTES -------> caf\u00E9 \u201Cok\u201D &#8364;"
    u".................................................       ";

class DisplayNotes : public BankTest {
protected:
    void click() { cmd_display_note_file_Click(*state, platform, view); }
};

TEST_F(DisplayNotes, RightAfterAResponseShowsItFollowedByTheLog) {
    writeNotesLog(notesRecord);
    recordResponse(u"x = 9 cm");
    click();
    EXPECT_EQ(view.question, u"x = 9 cm" + notesShown);
    EXPECT_EQ(state->displayText, u"x = 9 cm" + notesShown);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(platform.isOpen(3));
}

TEST_F(DisplayNotes, EmptyOrMissingLogAppendsDisplayTextUnchanged) {
    for (const bool exists : {true, false}) {
        if (exists)
            writeNotesLog("");
        else
            std::filesystem::remove(nativeNotesLog());
        state->displayText = u"Problem A";
        view.question = u"Problem A";
        click();
        EXPECT_EQ(view.question, u"Problem AProblem A") << (exists ? "empty log" : "no log");
        EXPECT_EQ(state->displayText, u"Problem A");
    }
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(DisplayNotes, LinesRunTogetherWhateverTheirLineEnds) {
    writeNotesLog("one\r\ntwo\nthree\rfour");
    click();
    EXPECT_EQ(view.question, u"onetwothreefour");
}

TEST_F(DisplayNotes, ClosesFileNumberThreeBeforeOpeningTheLog) {
    writeNotesLog("note\r\n");
    platform.open(3, u"c:\\plovenda\\other.txt", FileMode::Append);
    click();
    EXPECT_EQ(view.question, u"note");
    EXPECT_TRUE(platform.messages.empty());
}

struct UnreadableRow {
    const char* name;
    FileOperation operation;
    int errnoValue;
    int reported;
};

void PrintTo(const UnreadableRow& row, std::ostream* out) { *out << row.name; }

class UnreadableLog : public DisplayNotes, public ::testing::WithParamInterface<UnreadableRow> {};

TEST_P(UnreadableLog, IsReportedAndChangesNothing) {
    const auto& row = GetParam();
    writeNotesLog(notesRecord);
    state->displayText = u"Problem A";
    view.question = u"Problem A";
    platform.failNext(row.operation, row.errnoValue);
    click();
    ASSERT_EQ(platform.messages.size(), 1U);
    EXPECT_EQ(platform.messages[0], errorReportText(row.reported));
    EXPECT_FALSE(platform.ended);
    EXPECT_EQ(view.question, u"Problem A");
    EXPECT_EQ(state->displayText, u"Problem A");
    EXPECT_FALSE(platform.isOpen(3));
}

INSTANTIATE_TEST_SUITE_P(Notes, UnreadableLog,
                         ::testing::Values(UnreadableRow{"open_denied", FileOperation::open, EACCES, 75},
                                           UnreadableRow{"open_locked", FileOperation::open, EAGAIN, 70},
                                           UnreadableRow{"read_fails", FileOperation::read, EIO, 57}),
                         rowName);

}  // namespace
}  // namespace qadrill::testing
