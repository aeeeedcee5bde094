// Ending the program: files closed, output flushed, status 0, nothing else runs.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/platform/TestPlatforms.h"
#include "tests/support/TempDir.h"

namespace qadrill::testing {
namespace {

TEST(EndProgramDeathTest, ClosesFilesFlushesAndExitsWithZeroAtOnce) {
    TempDir dir;
    const auto captured = dir.path() / "stdout.txt";
    EXPECT_EXIT(
        {
            BarePlatform platform(dir.path(), std::chrono::milliseconds(0));
            std::filesystem::create_directories(dir.path() / "c");
            platform.open(1, u"c:\\log.txt", FileMode::Append);
            platform.write(1, "kept");
            platform.announceCloseAll = true;
            // An exit handler would change the status: endProgram must not run it.
            std::atexit([] { std::_Exit(7); });
            if (std::freopen(captured.c_str(), "w", stdout) == nullptr) std::_Exit(8);
            std::fputs("buffered output", stdout);
            platform.endProgram();
        },
        ::testing::ExitedWithCode(0), "closeAll");
    std::ifstream out(captured);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(out), {}), "buffered output");
    std::ifstream log(dir.path() / "c" / "log.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(log), {}), "kept");
}

}  // namespace
}  // namespace qadrill::testing
