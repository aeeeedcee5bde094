// Which run-time error number each real file failure gives, on any system.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/RuntimeError.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/FileBytes.h"
#include "tests/support/RowName.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempDir.h"

namespace qadrill::testing {
namespace {

using qadrill::testing::PrintTo;

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

// A missing or wrong folder on the way is named, not the file behind it.
TEST_F(FileErrors, DetailNamesWhatIsAtFault) {
    platform.makeDirectory(u"c:\\data");
    std::ofstream(dir.path() / "c" / "data" / "plain.txt") << "x";
    const struct {
        std::u16string path;
        FileMode mode;
        std::filesystem::path named;  // under the platform's root
    } rows[] = {
        {u"c:\\data\\missing.txt", FileMode::Input, "c/data/missing.txt"},
        {u"c:\\nowhere\\log.txt", FileMode::Append, "c/nowhere"},
        {u"i:\\lb1\\deeper\\log.txt", FileMode::Output, "i"},
        {u"c:\\data\\plain.txt\\log.txt", FileMode::Append, "c/data/plain.txt"},
    };
    for (const auto& row : rows) {
        try {
            platform.open(1, row.path, row.mode);
            ADD_FAILURE() << (dir.path() / row.named) << " opened";
        } catch (const RuntimeError& error) {
            // Compared by component: either slash separates on Windows.
            EXPECT_TRUE(std::filesystem::path(error.path()) == dir.path() / row.named)
                << error.detail() << " vs " << (dir.path() / row.named).string();
            EXPECT_FALSE(error.reason().empty()) << error.detail();
        }
    }
}

// A failure in the journal's private state folder names that folder, not the
// logs it guards: that is where the student must look.  (The private folder
// serves when the logs' folder cannot hold the journal: here a folder
// stands at its name.)
TEST_F(FileErrors, StateFolderFailureNamesTheStateFolder) {
    std::ofstream(dir.path() / "state") << "a file where the state folder belongs";
    std::filesystem::create_directories(dir.path() / "c" / "log.txt.journal");
    platform.open(1, u"c:\\log.txt", FileMode::Append);
    const RecordAppend record{1, "a record\r\n"};
    const std::string stateFolder = (dir.path() / "state").string();
    try {
        platform.appendRecords({&record, 1});
        ADD_FAILURE() << "the record went out without a journal";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.path().substr(0, stateFolder.size()), stateFolder) << error.detail();
    }
    EXPECT_EQ(contents(dir.path() / "c" / "log.txt"), "") << "a record went out without its journal";
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

}  // namespace
}  // namespace qadrill::testing
