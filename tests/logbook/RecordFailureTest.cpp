// A recording command that cannot write a log: the error goes up with its
// number, both boxes and the drill state stay as they were, no file number is
// left open, and every log holds the whole record or none of it.

#include <cerrno>
#include <fstream>
#include <functional>

#include "logbook/ResponseRecords.h"
#include "platform/RuntimeError.h"
#include "tests/logbook/InterceptingPlatform.h"
#include "tests/logbook/RecordFixture.h"
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

    // The record each log gets when nothing fails, from a run in another root.
    std::vector<std::string> referenceRecords(Command command) {
        RecordSetup reference;
        reference.view.answer = answer;
        commandOf(command)(reference.state, reference.platform, reference.view);
        std::vector<std::string> records;
        for (Log log : {Log::master, Log::send, Log::notes}) records.push_back(reference.bytesOf(log).value_or(""));
        return records;
    }

    // Runs the command, expecting error `number`; then checks what it left.
    // Logs before `firstUnwritten` must hold the whole record, the others none.
    void expectFailure(Command command, Platform& through, int number, int firstUnwritten,
                       const std::vector<std::string>& records) {
        const DrillState before = state;
        view.answer = answer;
        try {
            commandOf(command)(state, through, view);
            ADD_FAILURE() << "no error";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.number(), number);
        }
        expectUntouched(before);
        for (int index = 0; index < 3; ++index) {
            const bool written = index < firstUnwritten && index < logsOf(command);
            EXPECT_EQ(bytesOf(static_cast<Log>(index)),
                      earlier + (written ? records[static_cast<std::size_t>(index)] : ""))
                << "log " << index;
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
};

// A fault planned on one system call of the k-th log a command opens or writes.
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
};

using FaultParam = std::tuple<Command, FaultCase, int>;

class RecordFault : public RecordFailure, public ::testing::WithParamInterface<FaultParam> {};

TEST_P(RecordFault, LeavesWholeRecordsOrNone) {
    const auto& [command, fault, log] = GetParam();
    seedLogs();
    const bool atOpen = fault.operation == FileOperation::open;
    // An existing log costs two system opens: the create-new attempt, then the open.
    platform.failNext(fault.operation, fault.errnoValue, atOpen ? 2 * log : log);
    expectFailure(command, platform, fault.number, atOpen ? 0 : log, referenceRecords(command));
    EXPECT_EQ(platform.pendingFaults(), 0U);
}

std::string faultCaseName(const ::testing::TestParamInfo<FaultParam>& info) {
    static const char* const logNames[] = {"master", "send", "notes"};
    const Command command = std::get<0>(info.param);
    return std::string(command == Command::response ? "response_" : "notes_") + std::get<1>(info.param).name + "_" +
           logNames[std::get<2>(info.param)];
}

// Every fault on every log each command writes.
std::vector<FaultParam> everyFaultOnEveryLog() {
    std::vector<FaultParam> params;
    for (const Command command : {Command::response, Command::notes})
        for (const FaultCase& fault : faults)
            for (int log = 0; log < logsOf(command); ++log) params.emplace_back(command, fault, log);
    return params;
}

INSTANTIATE_TEST_SUITE_P(Records, RecordFault, ::testing::ValuesIn(everyFaultOnEveryLog()), faultCaseName);

TEST_F(RecordFailure, MissingDataDirectoryIs76AndCreatesNothing) {
    const std::u16string network = u"i:\\bkp_000416\\My Documents\\distance students\\interactive problems\\lb1";
    state.dataDir = network;
    state.masterFile = network + u"\\masterFile_Ann_Lee_Smith.txt";
    state.sendFile = network + u"\\send_1207Ann_Lee_Smith.txt";
    state.notesFile = network + u"\\notes_Ann_Lee_Smith.txt";
    for (Command command : {Command::response, Command::notes}) {
        const DrillState before = state;
        view.question = questionLine;
        view.answer = answer;
        try {
            commandOf(command)(state, platform, view);
            ADD_FAILURE() << "no error";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.number(), err::pathNotFound);
        }
        expectUntouched(before);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "i"));
}

// Disk full after any number of bytes of any log's record: a short write at
// every offset, the whole record accepted but reported failed included.
class DiskFullAtEveryOffset : public RecordFailure, public ::testing::WithParamInterface<Command> {};

TEST_P(DiskFullAtEveryOffset, LeavesWholeRecordsOrNone) {
    const Command command = GetParam();
    const std::vector<std::string> records = referenceRecords(command);
    InterceptingPlatform armed(platform);
    for (int log = 0; log < logsOf(command); ++log) {
        for (std::size_t offset = 0; offset <= records[static_cast<std::size_t>(log)].size(); ++offset) {
            SCOPED_TRACE("log " + std::to_string(log) + " offset " + std::to_string(offset));
            seedLogs();
            view.question = questionLine;
            armed.beforeWrite = [&, log, offset](int fileNumber) {
                if (fileNumber == log + 1) platform.acceptOnlyBytes(offset);
            };
            expectFailure(command, armed, err::diskFull, log, records);
            if (HasFailure()) return;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Records, DiskFullAtEveryOffset, ::testing::Values(Command::response, Command::notes),
                         [](const ::testing::TestParamInfo<Command>& info) {
                             return std::string(info.param == Command::response ? "response" : "notes");
                         });

// After the send log failed, the master log holds the record; pressing the
// button again appends it to both, so the master log then holds it twice.
TEST_F(RecordFailure, RetryAfterAPartialFailureRepeatsTheRecordInEarlierLogs) {
    seedLogs();
    const std::vector<std::string> records = referenceRecords(Command::response);
    platform.failNext(FileOperation::write, ENOSPC, 1);
    view.answer = answer;
    EXPECT_THROW(cmd_enter_response_Click(state, platform, view), RuntimeError);
    cmd_enter_response_Click(state, platform, view);
    EXPECT_EQ(bytesOf(Log::master), earlier + records[0] + records[0]);
    EXPECT_EQ(bytesOf(Log::send), earlier + records[1]);
    EXPECT_EQ(view.answer, u"");
    EXPECT_EQ(state.displayText, answer);
}

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
