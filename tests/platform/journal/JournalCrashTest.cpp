// The journal against a process that dies after any one of its operations,
// and against the power failing there: once the next command has run, each
// log of the interrupted command holds its record whole or not at all, all
// of them agree, and bytes that are not the record's are never cut.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/RuntimeError.h"
#include "platform/journal/Journal.h"
#include "tests/platform/journal/SimulatedDisk.h"

namespace qadrill::testing {
namespace {

const std::filesystem::path folder = "/home/ann/plovenda";
const std::string earlier = "earlier record\r\n";

struct Log {
    std::filesystem::path path;
    std::string interrupted;  // the record of the command that dies
    std::string next;         // the next command's record, if it writes this log
};

// A notes command over three logs dies; a response command over two follows,
// so the notes log is recovered by a command that does not write it.
const std::vector<Log> logs = {
    {folder / "masterFile_Ann.txt", "NOTES master: first note\r\n......\r\n", "RESPONSE master: 4 m/s\r\n"},
    {folder / "send_1207Ann.txt", "NOTES send: first note\r\n...... ", "RESPONSE send: 4 m/s\r\n"},
    {folder / "notes_Ann.txt", "NOTES notes: first note\r\n...... ", ""},
};

void seed(SimulatedDisk& disk) {
    for (const Log& log : logs) disk.put(log.path, earlier);
}

// One command through the journal, as the platform runs it.
void runCommand(SimulatedDisk& disk, bool interrupted) {
    std::vector<AppendTarget> targets;
    int fileNumber = 1;
    for (const Log& log : logs) {
        const std::string& bytes = interrupted ? log.interrupted : log.next;
        if (!bytes.empty()) targets.push_back({fileNumber, log.path, disk.openLog(log.path), bytes});
        ++fileNumber;
    }
    appendJournaled(disk, targets, std::chrono::milliseconds(0));
    for (const AppendTarget& target : targets) disk.closeHandle(target.handle);
}

// Runs the interrupted command on `disk` as planned; whatever stops it.
void runPlanned(SimulatedDisk& disk) {
    try {
        runCommand(disk, true);
    } catch (const ProcessDied&) {
    } catch (const RuntimeError&) {
    }
}

std::size_t operationsOfCleanRun() {
    SimulatedDisk disk;
    seed(disk);
    runCommand(disk, true);
    return disk.operations();
}

// After the next command: every log is the earlier record, the interrupted
// record whole in all of them or in none, then the next command's record;
// and no journal is left.  Returns whether the interrupted record landed.
bool expectWholeOrNoneEverywhere(const SimulatedDisk& disk) {
    int landed = 0;
    for (const Log& log : logs) {
        const auto bytes = disk.bytesOf(log.path);
        const bool hasRecord = bytes == earlier + log.interrupted + log.next;
        EXPECT_TRUE(hasRecord || bytes == earlier + log.next)
            << log.path << " holds " << ::testing::PrintToString(bytes);
        landed += hasRecord ? 1 : 0;
    }
    EXPECT_TRUE(landed == 0 || landed == static_cast<int>(logs.size())) << landed << " logs hold the record";
    EXPECT_EQ(disk.fileCount(), logs.size()) << "a journal is left";
    return landed > 0;
}

const char* const crashNames[] = {"killed", "power_cut_drops_unsynced", "power_cut_keeps_half"};

class JournalCrash : public ::testing::TestWithParam<CrashKind> {};

TEST_P(JournalCrash, AfterEveryOperationTheNextCommandLeavesWholeOrNone) {
    const std::size_t total = operationsOfCleanRun();
    // Before its first append the command only opens, sizes and journals:
    // once the journal is written and synced (file and folder), the record
    // must survive whatever happens next.
    const std::size_t journalDurable = 3 + 4;  // three opens; create, write, sync, sync the folder
    for (std::size_t last = 0; last <= total; ++last) {
        SCOPED_TRACE("died after operation " + std::to_string(last) + " of " + std::to_string(total));
        SimulatedDisk disk;
        seed(disk);
        disk.dieAfter(last);
        runPlanned(disk);
        SimulatedDisk after = disk.afterCrash(GetParam());
        runCommand(after, false);
        const bool landed = expectWholeOrNoneEverywhere(after);
        if (last >= journalDurable) {
            EXPECT_TRUE(landed) << "a durable journal was not rolled forward";
        }
        if (HasFailure()) return;
    }
}

// A failure at any operation, and then death anywhere in its clean-up: the
// record is gone everywhere or whole everywhere.  Without a death a failure
// before every log holds the record leaves it nowhere.
TEST_P(JournalCrash, FailureThenDeathDuringTheCleanUpLeavesWholeOrNone) {
    const std::size_t total = operationsOfCleanRun();
    for (std::size_t failing = 1; failing <= total; ++failing) {
        for (std::size_t last = failing; last <= total + 2 * logs.size() + 2; ++last) {
            SCOPED_TRACE("operation " + std::to_string(failing) + " failed, died after " + std::to_string(last));
            SimulatedDisk disk;
            seed(disk);
            disk.failAt(failing, err::deviceIo);
            disk.dieAfter(last);
            runPlanned(disk);
            SimulatedDisk after = disk.afterCrash(GetParam());
            runCommand(after, false);
            expectWholeOrNoneEverywhere(after);
            if (HasFailure()) return;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Crashes, JournalCrash,
                         ::testing::Values(CrashKind::killed, CrashKind::powerCutDropsUnsynced,
                                           CrashKind::powerCutKeepsHalfUnsynced),
                         [](const ::testing::TestParamInfo<CrashKind>& row) {
                             return std::string(crashNames[static_cast<int>(row.param)]);
                         });

// What another program put in a log after the crash stays where it is, with
// everything before it; a record rolled forward then goes whole after it.
TEST(JournalRecovery, ForeignBytesAreNeverCut) {
    const std::string foreign = "typed in by hand\r\n";
    const std::size_t total = operationsOfCleanRun();
    for (std::size_t failing = 0; failing <= total; ++failing) {
        for (std::size_t last = failing; last <= total + 2 * logs.size() + 2; ++last) {
            SCOPED_TRACE("operation " + std::to_string(failing) + " failed, died after " + std::to_string(last));
            SimulatedDisk disk;
            seed(disk);
            if (failing > 0) disk.failAt(failing, err::deviceIo);
            disk.dieAfter(last);
            runPlanned(disk);
            SimulatedDisk after = disk.afterCrash(CrashKind::killed);
            const Log& send = logs[1];
            const std::string leftBySend = *after.bytesOf(send.path) + foreign;
            after.put(send.path, leftBySend);
            runCommand(after, false);
            const std::string recovered = *after.bytesOf(send.path);
            ASSERT_EQ(recovered.substr(0, leftBySend.size()), leftBySend);
            const bool masterHasIt = after.bytesOf(logs[0].path) == earlier + logs[0].interrupted + logs[0].next;
            const bool sendHadIt = leftBySend == earlier + send.interrupted + foreign;
            EXPECT_EQ(recovered.substr(leftBySend.size()),
                      (masterHasIt && !sendHadIt ? send.interrupted : "") + send.next);
        }
    }
}

// A journal too short, with a bad checksum or with a state it does not know
// was never synced: it is removed and no log is touched.
TEST(JournalRecovery, TornOrForeignJournalsAreDiscarded) {
    SimulatedDisk clean;
    seed(clean);
    clean.dieAfter(7);  // journal durable, nothing appended yet
    runPlanned(clean);
    const std::filesystem::path journal = journalPathFor(logs[0].path);
    const std::string whole = *clean.bytesOf(journal);
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"cut in the middle", whole.substr(0, whole.size() / 2)},
        {"last byte missing", whole.substr(0, whole.size() - 1)},
        {"one byte changed", std::string(whole).replace(whole.size() / 2, 1, "\x7f")},
        {"unknown state", std::string(whole).replace(8, 1, "Z")},
        {"someone else's file", "not a journal at all"},
    };
    for (const auto& journalCase : cases) {
        SCOPED_TRACE(journalCase.name);
        SimulatedDisk disk;
        seed(disk);
        disk.put(journal, journalCase.bytes);
        runCommand(disk, false);
        for (const Log& log : logs) EXPECT_EQ(disk.bytesOf(log.path), earlier + log.next) << log.path;
        EXPECT_FALSE(disk.bytesOf(journal).has_value());
    }
}

TEST(JournalPath, HiddenBesideTheFirstLogAndApartForEveryName) {
    EXPECT_EQ(journalPathFor(folder / "masterFile_Ann_Lee_Smith.txt"),
              folder / ".masterFile_Ann_Lee_Smith.txt.journal");
    // Names near the limit are cut to fit, with a hash that keeps them apart.
    const std::string longA = "masterFile_" + std::string(240, 'a') + "A.txt";
    const std::string longB = "masterFile_" + std::string(240, 'a') + "B.txt";
    const auto a = journalPathFor(folder / longA).filename().string();
    const auto b = journalPathFor(folder / longB).filename().string();
    EXPECT_LE(a.size(), 255U);
    EXPECT_EQ(a.front(), '.');
    EXPECT_NE(a, b);
    // A cut never splits a character of a multi-byte name.
    const std::string greek = "masterFile_" + std::string(60, 'x') + [] {
        std::string s;
        for (int i = 0; i < 100; ++i) s += "\xce\x94";
        return s;
    }() + ".txt";
    const auto cut = journalPathFor(folder / greek).filename().u8string();
    EXPECT_LE(cut.size(), 255U);
    const std::size_t hashAt = cut.find(u8'~');
    ASSERT_NE(hashAt, std::u8string::npos);
    EXPECT_NE(static_cast<unsigned char>(cut[hashAt - 1]), 0xCE) << "the cut split a character";
}

}  // namespace
}  // namespace qadrill::testing
