// Drive-letter paths to native ones.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/system/DrivePath.h"
#include "tests/platform/TestPlatforms.h"
#include "tests/support/RowName.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempDir.h"

namespace qadrill::testing {
namespace {

using qadrill::testing::PrintTo;

// The native path on POSIX ("~" for the home directory) and on Windows, where
// a drive path is used as it stands; nullopt: not a drive path.
struct PathRow {
    const char* name;
    std::u16string drillPath;
    std::optional<std::string> posix;
    std::optional<std::u16string> windows;
};

class DesktopMap : public ::testing::TestWithParam<PathRow> {};

TEST_P(DesktopMap, MapsDrivePaths) {
    const PathRow& row = GetParam();
    const auto native = nativePath(row.drillPath, desktopDriveMap());
    if (!row.posix) {
        EXPECT_EQ(native, std::nullopt);
        return;
    }
    ASSERT_TRUE(native.has_value());
    if (windowsPaths) {
        EXPECT_EQ(native->u16string(), *row.windows);
        return;
    }
    const char* home = std::getenv("HOME");
    std::string expected = *row.posix;
    if (expected.starts_with("~")) expected.replace(0, 1, home != nullptr && *home != '\0' ? home : "/");
    EXPECT_EQ(native->string(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DesktopMap,
    ::testing::Values(
        PathRow{"drive_c_is_home", u"c:\\plovenda\\masterFile_Ann.txt", "~/plovenda/masterFile_Ann.txt",
                u"c:\\plovenda\\masterFile_Ann.txt"},
        PathRow{"upper_case_drive", u"C:\\plovenda", "~/plovenda", u"c:\\plovenda"},
        PathRow{"other_drive_under_mnt",
                u"i:\\bkp_000416\\My Documents\\distance students\\interactive problems\\lb1\\send_1207Ann.txt",
                "/mnt/i/bkp_000416/My Documents/distance students/interactive problems/lb1/send_1207Ann.txt",
                u"i:\\bkp_000416\\My Documents\\distance students\\interactive problems\\lb1\\send_1207Ann.txt"},
        PathRow{"upper_other_drive_lowered", u"Q:\\x", "/mnt/q/x", u"q:\\x"},
        PathRow{"doubled_and_trailing_separators", u"c:\\\\a\\\\b\\", "~/a/b", u"c:\\a\\b"},
        PathRow{"forward_slashes_separate_too", u"c:/a/b.txt", "~/a/b.txt", u"c:\\a\\b.txt"},
        PathRow{"bare_drive", u"c:", "~", u"c:\\"},
        PathRow{"utf8_name", u"c:\\plovenda\\notes_Jos\u00e9_\u00c5s\u00e9.txt",
                "~/plovenda/notes_Jos\xc3\xa9_\xc3\x85s\xc3\xa9.txt",
                u"c:\\plovenda\\notes_Jos\u00e9_\u00c5s\u00e9.txt"},
        PathRow{"no_drive_letter", u"plovenda\\x.txt", std::nullopt, std::nullopt},
        PathRow{"unc_share", u"\\\\server\\share", std::nullopt, std::nullopt},
        PathRow{"digit_is_no_drive", u"1:\\x", std::nullopt, std::nullopt},
        PathRow{"empty", u"", std::nullopt, std::nullopt}),
    rowName);

TEST(InjectedMap, PlatformFilesLandWhereTheMapSays) {
    TempDir dir;
    ScriptedPlatform platform(dir.path());
    std::filesystem::create_directories(dir.path() / "i" / "lb1");
    platform.open(1, u"I:\\lb1\\send_Jos\u00e9.txt", FileMode::Append);
    platform.write(1, "x");
    platform.makeDirectory(u"c:\\plovenda");
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "i" / "lb1" / u8"send_Jos\u00e9.txt"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "c" / "plovenda"));
}

}  // namespace
}  // namespace qadrill::testing
