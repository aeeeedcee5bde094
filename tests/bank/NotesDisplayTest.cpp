#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>

#include "bank/NotesDisplay.h"
#include "bank/QuestionStepping.h"
#include "drill/report/ErrorReport.h"
#include "platform/system/ErrorTable.h"
#include "platform/unicode/Utf8.h"
#include "tests/bank/BankTest.h"
#include "tests/support/FaultyHost.h"
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

struct ReferenceRow {
    const char* name;
    std::string log;
    std::u16string shown;
};

class ReferencesInTheLog : public DisplayNotes, public ::testing::WithParamInterface<ReferenceRow> {};

TEST_P(ReferencesInTheLog, ShowAsTheCharactersTheLogWroteThemFor) {
    writeNotesLog(GetParam().log);
    click();
    EXPECT_EQ(view.question, GetParam().shown);
    std::ifstream log(nativeNotesLog(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(log), {}), GetParam().log);  // the log keeps them
}

INSTANTIATE_TEST_SUITE_P(
    Notes, ReferencesInTheLog,
    ::testing::Values(ReferenceRow{"greek_by_name", "&Omega; = &omega;&sdot;t\r\n", u"\u03A9 = \u03C9\u22C5t"},
                      ReferenceRow{"cjk_by_number", "&#20013;&#25991;\r\n", u"\u4E2D\u6587"},
                      ReferenceRow{"beyond_the_bmp", "&#128512;\r\n", u"\U0001F600"},
                      ReferenceRow{"never_written_forms_stay", "&amp; &#65; &#0937; &#937; &omega &Foo; &OMEGA;\r\n",
                                   u"&amp; &#65; &#0937; &#937; &omega &Foo; &OMEGA;"},
                      ReferenceRow{"split_over_two_lines_stays", "&Ome\r\nga;\r\n", u"&Omega;"},
                      ReferenceRow{"ampersand_before_a_reference", "&&Delta;\r\n", u"&\u0394"}),
    rowName);

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
    // The report names the file and gives the system's own reason.
    EXPECT_EQ(platform.details[0], nativeNotesLog().u16string() + u": " +
                                       fromUtf8(systemErrorReason(systemErrorFor(row.operation, row.errnoValue))));
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
