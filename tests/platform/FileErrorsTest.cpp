// Which run-time error number each file failure gives, from the table and
// from real failures on disk.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/ErrorTable.h"
#include "platform/RuntimeError.h"
#include "tests/platform/TestPlatforms.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/RowName.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempDir.h"

namespace qadrill::testing {
namespace {

using qadrill::testing::PrintTo;

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
                         [](const auto& info) { return std::string(info.param.name); });

class FileErrors : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedPlatform platform{dir.path()};
};

TEST_F(FileErrors, RealFailuresGiveTheirNumbers) {
    platform.makeDirectory(u"c:\\data");
    std::ofstream(dir.path() / "c" / "data" / "plain.txt") << "x";
    const std::string longName(300, 'n');
    EXPECT_EQ(errorOf([&] { platform.open(1, u"c:\\data\\missing.txt", FileMode::Input); }), 53) << "missing file";
    EXPECT_EQ(errorOf([&] { platform.open(1, u"c:\\nowhere\\log.txt", FileMode::Append); }), 76) << "missing folder";
    EXPECT_EQ(errorOf([&] { platform.open(1, u"i:\\lb1\\log.txt", FileMode::Output); }), 76) << "missing drive";
    EXPECT_EQ(errorOf([&] { platform.open(1, u"c:\\data\\plain.txt\\x", FileMode::Append); }), 76) << "file as folder";
    EXPECT_EQ(errorOf([&] { platform.open(1, u"c:\\data", FileMode::Input); }), 75) << "folder as file";
    EXPECT_EQ(errorOf([&] {
                  platform.open(1, u"c:\\data\\" + std::u16string(longName.begin(), longName.end()), FileMode::Append);
              }),
              52);
    EXPECT_EQ(errorOf([&] { platform.open(1, u"data\\log.txt", FileMode::Append); }), 52) << "no drive letter";
    EXPECT_EQ(errorOf([&] { platform.makeDirectory(u"c:\\data"); }), 75) << "directory exists";
    EXPECT_EQ(errorOf([&] { platform.makeDirectory(u"c:\\nowhere\\deeper"); }), 76) << "missing parent";
    EXPECT_FALSE(platform.isOpen(1));
}

TEST_F(FileErrors, FileNumbersAreCheckedBeforeUse) {
    platform.open(1, u"c:\\log.txt", FileMode::Append);
    EXPECT_EQ(errorOf([&] { platform.open(1, u"c:\\other.txt", FileMode::Append); }), 55) << "number in use";
    EXPECT_EQ(errorOf([&] { platform.open(0, u"c:\\other.txt", FileMode::Append); }), 52) << "number 0";
    EXPECT_EQ(errorOf([&] { platform.open(256, u"c:\\other.txt", FileMode::Append); }), 52) << "number 256";
    EXPECT_EQ(errorOf([&] { platform.write(2, "x"); }), 52) << "write, not open";
    EXPECT_EQ(errorOf([&] { (void)platform.lineInput(2); }), 52) << "read, not open";
    EXPECT_EQ(errorOf([&] { (void)platform.endOfFile(-1); }), 52) << "eof, out of range";
    EXPECT_EQ(errorOf([&] { (void)platform.lineInput(1); }), 54) << "read from a file opened for writing";
    platform.open(255, u"c:\\log.txt", FileMode::Input);
    EXPECT_EQ(errorOf([&] { platform.write(255, "x"); }), 54) << "write to a file opened for reading";
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "c" / "other.txt"));
}

TEST_F(FileErrors, ClosingIsHarmlessAndFreesTheNumber) {
    platform.close(7);
    platform.close(0);
    platform.close(999);
    platform.open(7, u"c:\\log.txt", FileMode::Append);
    platform.open(8, u"c:\\log.txt", FileMode::Append);
    platform.close(7);
    platform.close(7);
    EXPECT_FALSE(platform.isOpen(7));
    EXPECT_TRUE(platform.isOpen(8));
    platform.open(7, u"c:\\log.txt", FileMode::Input);
    platform.closeAll();
    EXPECT_FALSE(platform.isOpen(7));
    EXPECT_FALSE(platform.isOpen(8));
}

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
        if (!dropToNobody()) return childSetupFailed;
        BarePlatform platform(dir.path(), std::chrono::milliseconds(0));
        return errorOf([&] { GetParam().action(platform); });
    });
    if (code == childSetupFailed) GTEST_SKIP() << "cannot drop root privileges here";
    EXPECT_EQ(code, 75);
    std::ifstream kept(c / "locked" / "log.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "kept\r\n");
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
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileLimits, TooManyOpenFilesGives67) {
    TempDir dir;
    const int code = runInChild([&] {
        BarePlatform platform(dir.path(), std::chrono::milliseconds(0));
        std::filesystem::create_directories(dir.path() / "c");
        const rlimit few{32, 32};
        if (setrlimit(RLIMIT_NOFILE, &few) != 0) return childSetupFailed;
        while (dup(STDERR_FILENO) >= 0) {
        }
        return errorOf([&] { platform.open(1, u"c:\\log.txt", FileMode::Append); });
    });
    EXPECT_EQ(code, 67);
}

}  // namespace
}  // namespace qadrill::testing
