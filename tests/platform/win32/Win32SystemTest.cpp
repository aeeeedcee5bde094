// What only Windows has: its error table, the read-only attribute, drive
// paths used as they stand, and the native file operations the journal uses.
// POSIX has its own in PosixSystemTest.cpp.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/RuntimeError.h"
#include "platform/system/ErrorTable.h"
#include "platform/win32/Win32Platform.h"
#include "tests/platform/system/LockHolder.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/RowName.h"
#include "tests/support/TempDir.h"

namespace qadrill::testing {
namespace {

using qadrill::testing::PrintTo;

using namespace std::chrono_literals;

std::string contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct TableRow {
    const char* name;
    DWORD error;
    FileOperation operation;
    FileMode mode;
    int expected;
};

class Win32ErrorTable : public ::testing::TestWithParam<TableRow> {};

TEST_P(Win32ErrorTable, MapsLastErrorForOperation) {
    const TableRow& row = GetParam();
    EXPECT_EQ(runtimeErrorFor(static_cast<int>(row.error), row.operation, row.mode), row.expected);
}

constexpr auto openOp = FileOperation::open;
constexpr auto writeOp = FileOperation::write;

// The failures a test cannot bring about for real under Wine.
INSTANTIATE_TEST_SUITE_P(
    Rows, Win32ErrorTable,
    ::testing::Values(TableRow{"sharing_violation", ERROR_SHARING_VIOLATION, openOp, FileMode::Append, 70},
                      TableRow{"lock_violation", ERROR_LOCK_VIOLATION, writeOp, FileMode::Append, 70},
                      TableRow{"disk_full", ERROR_DISK_FULL, writeOp, FileMode::Append, 61},
                      TableRow{"handle_disk_full", ERROR_HANDLE_DISK_FULL, writeOp, FileMode::Append, 61},
                      TableRow{"too_many_open_files", ERROR_TOO_MANY_OPEN_FILES, openOp, FileMode::Input, 67},
                      TableRow{"missing_drive", ERROR_INVALID_DRIVE, openOp, FileMode::Append, 76},
                      TableRow{"missing_network_path", ERROR_BAD_NETPATH, openOp, FileMode::Append, 76},
                      TableRow{"write_protected", ERROR_WRITE_PROTECT, writeOp, FileMode::Append, 75},
                      TableRow{"missing_file_on_read", ERROR_FILE_NOT_FOUND, openOp, FileMode::Input, 53},
                      TableRow{"name_not_creatable", ERROR_FILE_NOT_FOUND, openOp, FileMode::Append, 52},
                      TableRow{"bad_name", ERROR_INVALID_NAME, openOp, FileMode::Output, 52},
                      TableRow{"name_too_long", ERROR_FILENAME_EXCED_RANGE, openOp, FileMode::Append, 52},
                      TableRow{"folder_exists", ERROR_ALREADY_EXISTS, FileOperation::makeDirectory, FileMode::Append,
                               75},
                      TableRow{"device_error", ERROR_IO_DEVICE, FileOperation::fsync, FileMode::Append, 57}),
    [](const auto& info) { return std::string(info.param.name); });

// The host platform with its native file operations in reach of the tests.
class OpenPlatform final : public Win32Platform {
public:
    using Win32Platform::appendBytes;
    using Win32Platform::canonicalFolder;
    using Win32Platform::closeHandle;
    using Win32Platform::identityOf;
    using Win32Platform::openJournal;
    using Win32Platform::openLog;
    using Win32Platform::readAt;
    using Win32Platform::sizeOf;
    using Win32Platform::truncateTo;
    using Win32Platform::tryLock;
    using Win32Platform::unlock;
    using Win32Platform::Win32Platform;
    using Win32Platform::writeAt;

    [[nodiscard]] std::u16string inputBox(const std::u16string&) override { return {}; }
    void messageBox(const std::u16string&) override {}
    void setClipboardPicture(const Picture&) override {}
    [[nodiscard]] std::optional<Picture> clipboardPicture() override { return std::nullopt; }
    void beep() override {}
};

TEST(ReadOnlyAttribute, WritingAReadOnlyLogIs75AndKeepsIt) {
    TempDir dir;
    const auto log = dir.path() / "c" / "log.txt";
    std::filesystem::create_directories(log.parent_path());
    std::ofstream(log, std::ios::binary) << "kept\r\n";
    std::filesystem::permissions(log,
                                 std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    HANDLE probe = CreateFileW(log.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        GTEST_SKIP() << "this system lets the user write a read-only file (Wine run as root does)";
    }
    OpenPlatform platform(driveMapUnder(dir.path()), 0ms);
    EXPECT_EQ(errorOf([&] { platform.open(1, u"c:\\log.txt", FileMode::Append); }), 75) << "append";
    EXPECT_EQ(errorOf([&] { platform.open(1, u"c:\\log.txt", FileMode::Output); }), 75) << "output";
    platform.open(1, u"c:\\log.txt", FileMode::Input);
    EXPECT_EQ(platform.lineInput(1), "kept");
    EXPECT_EQ(contents(log), "kept\r\n");
}

// No drive map at all: "c:\...\x.txt" is the file itself.
TEST(NativeDrives, DrivePathIsUsedAsItStands) {
    TempDir dir;
    const std::u16string folder = std::filesystem::absolute(dir.path()).u16string();
    ASSERT_EQ(folder.substr(1, 2), u":\\") << "the temporary folder should be on a drive";
    OpenPlatform platform;
    platform.makeDirectory(folder + u"\\plovenda");
    platform.open(1, folder + u"/plovenda\\\\send_Jos\u00e9.txt", FileMode::Append);
    platform.write(1, "record\r\n");
    platform.close(1);
    EXPECT_EQ(contents(dir.path() / "plovenda" / u8"send_Jos\u00e9.txt"), "record\r\n");
}

class NativeFilesOnWindows : public ::testing::Test {
protected:
    TempDir dir;
    OpenPlatform platform{driveMapUnder(dir.path()), 0ms};
    std::filesystem::path log = dir.path() / "log.txt";
};

TEST_F(NativeFilesOnWindows, LogReadsWritesAtOffsetsAndCutsBack) {
    const auto handle = platform.openLog(log);
    EXPECT_EQ(platform.appendBytes(handle, "0123456789"), 10U);
    platform.writeAt(handle, 2, "ab");
    EXPECT_EQ(platform.appendBytes(handle, "xy"), 2U) << "an append goes to the end, wherever the last write was";
    EXPECT_EQ(platform.readAt(handle, 1, 4), "1ab4");
    EXPECT_EQ(platform.readAt(handle, 10, 100), "xy") << "a short read only at the end";
    platform.truncateTo(handle, 3);
    EXPECT_EQ(platform.sizeOf(handle), 3U);
    EXPECT_EQ(platform.appendBytes(handle, "!"), 1U);
    platform.closeHandle(handle);
    EXPECT_EQ(contents(log), "01a!");
}

TEST_F(NativeFilesOnWindows, JournalIsCreatedOnceThenReused) {
    const auto journal = dir.path() / "state" / "0123.journal";
    std::filesystem::create_directories(journal.parent_path());
    bool created = false;
    auto handle = platform.openJournal(journal, created);
    EXPECT_TRUE(created);
    platform.writeAt(handle, 0, "QADJRNL2");
    platform.closeHandle(handle);
    handle = platform.openJournal(journal, created);
    EXPECT_FALSE(created);
    EXPECT_EQ(platform.readAt(handle, 0, 8), "QADJRNL2");
    platform.closeHandle(handle);
}

// One file under two spellings is one file: recovery reuses the command's own
// handle instead of locking the log against itself.
TEST_F(NativeFilesOnWindows, SpellingsOfOneFileShareItsIdentity) {
    std::ofstream(log, std::ios::binary) << "x";
    const auto lower = platform.openLog(log);
    const auto upper = platform.openLog(dir.path() / "LOG.TXT");
    const auto other = platform.openLog(dir.path() / "other.txt");
    EXPECT_EQ(platform.identityOf(lower), platform.identityOf(upper));
    EXPECT_NE(platform.identityOf(lower), platform.identityOf(other));
    for (const auto handle : {lower, upper, other}) platform.closeHandle(handle);
    std::filesystem::create_directories(dir.path() / "Ann Lee");
    EXPECT_EQ(platform.canonicalFolder(dir.path() / "ann lee").filename(), "Ann Lee");
}

// A log's name that is a link, a junction or a folder: 75, nothing written.
TEST_F(NativeFilesOnWindows, ReparsePointsAndFoldersAreRefused) {
    const auto target = dir.path() / "thesis.txt";
    std::ofstream(target, std::ios::binary) << "mine";
    std::filesystem::create_directories(dir.path() / "c" / "folder.txt");
    EXPECT_EQ(errorOf([&] { platform.open(1, u"c:\\folder.txt", FileMode::Append); }), 75) << "folder";
    const auto link = dir.path() / "c" / "link.txt";
    if (CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) == FALSE)
        GTEST_SKIP() << "this system makes no symbolic links (error " << GetLastError() << ")";
    EXPECT_EQ(errorOf([&] { platform.open(1, u"c:\\link.txt", FileMode::Append); }), 75) << "link";
    EXPECT_EQ(contents(target), "mine");
}

// A 240-byte name under the network folder's depth passes MAX_PATH.
TEST_F(NativeFilesOnWindows, LongNamesDeepInAFolderWork) {
    const std::u16string folder = u"c:\\bkp_000416\\My Documents\\distance students\\interactive problems\\lb1";
    std::filesystem::create_directories(dir.path() / "c" / "bkp_000416" / "My Documents" / "distance students" /
                                        "interactive problems" / "lb1");
    const std::u16string name = u"masterFile_" + std::u16string(225, u'a') + u".txt";
    ASSERT_EQ(name.size(), 240U);
    platform.open(1, folder + u"\\" + name, FileMode::Append);
    platform.write(1, "record\r\n");
    platform.close(1);
    platform.open(1, folder + u"\\" + name, FileMode::Input);
    EXPECT_EQ(platform.lineInput(1), "record");
    platform.close(1);
}

TEST_F(NativeFilesOnWindows, LockHeldByAnotherProcessIsRefusedUntilReleased) {
    std::ofstream(log, std::ios::binary) << "x";
    const auto handle = platform.openLog(log);
    {
        const LockHolder holder(log, 5s);
        ASSERT_TRUE(holder.held());
        EXPECT_FALSE(platform.tryLock(handle));
    }
    EXPECT_TRUE(platform.tryLock(handle));
    platform.unlock(handle);
    platform.closeHandle(handle);
}

}  // namespace
}  // namespace qadrill::testing
