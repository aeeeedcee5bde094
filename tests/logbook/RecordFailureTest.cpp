// A recording command that cannot write a log: the error goes up with its
// number, both boxes and the drill state stay as they were, no file number is
// left open, every log of the command holds the record or none does, and
// pressing the button again writes it exactly once.

#include <cerrno>
#include <fstream>
#include <functional>
#include <string_view>

#include "logbook/ResponseRecords.h"
#include "platform/RuntimeError.h"
#include "tests/logbook/RecordFixture.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/RowName.h"

namespace qadrill::testing {
namespace {

using qadrill::testing::PrintTo;

enum class Command { response, notes };

void PrintTo(Command command, std::ostream* out) { *out << (command == Command::response ? "response" : "notes"); }

using CommandFunction = void (*)(DrillState&, Platform&, DrillView&);

CommandFunction commandOf(Command command) {
    return command == Command::response ? cmd_enter_response_Click : cmd_save_as_notes_Click;
}

int logsOf(Command command) { return command == Command::response ? 2 : 3; }

const std::u16string answer = u"\u0394v = a\u00b7t \u2192 9.8 m/s\r\nsecond line";
const std::string earlier = "earlier record\r\n";

class RecordFailure : public RecordFixture {
protected:
    // Each log already holds an earlier record, so "none of it" is checkable.
    void seedLogs() {
        for (Log log : {Log::master, Log::send, Log::notes}) std::ofstream(nativeOf(log), std::ios::binary) << earlier;
    }

    // The record each log gets when nothing fails, and how many system calls
    // of each kind a command takes once the logs' journal file exists, from
    // a run in another root.
    struct Reference {
        std::vector<std::string> records;
        std::vector<int> calls;
        std::size_t bytesWritten = 0;
    };
    static Reference referenceRun(Command command) {
        RecordSetup reference;
        reference.view.answer = answer;
        commandOf(command)(reference.state, reference.platform, reference.view);
        Reference result;
        for (Log log : {Log::master, Log::send, Log::notes})
            result.records.push_back(reference.bytesOf(log).value_or(""));
        std::vector<int> first;
        for (int op = 0; op <= static_cast<int>(FileOperation::remove); ++op)
            first.push_back(reference.platform.calls(static_cast<FileOperation>(op)));
        const std::size_t firstBytes = reference.platform.bytesWritten();
        reference.view.answer = answer;
        commandOf(command)(reference.state, reference.platform, reference.view);
        for (int op = 0; op <= static_cast<int>(FileOperation::remove); ++op)
            result.calls.push_back(reference.platform.calls(static_cast<FileOperation>(op)) -
                                   first[static_cast<std::size_t>(op)]);
        result.bytesWritten = reference.platform.bytesWritten() - firstBytes;
        return result;
    }

    // Makes the logs' journal file, as any earlier command has.
    void warmUp(Command command) {
        press(command, platform);
        state = RecordSetup().state;
    }

    // Runs the command with the answer typed; its error number, or 0.
    int press(Command command, Platform& through) {
        view.question = questionLine;
        view.answer = answer;
        return errorOf([&] { commandOf(command)(state, through, view); });
    }

    // Every log of the command holds the earlier record and then the new one
    // `times` times; the notes log of a response is never touched.
    void expectLogsHold(Command command, int times, const Reference& reference) {
        for (int index = 0; index < 3; ++index) {
            std::string expected = earlier;
            if (index < logsOf(command))
                for (int i = 0; i < times; ++i) expected += reference.records[static_cast<std::size_t>(index)];
            EXPECT_EQ(bytesOf(static_cast<Log>(index)), expected) << "log " << index;
        }
    }

    void expectUntouched(const DrillState& before) {
        EXPECT_EQ(view.answer, answer);
        EXPECT_EQ(view.question, questionLine);
        EXPECT_EQ(state.promptDue, before.promptDue);
        EXPECT_EQ(state.displayText, before.displayText);
        EXPECT_EQ(state.cumulativeText, before.cumulativeText);
        for (int number = 1; number <= 3; ++number) EXPECT_FALSE(platform.isOpen(number)) << number;
    }

    // Only the three logs and their journal stand in the data folder:
    // nothing set aside, no stray journal.
    void expectNothingSetAside() {
        const auto folder = dir.path() / "c" / "plovenda";
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 4);
        EXPECT_TRUE(std::filesystem::exists(folder / "masterFile_Ann_Lee_Smith.txt.journal"));
    }

    // A failed press leaves nothing and the next press writes the record
    // once.  A press the fault could not stop wrote it once already, and
    // whatever it left behind does not make the next press write it twice.
    void expectFailedThenRetried(Command command, int number, const DrillState& before, const Reference& reference) {
        int times = 1;
        if (number != 0) {
            expectUntouched(before);
            expectLogsHold(command, 0, reference);
        } else {
            expectLogsHold(command, 1, reference);
            times = 2;
        }
        EXPECT_EQ(press(command, platform), 0) << "next press";
        expectLogsHold(command, times, reference);
        expectNothingSetAside();
    }
};

// A fault planned on the k-th call of one system operation of a command.
struct FaultCase {
    const char* name;
    FileOperation operation;
    int errnoValue;
    int number;
};

const FaultCase faults[] = {
    {"read_only", FileOperation::open, EACCES, err::accessDenied},
    {"too_many_files", FileOperation::open, EMFILE, err::tooManyFiles},
    {"locked", FileOperation::lock, EWOULDBLOCK, err::fileLocked},
    {"disk_full", FileOperation::write, ENOSPC, err::diskFull},
    {"file_too_large", FileOperation::write, EFBIG, err::diskFull},
    {"io_error", FileOperation::write, EIO, err::deviceIo},
    {"fsync_fails", FileOperation::fsync, EIO, err::deviceIo},
    // A signal in the middle of a call: the call is made again.
    {"interrupted_write", FileOperation::write, EINTR, 0},
    {"interrupted_sync", FileOperation::fsync, EINTR, 0},
    {"interrupted_lock", FileOperation::lock, EINTR, 0},
};

using FaultParam = std::tuple<Command, FaultCase>;

class RecordFault : public RecordFailure, public ::testing::WithParamInterface<FaultParam> {};

// Whichever call of the operation fails: the journal's or a log's, first or last.
TEST_P(RecordFault, EveryCallLeavesAllOrNoneAndARetryWritesOnce) {
    const auto& [command, fault] = GetParam();
    if (fault.errnoValue == EINTR && !ScriptedPlatform::callsCanBeInterrupted)
        GTEST_SKIP() << "no signal interrupts a system call on this system";
    const Reference reference = referenceRun(command);
    const int calls = reference.calls[static_cast<std::size_t>(fault.operation)];
    ASSERT_GT(calls, 0);
    warmUp(command);
    for (int call = 0; call < calls; ++call) {
        SCOPED_TRACE("call " + std::to_string(call));
        seedLogs();
        const DrillState before = state;
        platform.failNext(fault.operation, fault.errnoValue, call);
        const int number = press(command, platform);
        ASSERT_EQ(platform.pendingFaults(), 0U);
        // The last write is the journal's done mark, after every log holds
        // the record: nothing is reported, nothing repeated.
        const bool doneMark = fault.operation == FileOperation::write && call == calls - 1;
        EXPECT_EQ(number, doneMark ? 0 : fault.number);
        expectFailedThenRetried(command, number, before, reference);
        if (HasFailure()) return;
    }
}

std::string faultCaseName(const ::testing::TestParamInfo<FaultParam>& info) {
    const Command command = std::get<0>(info.param);
    return std::string(command == Command::response ? "response_" : "notes_") + std::get<1>(info.param).name;
}

INSTANTIATE_TEST_SUITE_P(Records, RecordFault,
                         ::testing::Combine(::testing::Values(Command::response, Command::notes),
                                            ::testing::ValuesIn(faults)),
                         faultCaseName);

TEST_F(RecordFailure, MissingDataDirectoryIs76AndCreatesNothing) {
    const std::u16string network = u"i:\\bkp_000416\\My Documents\\distance students\\interactive problems\\lb1";
    state.dataDir = network;
    state.masterFile = network + u"\\masterFile_Ann_Lee_Smith.txt";
    state.sendFile = network + u"\\send_1207Ann_Lee_Smith.txt";
    state.notesFile = network + u"\\notes_Ann_Lee_Smith.txt";
    for (Command command : {Command::response, Command::notes}) {
        const DrillState before = state;
        EXPECT_EQ(press(command, platform), err::pathNotFound);
        expectUntouched(before);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "i"));
}

class CommandFailure : public RecordFailure, public ::testing::WithParamInterface<Command> {};

// The disk fills after any number of bytes of the command, the journal's
// included: a short write at every offset, and the last byte that fits.
TEST_P(CommandFailure, DiskFullAtEveryOffsetLeavesAllOrNone) {
    const Command command = GetParam();
    const Reference reference = referenceRun(command);
    // The last byte is the done mark, written once every log holds the record.
    const std::size_t total = reference.bytesWritten - 1;
    warmUp(command);
    for (std::size_t room = 0; room <= total; ++room) {
        SCOPED_TRACE("room " + std::to_string(room));
        seedLogs();
        const DrillState before = state;
        platform.acceptOnlyBytes(room);
        const int number = press(command, platform);
        platform.clearFaults();
        EXPECT_EQ(number, room < total ? err::diskFull : 0);
        expectFailedThenRetried(command, number, before, reference);
        if (HasFailure()) return;
    }
}

// A write cut short whose cut-back then fails: the fragment is the next
// command's to remove, before it writes the record once.
TEST_P(CommandFailure, FailedCutBackIsFinishedByTheRetry) {
    const Command command = GetParam();
    const Reference reference = referenceRun(command);
    std::size_t recordBytes = 0;
    for (const std::string& record : reference.records) recordBytes += record.size();
    // The journal is written first, then each log in turn, then its done mark.
    std::size_t beforeLog = reference.bytesWritten - recordBytes - 1;
    for (int log = 0; log < logsOf(command); ++log) {
        SCOPED_TRACE("log " + std::to_string(log));
        seedLogs();
        const DrillState before = state;
        platform.acceptOnlyBytes(beforeLog + reference.records[static_cast<std::size_t>(log)].size() / 2);
        beforeLog += reference.records[static_cast<std::size_t>(log)].size();
        platform.failNext(FileOperation::truncate, EIO);
        EXPECT_EQ(press(command, platform), err::diskFull);
        ASSERT_EQ(platform.pendingFaults(), 0U);
        expectUntouched(before);
        EXPECT_EQ(press(command, platform), 0) << "retry";
        expectLogsHold(command, 1, reference);
        expectNothingSetAside();
        if (HasFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(Records, CommandFailure, ::testing::Values(Command::response, Command::notes),
                         [](const ::testing::TestParamInfo<Command>& row) {
                             return std::string(row.param == Command::response ? "response" : "notes");
                         });

// A file number left open by an earlier failure elsewhere does not block recording.
TEST_F(RecordFailure, StaleOpenLogNumberIsClosedFirst) {
    platform.open(1, state.masterFile, FileMode::Append);
    view.answer = u"OK";
    cmd_enter_response_Click(state, platform, view);
    EXPECT_EQ(view.answer, u"");
    EXPECT_NE(bytesOf(Log::master).value_or("").find("\r\nOK\r\n"), std::string::npos);
}

}  // namespace
}  // namespace qadrill::testing
