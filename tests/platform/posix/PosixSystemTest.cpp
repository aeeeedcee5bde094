// What only POSIX has: the errno table, file modes that bind once root is
// given up, and resource limits.  Windows has its own in Win32SystemTest.cpp.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include "platform/RuntimeError.h"
#include "platform/system/DrivePath.h"
#include "platform/system/ErrorTable.h"
#include "tests/platform/TestPlatforms.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/FileBytes.h"
#include "tests/support/RowName.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempDir.h"

namespace qadrill::testing {
namespace {

using qadrill::testing::PrintTo;

using namespace std::chrono_literals;

constexpr char16_t logPath[] = u"c:\\log.txt";
const std::string before = "header line\r\n";
const std::string record = "......!!!!\r\n          23:05:36\r\nwhat is 2+2?\r\nRESPONSE -->  \r\n4\r\n";

struct TableRow {
    const char* name;
    int errnoValue;
    FileOperation operation;
    FileMode mode;
    int expected;
};

class ErrorTable : public ::testing::TestWithParam<TableRow> {};

TEST_P(ErrorTable, MapsErrnoForOperation) {
    const TableRow& row = GetParam();
    EXPECT_EQ(runtimeErrorFor(row.errnoValue, row.operation, row.mode), row.expected);
}

constexpr auto openOp = FileOperation::open;
constexpr auto writeOp = FileOperation::write;
constexpr auto mkdirOp = FileOperation::makeDirectory;

INSTANTIATE_TEST_SUITE_P(Rows, ErrorTable,
                         ::testing::Values(TableRow{"missing_file_on_read", ENOENT, openOp, FileMode::Input, 53},
                                           TableRow{"missing_folder_on_append", ENOENT, openOp, FileMode::Append, 76},
                                           TableRow{"missing_folder_on_output", ENOENT, openOp, FileMode::Output, 76},
                                           TableRow{"file_in_path_on_read", ENOTDIR, openOp, FileMode::Input, 76},
                                           TableRow{"file_in_path_on_append", ENOTDIR, openOp, FileMode::Append, 76},
                                           TableRow{"denied", EACCES, openOp, FileMode::Append, 75},
                                           TableRow{"not_permitted", EPERM, openOp, FileMode::Output, 75},
                                           TableRow{"read_only_file_system", EROFS, writeOp, FileMode::Append, 75},
                                           TableRow{"would_block", EWOULDBLOCK, FileOperation::lock, FileMode::Append,
                                                    70},
                                           TableRow{"busy", EBUSY, openOp, FileMode::Append, 70},
                                           TableRow{"text_file_busy", ETXTBSY, openOp, FileMode::Output, 70},
                                           TableRow{"no_space", ENOSPC, writeOp, FileMode::Append, 61},
                                           TableRow{"file_too_large", EFBIG, writeOp, FileMode::Append, 61},
                                           TableRow{"quota", EDQUOT, FileOperation::fsync, FileMode::Append, 61},
                                           TableRow{"process_files", EMFILE, openOp, FileMode::Input, 67},
                                           TableRow{"system_files", ENFILE, openOp, FileMode::Append, 67},
                                           TableRow{"name_too_long", ENAMETOOLONG, openOp, FileMode::Append, 52},
                                           TableRow{"invalid_name", EINVAL, mkdirOp, FileMode::Append, 52},
                                           TableRow{"illegal_sequence", EILSEQ, openOp, FileMode::Output, 52},
                                           TableRow{"io_on_write", EIO, writeOp, FileMode::Append, 57},
                                           TableRow{"io_on_read", EIO, FileOperation::read, FileMode::Input, 57},
                                           TableRow{"directory_exists", EEXIST, mkdirOp, FileMode::Append, 75},
                                           TableRow{"mkdir_missing_parent", ENOENT, mkdirOp, FileMode::Append, 76},
                                           TableRow{"mkdir_denied", EACCES, mkdirOp, FileMode::Append, 75}),
                         rowName);

// Runs as root, where modes stop nothing: each case runs in a child that has
// given up root.
struct DeniedRow {
    const char* name;
    std::function<void(Platform&)> action;
};

class ReadOnly : public ::testing::TestWithParam<DeniedRow> {};

TEST_P(ReadOnly, DeniedGives75) {
    TempDir dir;
    const auto c = dir.path() / "c";
    std::filesystem::create_directories(c / "locked");
    std::ofstream(c / "locked" / "log.txt") << "kept\r\n";
    std::ofstream(c / "secret.txt") << "x";
    chmod(dir.path().c_str(), 0755);
    chmod(c.c_str(), 0755);
    chmod((c / "locked" / "log.txt").c_str(), 0444);
    chmod((c / "locked").c_str(), 0555);
    chmod((c / "secret.txt").c_str(), 0000);
    const int code = runInChild([&] {
        if (!dropRoot()) return childSetupFailed;
        BarePlatform platform(dir.path(), std::chrono::milliseconds(0));
        return errorOf([&] { GetParam().action(platform); });
    });
    if (code == childSetupFailed) GTEST_SKIP() << "cannot drop root privileges here";
    EXPECT_EQ(code, 75);
    EXPECT_EQ(contents(c / "locked" / "log.txt"), "kept\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadOnly,
    ::testing::Values(
        DeniedRow{"append_to_read_only_file", [](Platform& p) { p.open(1, u"c:\\locked\\log.txt", FileMode::Append); }},
        DeniedRow{"output_over_read_only_file",
                  [](Platform& p) { p.open(1, u"c:\\locked\\log.txt", FileMode::Output); }},
        DeniedRow{"create_in_read_only_folder",
                  [](Platform& p) { p.open(1, u"c:\\locked\\new.txt", FileMode::Append); }},
        DeniedRow{"read_unreadable_file", [](Platform& p) { p.open(1, u"c:\\secret.txt", FileMode::Input); }},
        DeniedRow{"directory_in_read_only_folder", [](Platform& p) { p.makeDirectory(u"c:\\locked\\sub"); }}),
    rowName);

TEST(FileLimits, TooManyOpenFilesGives67) {
    TempDir dir;
    const int code = runInChild([&] {
        std::filesystem::create_directories(dir.path() / "c");
        // The undefined-behaviour sanitizer checks an object's type the first
        // time a call meets it, through a pipe of its own.  A first platform
        // that fails to open a log meets those types while descriptors remain.
        {
            BarePlatform first(dir.path(), std::chrono::milliseconds(0));
            if (errorOf([&] { first.open(1, u"c:\\missing\\log.txt", FileMode::Append); }) != 76) {
                return childSetupFailed;
            }
        }
        BarePlatform platform(dir.path(), std::chrono::milliseconds(0));
        const rlimit few{32, 32};
        if (setrlimit(RLIMIT_NOFILE, &few) != 0) return childSetupFailed;
        while (dup(STDERR_FILENO) >= 0) {
        }
        return errorOf([&] { platform.open(1, u"c:\\log.txt", FileMode::Append); });
    });
    EXPECT_EQ(code, 67);
}

// With no room left the system would stop the process with a signal; with a
// little room it writes part of the record.  Both must be a clean error 61.
class FileSizeLimit : public ::testing::TestWithParam<std::size_t> {};

TEST_P(FileSizeLimit, OverLimitWriteIsDiskFullNotDeath) {
    TempDir dir;
    const std::size_t room = GetParam();
    const int code = runInChild([&] {
        BarePlatform platform(dir.path(), 0ms);
        std::filesystem::create_directories(dir.path() / "c");
        platform.open(1, logPath, FileMode::Append);
        platform.write(1, before);
        const rlimit small{before.size() + room, before.size() + room};
        if (setrlimit(RLIMIT_FSIZE, &small) != 0) return childSetupFailed;
        const int error = errorOf([&] { platform.write(1, record); });
        const bool unchanged = contents(dir.path() / "c" / "log.txt") == before;
        return unchanged ? error : 1;
    });
    EXPECT_EQ(code, err::diskFull);
}

INSTANTIATE_TEST_SUITE_P(Room, FileSizeLimit, ::testing::Values(0U, 4U),
                         [](const auto& row) { return row.param == 0 ? "no_room" : "room_for_part"; });

// Sets HOME for one test and puts the old value back.
class HomeOverride {
public:
    explicit HomeOverride(const char* home) {
        if (const char* old = std::getenv("HOME")) old_ = old;
        if (home != nullptr)
            setenv("HOME", home, 1);
        else
            unsetenv("HOME");
    }
    ~HomeOverride() {
        if (old_)
            setenv("HOME", old_->c_str(), 1);
        else
            unsetenv("HOME");
    }
    HomeOverride(const HomeOverride&) = delete;
    HomeOverride& operator=(const HomeOverride&) = delete;

private:
    std::optional<std::string> old_;
};

TEST(DesktopMapHome, MissingHomeFallsBackToRoot) {
    const HomeOverride home(nullptr);
    EXPECT_EQ(nativePath(u"c:\\x", desktopDriveMap())->string(), "/x");
}

TEST(WriteFault, QuotaIs61AndLeavesFileAsBefore) {
    TempDir dir;
    ScriptedPlatform platform(dir.path());
    platform.open(1, logPath, FileMode::Append);
    platform.write(1, before);
    platform.failNext(FileOperation::write, EDQUOT);
    EXPECT_EQ(errorOf([&] { platform.write(1, record); }), err::diskFull);
    EXPECT_EQ(platform.fileBytes(logPath), before);
}

}  // namespace
}  // namespace qadrill::testing
