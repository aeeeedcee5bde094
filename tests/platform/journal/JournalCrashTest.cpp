// The journal against a process that dies after any one of its operations,
// against the power failing there, and against faults that never clear: once
// a later command has run, each log holds each record whole or not at all,
// all of them agree, no record is there twice, a reported failure stays
// failed, and bytes that are not a record's are never cut.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/RuntimeError.h"
#include "platform/journal/Journal.h"
#include "platform/journal/JournalFormat.h"
#include "tests/platform/journal/SimulatedDisk.h"
#include "tests/support/RowName.h"

namespace qadrill::testing {
namespace {

using namespace std::chrono_literals;
using qadrill::testing::PrintTo;

const std::filesystem::path folder = "/home/ann/plovenda";
const std::filesystem::path stateFolder = "/home/ann/.local/state/qadrill";
const std::string earlier = "earlier record\r\n";
const std::array<std::filesystem::path, 3> logs = {folder / "masterFile_Ann.txt", folder / "send_1207Ann.txt",
                                                   folder / "notes_Ann.txt"};

// One command's record per log, empty where it does not write that log.
using Command = std::array<std::string, 3>;

// A notes command over three logs, then a response command over two (so the
// notes log is recovered by a command that does not write it), then notes.
const Command firstNotes = {"NOTES master: first note\r\n......\r\n", "NOTES send: first note\r\n...... ",
                            "NOTES notes: first note\r\n...... "};
const Command response = {"RESPONSE master: 4 m/s\r\n", "RESPONSE send: 4 m/s\r\n", ""};
const Command laterNotes = {"NOTES master: later\r\n", "NOTES send: later\r\n", "NOTES notes: later\r\n"};

void seed(SimulatedDisk& disk) {
    for (const auto& log : logs) disk.put(log, earlier);
}

// One command through the journal, as the platform runs it: the logs opened,
// appended to together, closed.
void runCommand(SimulatedDisk& disk, LogJournal& journal, const Command& command,
                const std::filesystem::path& logFolder = folder) {
    std::vector<AppendTarget> targets;
    for (std::size_t i = 0; i < logs.size(); ++i) {
        if (command[i].empty()) continue;
        const auto path = logFolder / logs[i].filename();
        targets.push_back({static_cast<int>(i + 1), path, disk.openLog(path), command[i]});
    }
    try {
        journal.append(targets);
    } catch (...) {
        for (const AppendTarget& target : targets) disk.closeHandle(target.handle);
        throw;
    }
    for (const AppendTarget& target : targets) disk.closeHandle(target.handle);
}

// A command in a process of its own, on a machine whose private state
// folder is `state`; true when it returned without error.
bool runOnMachine(SimulatedDisk& disk, const std::filesystem::path& state, const Command& command) {
    LogJournal journal(disk, state, 0ms);
    try {
        runCommand(disk, journal, command);
        return !disk.died();
    } catch (const ProcessDied&) {
    } catch (const RuntimeError&) {
    }
    return false;
}

bool runInNewProcess(SimulatedDisk& disk, const Command& command) { return runOnMachine(disk, stateFolder, command); }

std::size_t operationsOf(const SimulatedDisk& start, const Command& command) {
    SimulatedDisk disk = start;
    LogJournal journal(disk, stateFolder, 0ms);
    const std::size_t before = disk.operations();
    runCommand(disk, journal, command);
    return disk.operations() - before;
}

// Takes `record` off the front of `rest` if it is there.
bool took(std::string& rest, const std::string& record) {
    if (record.empty() || rest.compare(0, record.size(), record) != 0) return false;
    rest.erase(0, record.size());
    return true;
}

// After the last command: every log is the earlier record, then each earlier
// command's record whole or not at all (the same in every log it writes),
// then the last command's record; the journal is done and nothing is set
// aside.  Returns which of the earlier commands landed.
std::vector<bool> expectWholeOrNone(const SimulatedDisk& disk, const std::vector<Command>& earlierCommands,
                                    const Command& last) {
    std::vector<int> landed(earlierCommands.size(), 0);
    for (std::size_t i = 0; i < logs.size(); ++i) {
        std::string rest = disk.bytesOf(logs[i]).value_or("<missing>");
        const std::string whole = rest;
        EXPECT_TRUE(took(rest, earlier)) << logs[i] << " lost its earlier record: " << ::testing::PrintToString(whole);
        for (std::size_t c = 0; c < earlierCommands.size(); ++c) landed[c] += took(rest, earlierCommands[c][i]) ? 1 : 0;
        EXPECT_EQ(rest, last[i]) << logs[i] << " holds " << ::testing::PrintToString(whole);
    }
    std::vector<bool> result;
    for (std::size_t c = 0; c < earlierCommands.size(); ++c) {
        const auto writes = static_cast<int>(std::count_if(earlierCommands[c].begin(), earlierCommands[c].end(),
                                                           [](const std::string& r) { return !r.empty(); }));
        EXPECT_TRUE(landed[c] == 0 || landed[c] == writes) << "command " << c << " is in " << landed[c] << " logs";
        result.push_back(landed[c] > 0);
    }
    const auto journals = disk.filesIn(stateFolder);
    EXPECT_LE(journals.size(), 1U) << "a journal was set aside";
    for (const auto& [name, bytes] : journals)
        EXPECT_TRUE(bytes.size() > stateOffset && bytes[stateOffset] == done) << name << " is left unfinished";
    return result;
}

// Opens, journal made and its folder synced, journal written and synced.
constexpr std::size_t firstJournalDurable = 3 + 2 + 2;

class TwoCommandCrash : public ::testing::TestWithParam<CrashKind> {};

// The first command dies after every operation k; the command that recovers
// it dies after every one of its own operations j, each way a crash can
// happen; a third command then runs.
TEST_P(TwoCommandCrash, EveryCrashOfTheFirstAndOfItsRecoveryLeavesWholeOrNone) {
    SimulatedDisk fresh;
    seed(fresh);
    const std::size_t firstTotal = operationsOf(fresh, firstNotes);
    std::size_t states = 0;
    for (std::size_t k = 0; k <= firstTotal; ++k) {
        SimulatedDisk disk = fresh;
        disk.dieAfter(k);
        runInNewProcess(disk, firstNotes);
        const SimulatedDisk afterFirst = disk.afterCrash(GetParam());
        const std::size_t secondTotal = operationsOf(afterFirst, response);
        for (const CrashKind second : allCrashKinds) {
            for (std::size_t j = 0; j <= secondTotal; ++j) {
                SCOPED_TRACE("first died after " + std::to_string(k) + ", recovery (" + crashName(second) + ") after " +
                             std::to_string(j));
                SimulatedDisk recovering = afterFirst;
                recovering.dieAfter(j);
                runInNewProcess(recovering, response);
                SimulatedDisk last = recovering.afterCrash(second);
                ASSERT_TRUE(runInNewProcess(last, laterNotes));
                const auto landed = expectWholeOrNone(last, {firstNotes, response}, laterNotes);
                if (k >= firstJournalDurable) {
                    EXPECT_TRUE(landed[0]) << "a durable journal was not rolled forward";
                }
                ++states;
                if (HasFailure()) return;
            }
        }
    }
    RecordProperty("states", static_cast<int>(states));
}

INSTANTIATE_TEST_SUITE_P(Crashes, TwoCommandCrash, ::testing::ValuesIn(allCrashKinds),
                         [](const ::testing::TestParamInfo<CrashKind>& row) { return crashName(row.param); });

class FailureThenCrash : public ::testing::TestWithParam<CrashKind> {};

// A failure at any operation, and then death anywhere in its clean-up: the
// record is gone everywhere or whole everywhere.  A failure that was
// reported (the process lived to return it) never lands later.
TEST_P(FailureThenCrash, FailureThenDeathDuringTheCleanUpLeavesWholeOrNone) {
    SimulatedDisk fresh;
    seed(fresh);
    const std::size_t total = operationsOf(fresh, firstNotes);
    for (std::size_t failing = 1; failing <= total; ++failing) {
        for (std::size_t last = failing; last <= total + 2 * logs.size() + 4; ++last) {
            SCOPED_TRACE("operation " + std::to_string(failing) + " failed, died after " + std::to_string(last));
            SimulatedDisk disk = fresh;
            disk.failAt(failing, err::deviceIo);
            disk.dieAfter(last);
            LogJournal journal(disk, stateFolder, 0ms);
            bool reported = false;
            try {
                runCommand(disk, journal, firstNotes);
            } catch (const RuntimeError&) {
                reported = !disk.died();
            } catch (const ProcessDied&) {
            }
            SimulatedDisk after = disk.afterCrash(GetParam());
            ASSERT_TRUE(runInNewProcess(after, response));
            const auto landed = expectWholeOrNone(after, {firstNotes}, response);
            if (reported) {
                EXPECT_FALSE(landed[0]) << "a reported failure landed later";
            }
            if (HasFailure()) return;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Crashes, FailureThenCrash, ::testing::ValuesIn(allCrashKinds),
                         [](const ::testing::TestParamInfo<CrashKind>& row) { return crashName(row.param); });

// Every operation from the N-th on fails, for every N (the mark, the cut-back,
// the journal's write, all of them): then the fault clears and the student
// presses again in the same program.  The record is in every log once.
TEST(PersistentFault, FromEveryOperationOnThenClearedAndPressedAgainWritesOnce) {
    SimulatedDisk fresh;
    seed(fresh);
    SimulatedDisk warm = fresh;
    ASSERT_TRUE(runInNewProcess(warm, response));  // the journal file exists from here on
    const std::size_t total = operationsOf(warm, firstNotes);
    for (std::size_t from = 1; from <= total + 1; ++from) {
        SCOPED_TRACE("every operation from " + std::to_string(from) + " on fails");
        SimulatedDisk disk = warm;
        LogJournal journal(disk, stateFolder, 0ms);
        disk.failFrom(disk.operations() + from, err::deviceIo);
        bool failed = false;
        try {
            runCommand(disk, journal, firstNotes);
        } catch (const RuntimeError&) {
            failed = true;
        }
        disk.clearFaults();
        if (failed) runCommand(disk, journal, firstNotes);
        runCommand(disk, journal, laterNotes);
        const auto landed = expectWholeOrNone(disk, {response, firstNotes}, laterNotes);
        EXPECT_TRUE(landed[1]);
        if (HasFailure()) return;
    }
}

// The network drive drops between two presses and comes back: every handle
// open then is dead, the journal's among them.  The press that meets it
// fails and says so; the next one opens the journal again by its name and
// writes the record once, wherever the journal is kept.
TEST(PersistentFault, ALostNetworkDriveFailsOnePressNotEveryLaterOne) {
    for (const bool beside : {false, true}) {
        SCOPED_TRACE(beside ? "journal beside the logs" : "journal in the private folder");
        SimulatedDisk disk;
        seed(disk);
        if (beside) disk.keepJournalsBesideLogs();
        LogJournal journal(disk, stateFolder, 0ms);
        runCommand(disk, journal, response);
        disk.loseOpenHandles();
        EXPECT_THROW(runCommand(disk, journal, firstNotes), RuntimeError);
        ASSERT_NO_THROW(runCommand(disk, journal, firstNotes)) << "pressed again";
        runCommand(disk, journal, laterNotes);
        const auto landed = expectWholeOrNone(disk, {response, firstNotes}, laterNotes);
        EXPECT_TRUE(landed[0] && landed[1]);
    }
}

// The same faults, cleared before the program ends; the student starts it
// again (on the same PC, or on another PC that sees the logs' journal) and
// presses again.  A failure the student was told about stays failed: the
// record is in every log once.
struct RestartRow {
    const char* name;
    bool journalBesideLogs;
    const std::filesystem::path& restartedOn;
};

class PersistentFaultThenRestart : public ::testing::TestWithParam<RestartRow> {};

TEST_P(PersistentFaultThenRestart, FromEveryOperationOnThenClearedAndRestartedWritesOnce) {
    const RestartRow& row = GetParam();
    SimulatedDisk warm;
    seed(warm);
    if (row.journalBesideLogs) warm.keepJournalsBesideLogs();
    ASSERT_TRUE(runInNewProcess(warm, response));
    const std::size_t total = operationsOf(warm, firstNotes);
    for (std::size_t from = 1; from <= total + 1; ++from) {
        SCOPED_TRACE("every operation from " + std::to_string(from) + " on fails");
        SimulatedDisk disk = warm;
        bool failed = false;
        {
            LogJournal journal(disk, stateFolder, 0ms);
            disk.failFrom(disk.operations() + from, err::deviceIo);
            try {
                runCommand(disk, journal, firstNotes);
            } catch (const RuntimeError&) {
                failed = true;
            }
            disk.clearFaults();
        }
        LogJournal restarted(disk, row.restartedOn, 0ms);
        if (failed) runCommand(disk, restarted, firstNotes);
        runCommand(disk, restarted, laterNotes);
        const auto landed = expectWholeOrNone(disk, {response, firstNotes}, laterNotes);
        EXPECT_TRUE(landed[1]);
        if (HasFailure()) return;
    }
}

const std::filesystem::path otherPcState = "/pc-b/ann/.local/state/qadrill";

INSTANTIATE_TEST_SUITE_P(Rows, PersistentFaultThenRestart,
                         ::testing::Values(RestartRow{"restarted_on_the_same_pc", false, stateFolder},
                                           RestartRow{"restarted_on_another_pc", true, otherPcState}),
                         rowName);

// What another program put in a log after the crash stays where it is, with
// everything before it; a record rolled forward then goes whole after it.
TEST(JournalRecovery, ForeignBytesAreNeverCut) {
    const std::string foreign = "typed in by hand\r\n";
    SimulatedDisk fresh;
    seed(fresh);
    const std::size_t total = operationsOf(fresh, firstNotes);
    for (std::size_t failing = 0; failing <= total; ++failing) {
        for (std::size_t last = failing; last <= total + 2 * logs.size() + 4; ++last) {
            SCOPED_TRACE("operation " + std::to_string(failing) + " failed, died after " + std::to_string(last));
            SimulatedDisk disk = fresh;
            if (failing > 0) disk.failAt(failing, err::deviceIo);
            disk.dieAfter(last);
            runInNewProcess(disk, firstNotes);
            SimulatedDisk after = disk.afterCrash(CrashKind::killed);
            const std::string leftBySend = *after.bytesOf(logs[1]) + foreign;
            after.put(logs[1], leftBySend);
            ASSERT_TRUE(runInNewProcess(after, response));
            const std::string recovered = *after.bytesOf(logs[1]);
            ASSERT_EQ(recovered.substr(0, leftBySend.size()), leftBySend);
            const bool masterHasIt = after.bytesOf(logs[0]) == earlier + firstNotes[0] + response[0];
            const bool sendHadIt = leftBySend == earlier + firstNotes[1] + foreign;
            EXPECT_EQ(recovered.substr(leftBySend.size()),
                      (masterHasIt && !sendHadIt ? firstNotes[1] : "") + response[1]);
        }
    }
}

// A journal the first command left once it was durable, nothing appended.
std::string durableJournal() {
    SimulatedDisk disk;
    seed(disk);
    disk.dieAfter(firstJournalDurable);
    runInNewProcess(disk, firstNotes);
    return disk.filesIn(stateFolder).begin()->second;
}

std::filesystem::path journalOf(const std::filesystem::path& firstLog) {
    SimulatedDisk unused;
    return LogJournal(unused, stateFolder, 0ms).journalPathFor(firstLog);
}

// A journal too short, with a bad checksum or with a state it does not know
// was never synced: no log is touched and the command goes on.
TEST(JournalRecovery, TornOrForeignJournalsAreDiscarded) {
    const std::string whole = durableJournal();
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"cut in the middle", whole.substr(0, whole.size() / 2)},
        {"last byte missing", whole.substr(0, whole.size() - 1)},
        {"one byte changed", std::string(whole).replace(whole.size() / 2, 1, "\x7f")},
        {"unknown state", std::string(whole).replace(stateOffset, 1, "Z")},
        {"zeros where it grew", std::string(whole).replace(whole.size() / 2, whole.size() / 2, whole.size() / 2, '\0')},
        {"someone else's file", "not a journal at all"},
    };
    for (const auto& journalCase : cases) {
        SCOPED_TRACE(journalCase.name);
        SimulatedDisk disk;
        seed(disk);
        disk.put(journalOf(logs[0]), journalCase.bytes);
        ASSERT_TRUE(runInNewProcess(disk, response));
        expectWholeOrNone(disk, {}, response);
    }
}

// A journal that cannot be finished, or names its logs another way, never
// stops the student's command: it is finished through the file's identity,
// or set aside beside itself under a name that says so.
struct RecoveryRow {
    const char* name;
    // Changes the disk the interrupted command left; the folder the next
    // command names its logs by.
    std::function<std::filesystem::path(SimulatedDisk&, std::string& journal)> plant;
    bool setAside;
    bool recordLands;
};

std::string withFolder(const std::string& journal, const std::filesystem::path& other) {
    auto contents = decodeJournal(journal);
    contents->folder = other;
    return encodeJournal(*contents);
}

std::string withName(const std::string& journal, std::size_t entry, const std::string& name) {
    auto contents = decodeJournal(journal);
    contents->entries[entry].name = name;
    return encodeJournal(*contents);
}

const RecoveryRow recoveryRows[] = {
    {"folder_since_moved",
     [](SimulatedDisk&, std::string& journal) {
         journal = withFolder(journal, "/home/ann/old plovenda");
         return folder;
     },
     true, false},
    {"name_leaving_the_folder",
     [](SimulatedDisk&, std::string& journal) {
         journal = withName(journal, 2, "../.bashrc");
         return folder;
     },
     true, false},
    {"log_gone",
     [](SimulatedDisk& disk, std::string&) {
         disk.erase(logs[2]);
         return folder;
     },
     true, false},
    {"same_folder_another_spelling",
     [](SimulatedDisk& disk, std::string&) {
         disk.aliasFolder("/home/Ann/plovenda", folder);
         return std::filesystem::path("/home/Ann/plovenda");
     },
     false, true},
    {"zeros_the_crash_left",
     [](SimulatedDisk& disk, std::string&) {
         disk.put(logs[1], earlier + std::string(firstNotes[1].size() / 2, '\0'));
         return folder;
     },
     false, true},
};

class RecoveryNeverLocksOut : public ::testing::TestWithParam<RecoveryRow> {};

TEST_P(RecoveryNeverLocksOut, TheCommandGoesOn) {
    const RecoveryRow& row = GetParam();
    SimulatedDisk disk;
    seed(disk);
    std::string journal = durableJournal();
    const std::filesystem::path logFolder = row.plant(disk, journal);
    disk.put(journalOf(logs[0]), journal);
    LogJournal next(disk, stateFolder, 0ms);
    ASSERT_NO_THROW(runCommand(disk, next, response, logFolder));
    const auto files = disk.filesIn(stateFolder);
    EXPECT_EQ(files.size(), row.setAside ? 2U : 1U);
    for (std::size_t i = 0; i < 2; ++i) {
        const std::string expected = earlier + (row.recordLands ? firstNotes[i] : "") + response[i];
        EXPECT_EQ(disk.bytesOf(logs[i]), expected) << logs[i];
    }
    ASSERT_NO_THROW(runCommand(disk, next, laterNotes, logFolder)) << "a second command";
}

INSTANTIATE_TEST_SUITE_P(Rows, RecoveryNeverLocksOut, ::testing::ValuesIn(recoveryRows), rowName);

// Lab machines: every one sees the one data folder and keeps its own
// private folder.  The first command is cut on A at every operation, each
// way a crash can happen; the student's next command runs on B, then one
// on A again.  Every log then holds each record once, whole, in order.
const std::filesystem::path stateOnA = "/pc-a/ann/.local/state/qadrill";
const std::filesystem::path stateOnB = "/pc-b/ann/.local/state/qadrill";

// The data folder holds the logs and their one journal, done.
void expectOnlyTheDoneJournalBeside(const SimulatedDisk& disk) {
    auto files = disk.filesIn(folder);
    for (const auto& log : logs) files.erase(log.filename().string());
    ASSERT_EQ(files.size(), 1U) << "set aside or stray: " << ::testing::PrintToString(files);
    EXPECT_EQ(files.begin()->first, LogJournal::besideJournalPathFor(logs[0]).filename().string());
    EXPECT_EQ(files.begin()->second[stateOffset], done);
}

struct LabRow {
    const char* name;
    CrashKind crash;
    // Whether A's crashed command had a journal beside the logs (an older
    // program kept it in A's private folder only).
    bool besideOnA;
};

class LabPcs : public ::testing::TestWithParam<LabRow> {};

TEST_P(LabPcs, CrashOnAThenBThenA) {
    const LabRow& row = GetParam();
    SimulatedDisk fresh;
    seed(fresh);
    if (row.besideOnA) fresh.keepJournalsBesideLogs();
    SimulatedDisk counting = fresh;
    const std::size_t total = [&] {
        LogJournal journal(counting, stateOnA, 0ms);
        runCommand(counting, journal, firstNotes);
        return counting.operations();
    }();
    for (std::size_t k = 0; k <= total; ++k) {
        SCOPED_TRACE("A died after " + std::to_string(k));
        SimulatedDisk disk = fresh;
        disk.dieAfter(k);
        runOnMachine(disk, stateOnA, firstNotes);
        SimulatedDisk lab = disk.afterCrash(row.crash);
        lab.keepJournalsBesideLogs();
        ASSERT_TRUE(runOnMachine(lab, stateOnB, response)) << "B";
        ASSERT_TRUE(runOnMachine(lab, stateOnA, laterNotes)) << "back on A";
        if (row.besideOnA) {
            expectWholeOrNone(lab, {firstNotes, response}, laterNotes);
            expectOnlyTheDoneJournalBeside(lab);
        } else {
            // A's record was never seen by B: whatever of it is there stays
            // before B's, and it is set aside rather than added late.
            for (std::size_t i = 0; i < logs.size(); ++i) {
                const std::string bytes = *lab.bytesOf(logs[i]);
                const std::string tail = response[i] + laterNotes[i];
                ASSERT_GE(bytes.size(), earlier.size() + tail.size()) << logs[i];
                EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail) << logs[i] << " holds a record late";
                const std::string between = bytes.substr(earlier.size(), bytes.size() - tail.size() - earlier.size());
                EXPECT_EQ(firstNotes[i].substr(0, between.size()), between) << logs[i];
            }
        }
        if (HasFailure()) return;
    }
}

std::vector<LabRow> labRows() {
    static const char* const besideNames[] = {"journal_beside_logs_killed", "journal_beside_logs_power_cut_drops",
                                              "journal_beside_logs_power_cut_keeps_half",
                                              "journal_beside_logs_power_cut_zeroed"};
    std::vector<LabRow> rows;
    for (const CrashKind kind : allCrashKinds) rows.push_back({besideNames[static_cast<int>(kind)], kind, true});
    rows.push_back({"older_journal_only_on_a_is_set_aside_never_late", CrashKind::killed, false});
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Rows, LabPcs, ::testing::ValuesIn(labRows()), rowName);

TEST(JournalPath, InTheStateFolderApartForEveryLog) {
    const auto a = journalOf(folder / "masterFile_Ann.txt");
    const auto b = journalOf(folder / "masterFile_Ann_Lee.txt");
    EXPECT_EQ(a.parent_path(), stateFolder);
    EXPECT_NE(a, b);
    EXPECT_EQ(a, journalOf(folder / "masterFile_Ann.txt"));
}

}  // namespace
}  // namespace qadrill::testing
