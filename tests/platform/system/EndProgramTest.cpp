// Ending the program: files closed, output flushed, status 0, nothing else runs.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/platform/TestPlatforms.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDir.h"

namespace qadrill::testing {
namespace {

// Windows has no fork: the death test's child runs this test again from the
// top, so the folder it must use reaches it through the environment.
constexpr char folderVariable[] = "QADRILL_END_PROGRAM_FOLDER";

TEST(EndProgramDeathTest, ClosesFilesFlushesAndExitsWithZeroAtOnce) {
    TempDir dir;
    const char* inherited = std::getenv(folderVariable);
    const std::filesystem::path folder = inherited != nullptr && *inherited != '\0' ? inherited : dir.path();
    static std::string setting;
    setting = std::string(folderVariable) + "=" + folder.string();
    putenv(setting.data());
    const auto captured = folder / "stdout.txt";
    EXPECT_EXIT(
        {
            BarePlatform platform(folder, std::chrono::milliseconds(0));
            std::filesystem::create_directories(folder / "c");
            platform.open(1, u"c:\\log.txt", FileMode::Append);
            platform.write(1, "kept");
            platform.announceCloseAll = true;
            // An exit handler would change the status: endProgram must not run it.
            std::atexit([] { std::_Exit(7); });
            if (std::freopen(captured.string().c_str(), "wb", stdout) == nullptr) std::_Exit(8);
            std::fputs("buffered output", stdout);
            platform.endProgram();
        },
        ::testing::ExitedWithCode(0), "closeAll");
    setting = std::string(folderVariable) + "=";
    putenv(setting.data());
    EXPECT_EQ(contents(captured), "buffered output");
    EXPECT_EQ(contents(folder / "c" / "log.txt"), "kept");
}

}  // namespace
}  // namespace qadrill::testing
