// Writers killed at random moments while they record notes of random size,
// up to megabytes: once the next writer has run, every log holds whole
// records only, and the three logs hold the same ones.
//
// QADRILL_TORTURE_SECONDS (default 6) runs it longer, QADRILL_TORTURE_SEED
// repeats a run; the logs go under TMPDIR (tmpfs in the suite; point it at a
// real disk to see the file system's own write boundaries).

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#include "logbook/ResponseRecords.h"
#include "platform/journal/JournalFormat.h"
#include "tests/logbook/RecordFixture.h"
#include "tests/logbook/RecordWalk.h"
#include "tests/support/ChildProcess.h"

namespace qadrill::testing {
namespace {

constexpr std::size_t maxRecordBytes = 3 << 20;

double settingOr(const char* name, double fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::strtod(value, nullptr) : fallback;
}

pid_t startWriter(const std::filesystem::path& root, int writer, int count, unsigned seed) {
    return startProgram(QADRILL_RECORD_WRITER, {root.string(), std::to_string(writer), std::to_string(count), "sized",
                                                std::to_string(seed), std::to_string(maxRecordBytes)});
}

bool endsInsideARecord(const std::string& master) {
    const std::string end = closing + "\r\n";
    return !master.empty() &&
           (master.size() < end.size() || master.compare(master.size() - end.size(), end.size(), end) != 0);
}

// The state byte of the one journal in the writers' state folder, or '-';
// read alone, as the journal may hold megabytes of records.
char journalState(const std::filesystem::path& stateFolder) {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(stateFolder, ignored)) {
        std::ifstream journal(entry.path(), std::ios::binary);
        char state = '-';
        journal.seekg(static_cast<std::streamoff>(stateOffset));
        journal.get(state);
        return journal ? state : '-';
    }
    return '-';
}

bool inACommand(const std::filesystem::path& stateFolder) {
    const char state = journalState(stateFolder);
    return state == rollForward || state == rollBack;
}

// Bounded only against a writer that never begins one; a busy machine may
// take seconds to start it.
void waitForACommand(const std::filesystem::path& stateFolder) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!inACommand(stateFolder) && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::microseconds(50));
}

TEST(KilledWriters, EveryLogHoldsWholeRecordsThatAgree) {
    const TempDir dir;
    const std::filesystem::path root = dir.path();
    const std::filesystem::path folder = root / "c" / "plovenda";
    std::filesystem::create_directories(folder);
    const auto seed = static_cast<unsigned>(settingOr("QADRILL_TORTURE_SEED", double(std::random_device{}() % 100000)));
    std::mt19937 random(seed);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(settingOr("QADRILL_TORTURE_SECONDS", 6.0));

    int writer = 0;
    int insideACommand = 0;
    int tornBeforeRecovery = 0;
    const std::filesystem::path journals = root / "state";
    // On a machine too busy for a kill inside a command before the deadline,
    // the run goes on until one lands (or a count a sound run never needs).
    constexpr int mostWriters = 500;
    while (std::chrono::steady_clock::now() < deadline || (insideACommand == 0 && writer < mostWriters)) {
        const pid_t child = startWriter(root, writer, 1'000'000, seed + static_cast<unsigned>(writer));
        ASSERT_GT(child, 0);
        // Every other kill waits for a command to begin, then strikes within
        // the next few milliseconds: in the journal, the logs or their syncs.
        if (writer % 2 == 1) waitForACommand(journals);
        const int pause = writer % 2 == 1 ? 5'000 : 150'000;
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, pause)(random)));
        kill(child, SIGKILL);
        const int status = waitForChild(child);
        ASSERT_LT(status, -1) << "writer " << writer << " ended by itself, status " << status;
        if (inACommand(journals)) ++insideACommand;
        if (endsInsideARecord(contents(folder / "masterFile_shared.txt"))) ++tornBeforeRecovery;
        ++writer;
    }
    // The next writer finishes whatever the last one left, then adds its own.
    ASSERT_EQ(waitForChild(startWriter(root, writer, 1, seed)), 0) << "the last writer";

    std::cout << "seed " << seed << ": " << writer << " writers killed, " << insideACommand << " inside a command, "
              << tornBeforeRecovery << " with half a record in the master log\n";
    const Tally master = tally(contents(folder / "masterFile_shared.txt"), true);
    const Tally send = tally(contents(folder / "send_1207shared.txt"), false);
    const Tally notes = tally(contents(folder / "notes_shared.txt"), false);
    EXPECT_TRUE(master.intact && send.intact && notes.intact) << "seed " << seed;
    EXPECT_EQ(master.recordsOf, send.recordsOf) << "seed " << seed;
    EXPECT_EQ(master.recordsOf, notes.recordsOf) << "seed " << seed;
    EXPECT_EQ(master.recordsOf.count(writer), 1U) << "the last writer's record is missing";
    EXPECT_EQ(journalState(journals), done);
    EXPECT_GT(insideACommand, 0) << "no kill landed inside a command: the test proved nothing";
}

// A notes record killed halfway through the master log, then a response: the
// logs read back as the golden records of the notes rolled forward.
using KilledRecord = RecordFixture;

TEST_F(KilledRecord, HalfwayThroughTheMasterLogIsRolledForward) {
    // Bytes of the notes "first note": the journal's, then each log's record.
    RecordSetup reference;
    reference.view.answer = u"first note";
    cmd_save_as_notes_Click(reference.state, reference.platform, reference.view);
    const std::size_t master = reference.bytesOf(Log::master)->size();
    constexpr std::size_t doneMark = 1;
    const std::size_t journal = reference.platform.bytesWritten() - master - reference.bytesOf(Log::send)->size() -
                                reference.bytesOf(Log::notes)->size() - doneMark;
    const int status = runInChild([&] {
        platform.dieAfterBytes(journal + master / 2);
        view.answer = u"first note";
        cmd_save_as_notes_Click(state, platform, view);
        return 3;  // not killed: the test's own fault
    });
    ASSERT_EQ(status, 0) << "not killed in the write";
    ASSERT_EQ(bytesOf(Log::master).value_or("").size(), master / 2) << "not killed halfway";
    view.answer = u"4 m/s";
    cmd_enter_response_Click(state, platform, view);
    for (const auto& [log, name] : {std::pair{Log::master, "master"}, {Log::send, "send"}, {Log::notes, "notes"}})
        EXPECT_EQ(bytesOf(log), contents(std::string(QADRILL_GOLDEN_DIR) + "/response_after_notes." + name + ".txt"))
            << name;
}

}  // namespace
}  // namespace qadrill::testing
