// What only Windows has: its error table, the read-only attribute, drive
// paths used as they stand, and the native file operations the journal uses.
// POSIX has its own in PosixSystemTest.cpp.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>
#include <sddl.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "platform/RuntimeError.h"
#include "platform/system/ErrorTable.h"
#include "platform/system/SystemFiles.h"
#include "tests/platform/system/LockHolder.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/FileBytes.h"
#include "tests/support/HeadlessPlatform.h"
#include "tests/support/RowName.h"
#include "tests/support/TempDir.h"

namespace qadrill::testing {
namespace {

using qadrill::testing::PrintTo;

using namespace std::chrono_literals;

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
    rowName);

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
    HeadlessPlatform platform(driveMapUnder(dir.path()), 0ms);
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
    HeadlessPlatform platform;
    platform.makeDirectory(folder + u"\\plovenda");
    platform.open(1, folder + u"/plovenda\\\\send_Jos\u00e9.txt", FileMode::Append);
    platform.write(1, "record\r\n");
    platform.close(1);
    EXPECT_EQ(contents(dir.path() / "plovenda" / u8"send_Jos\u00e9.txt"), "record\r\n");
}

class NativeFilesOnWindows : public ::testing::Test {
protected:
    TempDir dir;
    SystemFiles files;
    std::filesystem::path log = dir.path() / "log.txt";
};

TEST_F(NativeFilesOnWindows, LogReadsWritesAtOffsetsAndCutsBack) {
    const auto handle = files.openLog(log);
    EXPECT_EQ(files.appendBytes(handle, "0123456789"), 10U);
    files.writeAt(handle, 2, "ab");
    EXPECT_EQ(files.appendBytes(handle, "xy"), 2U) << "an append goes to the end, wherever the last write was";
    EXPECT_EQ(files.readAt(handle, 1, 4), "1ab4");
    EXPECT_EQ(files.readAt(handle, 10, 100), "xy") << "a short read only at the end";
    files.truncateTo(handle, 3);
    EXPECT_EQ(files.sizeOf(handle), 3U);
    EXPECT_EQ(files.appendBytes(handle, "!"), 1U);
    files.closeHandle(handle);
    EXPECT_EQ(contents(log), "01a!");
}

TEST_F(NativeFilesOnWindows, JournalIsCreatedOnceThenReused) {
    const auto journal = dir.path() / "state" / "0123.journal";
    std::filesystem::create_directories(journal.parent_path());
    bool created = false;
    auto handle = files.openJournal(journal, created);
    EXPECT_TRUE(created);
    files.writeAt(handle, 0, "QADJRNL2");
    files.closeHandle(handle);
    handle = files.openJournal(journal, created);
    EXPECT_FALSE(created);
    EXPECT_EQ(files.readAt(handle, 0, 8), "QADJRNL2");
    files.closeHandle(handle);
}

// One file under two spellings is one file: recovery reuses the command's own
// handle instead of locking the log against itself.
TEST_F(NativeFilesOnWindows, SpellingsOfOneFileShareItsIdentity) {
    std::ofstream(log, std::ios::binary) << "x";
    const auto lower = files.openLog(log);
    const auto upper = files.openLog(dir.path() / "LOG.TXT");
    const auto other = files.openLog(dir.path() / "other.txt");
    EXPECT_EQ(files.identityOf(lower), files.identityOf(upper));
    EXPECT_NE(files.identityOf(lower), files.identityOf(other));
    for (const auto handle : {lower, upper, other}) files.closeHandle(handle);
    std::filesystem::create_directories(dir.path() / "Ann Lee");
    EXPECT_EQ(files.canonicalFolder(dir.path() / "ann lee").filename(), "Ann Lee");
}

// A log's name that is a link or a folder: 75, nothing written.
TEST_F(NativeFilesOnWindows, ReparsePointsAndFoldersAreRefused) {
    const auto target = dir.path() / "thesis.txt";
    std::ofstream(target, std::ios::binary) << "mine";
    std::filesystem::create_directories(dir.path() / "c" / "folder.txt");
    HeadlessPlatform platform(driveMapUnder(dir.path()), 0ms);
    EXPECT_EQ(errorOf([&] { platform.open(1, u"c:\\folder.txt", FileMode::Append); }), 75) << "folder";
    const auto link = dir.path() / "c" / "link.txt";
    if (CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) == FALSE)
        GTEST_SKIP() << "this system makes no symbolic links (error " << GetLastError() << ")";
    const DWORD attributes = GetFileAttributesW(link.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        GTEST_SKIP() << "this system shows the link it made as a plain file, not a reparse point (Wine does)";
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
    HeadlessPlatform platform(driveMapUnder(dir.path()), 0ms);
    platform.open(1, folder + u"\\" + name, FileMode::Append);
    platform.write(1, "record\r\n");
    platform.close(1);
    platform.open(1, folder + u"\\" + name, FileMode::Input);
    EXPECT_EQ(platform.lineInput(1), "record");
    platform.close(1);
}

// Everyone may do everything; in a folder, to everything made in it too.
void letEveryoneWrite(const std::filesystem::path& file) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const wchar_t* rights = std::filesystem::is_directory(file) ? L"D:(A;OICI;FA;;;WD)" : L"D:(A;;FA;;;WD)";
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(rights, SDDL_REVISION_1, &descriptor, nullptr));
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);
    std::wstring name = file.wstring();
    EXPECT_EQ(
        SetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, dacl, nullptr),
        static_cast<DWORD>(ERROR_SUCCESS));
    LocalFree(descriptor);
}

// In a folder every classmate may write, the journal beside the logs is made
// the user's alone.  One that another may write, or that has a second name,
// is left as it stands and not used: the private journal serves instead.
TEST_F(NativeFilesOnWindows, FolderJournalIsUsedOnlyWhileTheUsersAlone) {
    const auto journal = dir.path() / "masterFile_Ann.txt.journal";
    letEveryoneWrite(dir.path());

    const struct Spoiling {
        const char* name;
        std::function<void()> spoil;
        std::function<void()> mend;
    } rows[] = {
        {"a second name",
         [&] { ASSERT_TRUE(CreateHardLinkW((dir.path() / "copy").c_str(), journal.c_str(), nullptr)); },
         [&] { std::filesystem::remove(dir.path() / "copy"); }},
        {"everyone may write", [&] { letEveryoneWrite(journal); }, [&] { std::filesystem::remove(journal); }},
    };
    for (const Spoiling& row : rows) {
        bool created = false;
        const auto handle = files.openFolderJournal(journal, created);
        ASSERT_TRUE(handle.has_value()) << row.name;
        files.writeAt(*handle, 0, "QADJRNL2");
        files.closeHandle(*handle);
        row.spoil();
        EXPECT_FALSE(files.openFolderJournal(journal, created).has_value()) << row.name;
        EXPECT_EQ(contents(journal), "QADJRNL2") << row.name << ": left as it stands";
        row.mend();
    }
}

TEST_F(NativeFilesOnWindows, LockHeldByAnotherProcessIsRefusedUntilReleased) {
    std::ofstream(log, std::ios::binary) << "x";
    const auto handle = files.openLog(log);
    {
        const LockHolder holder(log, LockHolder::untilEnded);
        ASSERT_TRUE(holder.held());
        EXPECT_FALSE(files.tryLock(handle));
    }
    EXPECT_TRUE(files.tryLock(handle));
    files.unlock(handle);
    files.closeHandle(handle);
}

}  // namespace
}  // namespace qadrill::testing
