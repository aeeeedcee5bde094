// The two recording commands: byte-exact logs against golden files, and what
// they leave in the boxes and the drill state.

#include <cerrno>
#include <deque>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "logbook/ResponseRecords.h"
#include "platform/RuntimeError.h"
#include "tests/logbook/RecordFixture.h"
#include "tests/support/FileBytes.h"
#include "tests/support/RowName.h"

namespace qadrill::testing {
namespace {

using qadrill::testing::PrintTo;

enum class Command { response, notes };

struct Step {
    Command command;
    std::u16string answer;
};

struct GoldenCase {
    const char* name;  // also the golden files' stem; none means the log must not exist
    std::vector<Step> steps;
};

std::optional<std::string> golden(const std::string& stem, const char* log) {
    return fileBytes(std::string(QADRILL_GOLDEN_DIR) + "/" + stem + "." + log + ".txt");
}

std::u16string withOneCharChanged(std::u16string text) {
    text.replace(text.find(u"an OK."), 6, u"an Ok.");
    return text;
}

class GoldenRecords : public RecordFixture, public ::testing::WithParamInterface<GoldenCase> {
protected:
    void run(const Step& step) {
        view.answer = step.answer;
        if (step.command == Command::response)
            cmd_enter_response_Click(state, platform, view);
        else
            cmd_save_as_notes_Click(state, platform, view);
    }
};

TEST_P(GoldenRecords, LogsMatchByteForByte) {
    for (const Step& step : GetParam().steps) run(step);
    const std::string stem = GetParam().name;
    EXPECT_EQ(bytesOf(Log::master), golden(stem, "master"));
    EXPECT_EQ(bytesOf(Log::send), golden(stem, "send"));
    EXPECT_EQ(bytesOf(Log::notes), golden(stem, "notes"));
}

const std::u16string multiLine = u"v = d / t\r\n  = 12 m / 3 s\r\n\r\n  = 4 m/s";

INSTANTIATE_TEST_SUITE_P(
    Records, GoldenRecords,
    ::testing::Values(
        GoldenCase{"response", {{Command::response, u"\u0394x/\u0394t = 12 m / 3 s = 4 m/s"}}},
        GoldenCase{"notes", {{Command::notes, u"Check units: \u03b8 \u2264 90\u00b0"}}},
        GoldenCase{"two_notes", {{Command::notes, u"first note"}, {Command::notes, u"second note"}}},
        GoldenCase{"response_after_notes", {{Command::notes, u"first note"}, {Command::response, u"4 m/s"}}},
        GoldenCase{"multiline_response", {{Command::response, multiLine}}},
        GoldenCase{"empty_response", {{Command::response, u""}}}, GoldenCase{"empty_notes", {{Command::notes, u""}}},
        GoldenCase{"prompt_unchanged", {{Command::response, promptTextOfDrill}, {Command::notes, promptTextOfDrill}}},
        GoldenCase{"prompt_one_char_changed", {{Command::response, withOneCharChanged(promptTextOfDrill)}}}),
    rowName);

using RecordingCommands = RecordFixture;

TEST_F(RecordingCommands, ResponseUpdatesStateAndClearsBoxes) {
    const std::u16string before = state.cumulativeText.newestFirst();
    view.answer = u"4 m/s";
    cmd_enter_response_Click(state, platform, view);
    EXPECT_FALSE(state.promptDue);
    EXPECT_EQ(state.displayText, u"4 m/s");
    EXPECT_EQ(state.cumulativeText.newestFirst(), u" YOUR ANSWER  ->->->->  4 m/s" + before);
    EXPECT_EQ(view.question, u"");
    EXPECT_EQ(view.answer, u"");
}

TEST_F(RecordingCommands, NotesKeepTheTagInDisplayAndTranscript) {
    const std::u16string before = state.cumulativeText.newestFirst();
    view.answer = u"units!";
    cmd_save_as_notes_Click(state, platform, view);
    EXPECT_FALSE(state.promptDue);
    EXPECT_EQ(state.displayText, u"NOTES -------> units!");
    EXPECT_EQ(state.cumulativeText.newestFirst(), u" YOUR ANSWER  ->->->->  NOTES -------> units!" + before);
    EXPECT_EQ(view.question, u"");
    EXPECT_EQ(view.answer, u"");
}

TEST_F(RecordingCommands, UnchangedPromptOnlyClearsTheBoxes) {
    state.displayText = u"shown before";
    const DrillState before = state;
    for (auto command : {cmd_enter_response_Click, cmd_save_as_notes_Click}) {
        view.question = questionLine;
        view.answer = promptTextOfDrill;
        command(state, platform, view);
        EXPECT_EQ(view.question, u"");
        EXPECT_EQ(view.answer, u"");
        EXPECT_TRUE(state.promptDue);
        EXPECT_EQ(state.displayText, before.displayText);
        EXPECT_EQ(state.cumulativeText, before.cumulativeText);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "c" / "plovenda" / "masterFile_Ann_Lee_Smith.txt"));
}

// The question-number line of the master log: two empty lines, the tag, the number item.
struct RecordNumberCase {
    const char* name;
    std::u16string assignment;
    std::u16string question;
    std::string line;
};

class RecordNumber : public RecordFixture, public ::testing::WithParamInterface<RecordNumberCase> {};

TEST_P(RecordNumber, IsAssignmentTimesTenThousandPlusQuestion) {
    state.assignmentNumber = GetParam().assignment;
    state.questionNumber = GetParam().question;
    view.answer = u"OK";
    cmd_enter_response_Click(state, platform, view);
    const std::string master = bytesOf(Log::master).value_or("");
    EXPECT_NE(master.find("\r\n\r\n\r\n`questionNumber" + GetParam().line + "\r\n"), std::string::npos) << master;
}

INSTANTIATE_TEST_SUITE_P(Records, RecordNumber,
                         ::testing::Values(RecordNumberCase{"assignment_012", u"012", u"", " 120000 "},
                                           RecordNumberCase{"assignment_009", u"009", u"", " 90000 "},
                                           RecordNumberCase{"question_adds", u"012", u"7", " 120007 "},
                                           RecordNumberCase{"fraction_assignment", u"1.5", u"", " 15000 "},
                                           RecordNumberCase{"empty_reads_as_zero", u"", u"", " 0 "},
                                           RecordNumberCase{"word_reads_as_zero", u"abc", u"x", " 0 "}),
                         [](const ::testing::TestParamInfo<RecordNumberCase>& row) {
                             return std::string(row.param.name);
                         });

// A notes record that failed halfway, then a response: the logs read back as
// the golden records of the response alone.  (Killed halfway, the notes are
// rolled forward instead: KilledWriterTest.)
class RecoveredRecords : public RecordFixture {
protected:
    // Bytes of the notes "first note": the journal's, then each log's record
    // (the journal's one-byte done mark comes last).
    std::pair<std::size_t, std::vector<std::size_t>> notesSizes() {
        RecordSetup reference;
        reference.view.answer = u"first note";
        cmd_save_as_notes_Click(reference.state, reference.platform, reference.view);
        std::vector<std::size_t> records;
        std::size_t recordBytes = 0;
        for (Log log : {Log::master, Log::send, Log::notes}) {
            records.push_back(reference.bytesOf(log).value_or("").size());
            recordBytes += records.back();
        }
        constexpr std::size_t doneMark = 1;
        return {reference.platform.bytesWritten() - recordBytes - doneMark, records};
    }

    void expectGolden(const std::string& stem) {
        EXPECT_EQ(bytesOf(Log::master), golden(stem, "master"));
        EXPECT_EQ(bytesOf(Log::send), golden(stem, "send"));
    }
};

TEST_F(RecoveredRecords, FailedHalfwayThroughTheSendLogIsRolledBack) {
    const auto [journal, records] = notesSizes();
    platform.acceptOnlyBytes(journal + records[0] + records[1] / 2);
    platform.failNext(FileOperation::truncate, EIO, 1);  // the master log is cut back, the send log not
    view.answer = u"first note";
    EXPECT_THROW(cmd_save_as_notes_Click(state, platform, view), RuntimeError);
    ASSERT_EQ(bytesOf(Log::send).value_or("").size(), records[1] / 2);
    view.answer = u"\u0394x/\u0394t = 12 m / 3 s = 4 m/s";
    cmd_enter_response_Click(state, platform, view);
    expectGolden("response");
    EXPECT_EQ(bytesOf(Log::notes), "");
}

// Time texts 00:00:01, 00:00:02, ... for as many readings of the clock.
std::deque<std::u16string> ticks(int readings) {
    std::deque<std::u16string> texts;
    for (int tick = 1; tick <= readings; ++tick) texts.push_back(u"00:00:0" + std::u16string(1, u"0123456789"[tick]));
    return texts;
}

// The clock is read for each line and each file, in the order the lines are written.
TEST_F(RecordingCommands, NotesReadTheClockPerLinePerFile) {
    platform.times = ticks(6);
    view.answer = u"n";
    cmd_save_as_notes_Click(state, platform, view);
    const std::string indent(36, ' ');
    const std::vector<std::pair<Log, std::string>> expected = {
        {Log::master, indent + "00:00:01\r\n" + indent + "12-07-202600:00:04\r\n"},
        {Log::send, indent + "00:00:02\r\n" + indent + "12-07-202600:00:05\r\n"},
        {Log::notes, indent + "00:00:03\r\n" + indent + "12-07-202600:00:06\r\n"},
    };
    for (const auto& [log, lines] : expected)
        EXPECT_NE(bytesOf(log).value_or("").find(lines), std::string::npos) << static_cast<int>(log);
}

TEST_F(RecordingCommands, ResponseReadsTheClockMasterThenSend) {
    platform.times = ticks(3);
    view.answer = u"r";
    cmd_enter_response_Click(state, platform, view);
    EXPECT_NE(bytesOf(Log::master).value_or("").find(std::string(36, ' ') + "00:00:01\r\n"), std::string::npos);
    EXPECT_NE(bytesOf(Log::send).value_or("").find(std::string(36, ' ') + "00:00:02\r\n"), std::string::npos);
    EXPECT_EQ(platform.times.size(), 1U) << "the clock read other than twice";
}

}  // namespace
}  // namespace qadrill::testing
