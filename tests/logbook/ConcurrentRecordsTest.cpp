// Several copies of the program recording into the same logs at once: every
// record must stay whole.  The same run with one write per line must show
// torn records, or the check could not catch the fault at all.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "tests/support/TempDir.h"

namespace qadrill::testing {
namespace {

constexpr int writers = 8;
constexpr int recordsPerWriter = 2000;

const std::string separator = "......!!!!!!!!...................................";
const std::string closing(49, '.');
const std::string indent(36, ' ');

// One notes record of one writer as the given log holds it.
std::string expectedRecord(int writer, int record, bool master) {
    return separator + "\r\n" + indent + "23:05:36\r\n" + indent + "12-07-202623:05:36\r\n" + "question of writer " +
           std::to_string(writer) + "\r\n" + separator + "\r\n" + "NOTES -------> writer " + std::to_string(writer) +
           " record " + std::to_string(record) + "\r\n" + closing + (master ? "\r\n" : "       ");
}

struct Tally {
    bool intact = true;
    std::map<int, int> recordsOf;  // writer -> records found, in order
};

// Walks the log record by record; each must be the next one of its writer.
Tally tally(const std::string& log, bool master) {
    Tally result;
    const std::string lead =
        separator + "\r\n" + indent + "23:05:36\r\n" + indent + "12-07-202623:05:36\r\n" + "question of writer ";
    std::size_t at = 0;
    while (at < log.size()) {
        if (log.compare(at, lead.size(), lead) != 0) return result.intact = false, result;
        const int writer = std::atoi(log.c_str() + at + lead.size());
        const std::string record = expectedRecord(writer, result.recordsOf[writer], master);
        if (log.compare(at, record.size(), record) != 0) return result.intact = false, result;
        ++result.recordsOf[writer];
        at += record.size();
    }
    return result;
}

std::string contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Logs on tmpfs where there is one: the test is about interleaving, not about
// waiting for 48,000 syncs of a real disk.
class SharedLogDir final {
public:
    SharedLogDir() {
        std::string pattern = std::filesystem::is_directory("/dev/shm") ? "/dev/shm/qadrill-XXXXXX"
                                                                        : (fallback_.path() / "XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp " + pattern);
        path_ = pattern;
    }
    ~SharedLogDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    SharedLogDir(const SharedLogDir&) = delete;
    SharedLogDir& operator=(const SharedLogDir&) = delete;
    [[nodiscard]] const std::filesystem::path& path() const { return path_; }

private:
    TempDir fallback_;
    std::filesystem::path path_;
};

void runWriters(const std::filesystem::path& root, const char* mode) {
    std::filesystem::create_directories(root / "c" / "plovenda");
    std::vector<pid_t> children;
    for (int writer = 0; writer < writers; ++writer) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const std::string id = std::to_string(writer);
            const std::string count = std::to_string(recordsPerWriter);
            execl(QADRILL_RECORD_WRITER, QADRILL_RECORD_WRITER, root.c_str(), id.c_str(), count.c_str(), mode,
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "writer status " << status;
    }
}

struct LogOfTest {
    const char* file;
    bool master;
};

const std::vector<LogOfTest> sharedLogs = {
    {"masterFile_shared.txt", true}, {"send_1207shared.txt", false}, {"notes_shared.txt", false}};

TEST(ConcurrentRecords, WholeRecordWritesNeverInterleave) {
    const SharedLogDir dir;
    runWriters(dir.path(), "whole");
    for (const auto& log : sharedLogs) {
        const Tally result = tally(contents(dir.path() / "c" / "plovenda" / log.file), log.master);
        EXPECT_TRUE(result.intact) << log.file;
        ASSERT_EQ(result.recordsOf.size(), static_cast<std::size_t>(writers)) << log.file;
        for (const auto& [writer, count] : result.recordsOf) EXPECT_EQ(count, recordsPerWriter) << log.file;
    }
}

TEST(ConcurrentRecords, LineByLineWritesAreCaughtInterleaving) {
    const SharedLogDir dir;
    runWriters(dir.path(), "lines");
    int torn = 0;
    for (const auto& log : sharedLogs)
        if (!tally(contents(dir.path() / "c" / "plovenda" / log.file), log.master).intact) ++torn;
    EXPECT_GT(torn, 0);
}

}  // namespace
}  // namespace qadrill::testing
