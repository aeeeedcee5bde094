// A log the student may not write, for real: file modes only stop a process
// that is not root, so the command runs in a child that gives up root first.

#include <fstream>
#include <string>

#include "logbook/ResponseRecords.h"
#include "platform/RuntimeError.h"
#include "tests/logbook/RecordFixture.h"
#include "tests/support/ChildProcess.h"

namespace qadrill::testing {
namespace {

constexpr int unexpected = 200;

// In the child: the error number as exit status, or `unexpected` when the
// command succeeded or touched the boxes or the state.
int recordAsChild(RecordSetup& setup) {
    if (!dropRoot()) return childSetupFailed;
    setup.view.answer = u"my answer";
    const DrillState before = setup.state;
    int status = unexpected;
    try {
        cmd_enter_response_Click(setup.state, setup.platform, setup.view);
    } catch (const RuntimeError& error) {
        const bool kept = setup.view.answer == u"my answer" && setup.view.question == questionLine &&
                          setup.state.promptDue == before.promptDue && setup.state.displayText == before.displayText &&
                          setup.state.cumulativeText == before.cumulativeText;
        status = kept ? error.number() : unexpected;
    }
    return status;
}

TEST(ReadOnlyLog, RealPermissionDenialIs75AndWritesNothing) {
    RecordSetup setup;
    const std::filesystem::path folder = setup.dir.path() / "c" / "plovenda";
    for (const auto& path : {setup.dir.path(), setup.dir.path() / "c", folder})
        std::filesystem::permissions(path, std::filesystem::perms(0755));
    const auto master = setup.platform.nativePathOf(setup.state.masterFile);
    const auto send = setup.platform.nativePathOf(setup.state.sendFile);
    std::ofstream(master, std::ios::binary) << "earlier\r\n";
    std::ofstream(send, std::ios::binary) << "earlier\r\n";
    std::filesystem::permissions(master, std::filesystem::perms(0666));
    std::filesystem::permissions(send, std::filesystem::perms(0444));

    const int status = runInChild([&] { return recordAsChild(setup); });
    if (status == childSetupFailed) GTEST_SKIP() << "cannot give up root here";
    EXPECT_EQ(status, err::accessDenied);
    EXPECT_EQ(setup.platform.fileBytes(setup.state.masterFile), "earlier\r\n");
    EXPECT_EQ(setup.platform.fileBytes(setup.state.sendFile), "earlier\r\n");
}

// A data folder the student may not write: the error names the file it could
// not create and gives the system's reason, for the report's detail.
TEST(ReadOnlyLog, ReadOnlyFolderNamesTheFileAndTheSystemsReason) {
    RecordSetup setup;
    const std::filesystem::path folder = setup.dir.path() / "c" / "plovenda";
    for (const auto& path : {setup.dir.path(), setup.dir.path() / "c"})
        std::filesystem::permissions(path, std::filesystem::perms(0755));
    std::filesystem::permissions(folder, std::filesystem::perms(0555));
    int channel[2];
    ASSERT_EQ(pipe(channel), 0);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (!dropRoot()) _exit(unexpected + 1);
        std::string found = "no error";
        try {
            setup.platform.open(3, setup.state.notesFile, FileMode::Append);
        } catch (const RuntimeError& error) {
            found = std::to_string(error.number()) + " " + error.detail();
        }
        const bool sent = write(channel[1], found.data(), found.size()) == static_cast<ssize_t>(found.size());
        _exit(sent ? 0 : unexpected);
    }
    close(channel[1]);
    std::string found;
    char buffer[512];
    for (ssize_t n = 0; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
        found.append(buffer, static_cast<std::size_t>(n));
    close(channel[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    std::filesystem::permissions(folder, std::filesystem::perms(0755));
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == unexpected + 1) GTEST_SKIP() << "cannot give up root here";
    EXPECT_EQ(found, "75 " + (folder / "notes_Ann_Lee_Smith.txt").string() + ": Permission denied");
}

}  // namespace
}  // namespace qadrill::testing
