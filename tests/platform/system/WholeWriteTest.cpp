// A write is one unit: all of its bytes reach the file, or none do.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/RuntimeError.h"
#include "tests/platform/TestPlatforms.h"
#include "tests/platform/system/LockHolder.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/FileBytes.h"
#include "tests/support/RowName.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempDir.h"

namespace qadrill {
// Found by argument-dependent lookup, so it must live beside FileMode.
[[maybe_unused]] static void PrintTo(FileMode mode, std::ostream* out) {
    *out << (mode == FileMode::Append ? "append" : mode == FileMode::Output ? "output" : "input");
}
}  // namespace qadrill

namespace qadrill::testing {
namespace {

using qadrill::testing::PrintTo;

using namespace std::chrono_literals;

constexpr char16_t logPath[] = u"c:\\log.txt";
const std::string before = "header line\r\n";
const std::string record = "......!!!!\r\n          23:05:36\r\nwhat is 2+2?\r\nRESPONSE -->  \r\n4\r\n";

class WholeWrite : public ::testing::TestWithParam<FileMode> {
protected:
    TempDir dir;
    ScriptedPlatform platform{dir.path()};

    void SetUp() override {
        platform.open(1, logPath, GetParam());
        platform.write(1, before);
    }
    std::string onDisk() { return platform.fileBytes(logPath).value_or("<missing>"); }
};

TEST_P(WholeWrite, ShortWriteAtEveryOffsetLeavesFileAsBefore) {
    // Room for the whole record is no fault at all.
    for (std::size_t accepted = 0; accepted < record.size(); ++accepted) {
        platform.acceptOnlyBytes(accepted);
        EXPECT_EQ(errorOf([&] { platform.write(1, record); }), err::diskFull) << "after " << accepted << " bytes";
        ASSERT_EQ(onDisk(), before) << "after " << accepted << " bytes";
    }
    // The next write lands where the failed ones would have: no gap, no leftovers.
    platform.write(1, record);
    EXPECT_EQ(onDisk(), before + record);
}

struct FaultRow {
    const char* name;
    FileOperation operation;
    int errnoValue;
    int expected;
};

class WriteFault : public ::testing::TestWithParam<FaultRow> {};

TEST_P(WriteFault, FailsWithItsNumberAndLeavesFileAsBefore) {
    TempDir dir;
    ScriptedPlatform platform(dir.path());
    platform.open(1, logPath, FileMode::Append);
    platform.write(1, before);
    const FaultRow& row = GetParam();
    platform.failNext(row.operation, row.errnoValue);
    EXPECT_EQ(errorOf([&] { platform.write(1, record); }), row.expected);
    EXPECT_EQ(platform.pendingFaults(), 0U);
    EXPECT_EQ(platform.fileBytes(logPath), before);
    platform.write(1, "next\r\n");
    EXPECT_EQ(platform.fileBytes(logPath), before + "next\r\n");
}

INSTANTIATE_TEST_SUITE_P(Rows, WriteFault,
                         ::testing::Values(FaultRow{"write_io_error", FileOperation::write, EIO, 57},
                                           FaultRow{"write_disk_full", FileOperation::write, ENOSPC, 61},
                                           FaultRow{"write_too_large", FileOperation::write, EFBIG, 61},
                                           FaultRow{"sync_io_error_after_bytes_written", FileOperation::fsync, EIO, 57},
                                           FaultRow{"sync_disk_full_after_bytes_written", FileOperation::fsync, ENOSPC,
                                                    61},
                                           FaultRow{"lock_held_elsewhere", FileOperation::lock, EWOULDBLOCK, 70},
                                           FaultRow{"lock_table_full", FileOperation::lock, ENOLCK, 57}),
                         rowName);

TEST_P(WholeWrite, SuccessAppendsExactlyTheBytes) {
    const std::string binary("\0\xff\x80\r\rtail", 10);
    platform.write(1, record);
    platform.write(1, "");
    platform.write(1, binary + "\r\n");
    EXPECT_EQ(onDisk(), before + record + binary + "\r\n");
    EXPECT_EQ(platform.calls(FileOperation::write), 3) << "one system write per unit, none for nothing";
}

INSTANTIATE_TEST_SUITE_P(Modes, WholeWrite, ::testing::Values(FileMode::Append, FileMode::Output),
                         [](const auto& row) { return row.param == FileMode::Append ? "append" : "output"; });

TEST(OpenModes, AppendKeepsAndOutputEmpties) {
    TempDir dir;
    ScriptedPlatform platform(dir.path());
    platform.open(1, logPath, FileMode::Append);
    platform.open(2, logPath, FileMode::Append);
    platform.write(1, "one ");
    platform.write(2, "two ");
    platform.write(1, "three");
    platform.closeAll();
    EXPECT_EQ(platform.fileBytes(logPath), "one two three") << "each handle appends at the current end";
    platform.open(1, logPath, FileMode::Append);
    platform.close(1);
    EXPECT_EQ(platform.fileBytes(logPath), "one two three");
    platform.open(1, logPath, FileMode::Output);
    EXPECT_EQ(platform.fileBytes(logPath), "");
    platform.open(2, u"c:\\fresh.txt", FileMode::Append);
    EXPECT_EQ(platform.fileBytes(u"c:\\fresh.txt"), "");
}

class LockContention : public ::testing::Test {
protected:
    TempDir dir;
    std::filesystem::path file() const { return dir.path() / "c" / "log.txt"; }
    void SetUp() override {
        std::filesystem::create_directories(dir.path() / "c");
        std::ofstream(file(), std::ios::binary) << before;
    }
};

// The lock is held until the holder ends: however slow the machine, the
// write gives up first.  That it waited at all is the lower bound, which a
// busy machine only lengthens.
TEST_F(LockContention, HeldPastTheBoundGives70AfterWaiting) {
    BarePlatform platform(dir.path(), 300ms);
    platform.open(1, logPath, FileMode::Append);
    const LockHolder holder(file(), LockHolder::untilEnded);
    ASSERT_TRUE(holder.held());
    const auto start = std::chrono::steady_clock::now();
    try {
        platform.write(1, record);
        ADD_FAILURE() << "the write went through a held lock";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), err::fileLocked);
        // The student is told which file and why, on either system.
        EXPECT_TRUE(error.detail().ends_with("log.txt: Another program holds this file locked")) << error.detail();
    }
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
    EXPECT_EQ(contents(file()), before);
}

// The holder appends its last words before it lets go; a write that waited
// for the lock lands after them, one that did not wait lands before.  The
// bound is far beyond the hold, so a busy machine cannot make it run out.
TEST_F(LockContention, ReleasedWithinTheBoundWriteGoesThrough) {
    BarePlatform platform(dir.path(), 60s);
    platform.open(1, logPath, FileMode::Append);
    const std::string holders = "the other copy's record\r\n";
    const LockHolder holder(file(), 200ms, holders);
    ASSERT_TRUE(holder.held());
    platform.write(1, record);
    EXPECT_EQ(contents(file()), before + holders + record) << "the write should have waited for the lock";
}

}  // namespace
}  // namespace qadrill::testing
