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

#include "tests/logbook/RecordWalk.h"
#include "tests/support/ChildProcess.h"

namespace qadrill::testing {
namespace {

constexpr int writers = 8;
constexpr int recordsPerWriter = 2000;

void runWriters(const std::filesystem::path& root, const char* mode) {
    std::filesystem::create_directories(root / "c" / "plovenda");
    std::vector<pid_t> children;
    for (int writer = 0; writer < writers; ++writer) {
        children.push_back(startProgram(
            QADRILL_RECORD_WRITER, {root.string(), std::to_string(writer), std::to_string(recordsPerWriter), mode}));
        ASSERT_GT(children.back(), 0);
    }
    for (const pid_t child : children) EXPECT_EQ(waitForChild(child), 0) << "writer status";
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
