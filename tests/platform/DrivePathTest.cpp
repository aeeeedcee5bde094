// Drive-letter paths to native ones.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/DrivePath.h"
#include "tests/support/RowName.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempDir.h"

namespace qadrill::testing {
namespace {

using qadrill::testing::PrintTo;

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

struct PathRow {
    const char* name;
    std::u16string drillPath;
    std::optional<std::string> native;  // nullopt: not a drive path
};

class DesktopMap : public ::testing::TestWithParam<PathRow> {};

TEST_P(DesktopMap, MapsDrivePaths) {
    const HomeOverride home("/home/ann");
    const PathRow& row = GetParam();
    const auto native = nativePath(row.drillPath, desktopDriveMap());
    if (!row.native) {
        EXPECT_EQ(native, std::nullopt);
        return;
    }
    ASSERT_TRUE(native.has_value());
    EXPECT_EQ(native->string(), *row.native);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DesktopMap,
    ::testing::Values(
        PathRow{"drive_c_is_home", u"c:\\plovenda\\masterFile_Ann.txt", "/home/ann/plovenda/masterFile_Ann.txt"},
        PathRow{"upper_case_drive", u"C:\\plovenda", "/home/ann/plovenda"},
        PathRow{"other_drive_under_mnt",
                u"i:\\bkp_000416\\My Documents\\distance students\\interactive problems\\lb1\\send_1207Ann.txt",
                "/mnt/i/bkp_000416/My Documents/distance students/interactive problems/lb1/send_1207Ann.txt"},
        PathRow{"upper_other_drive_lowered", u"Q:\\x", "/mnt/q/x"},
        PathRow{"doubled_and_trailing_separators", u"c:\\\\a\\\\b\\", "/home/ann/a/b"},
        PathRow{"forward_slashes_separate_too", u"c:/a/b.txt", "/home/ann/a/b.txt"},
        PathRow{"bare_drive", u"c:", "/home/ann"},
        PathRow{"utf8_name", u"c:\\plovenda\\notes_Jos\u00e9_\u00c5s\u00e9.txt",
                "/home/ann/plovenda/notes_Jos\xc3\xa9_\xc3\x85s\xc3\xa9.txt"},
        PathRow{"no_drive_letter", u"plovenda\\x.txt", std::nullopt},
        PathRow{"unc_share", u"\\\\server\\share", std::nullopt}, PathRow{"digit_is_no_drive", u"1:\\x", std::nullopt},
        PathRow{"empty", u"", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DesktopMapHome, MissingHomeFallsBackToRoot) {
    const HomeOverride home(nullptr);
    EXPECT_EQ(nativePath(u"c:\\x", desktopDriveMap())->string(), "/x");
}

TEST(InjectedMap, PlatformFilesLandWhereTheMapSays) {
    TempDir dir;
    ScriptedPlatform platform(dir.path());
    std::filesystem::create_directories(dir.path() / "i" / "lb1");
    platform.open(1, u"I:\\lb1\\send_Jos\u00e9.txt", FileMode::Append);
    platform.write(1, "x");
    platform.makeDirectory(u"c:\\plovenda");
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "i" / "lb1" / "send_Jos\xc3\xa9.txt"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "c" / "plovenda"));
}

}  // namespace
}  // namespace qadrill::testing
