// The scripted platform other tests rely on: its queues and its faults.
#include <gtest/gtest.h>

#include <cerrno>
#include <stdexcept>

#include "platform/RuntimeError.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempDir.h"

namespace qadrill::testing {
namespace {

class Scripted : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedPlatform platform{dir.path()};
    int openError(int number) {
        return errorOf([&] { platform.open(number, u"c:\\log.txt", FileMode::Append); });
    }
};

TEST_F(Scripted, AnswersInOrderCancelIsEmptyAndRunningOutThrows) {
    platform.answers = {u"1", std::nullopt};
    EXPECT_EQ(platform.inputBox(u"first"), u"1");
    EXPECT_EQ(platform.inputBox(u"second"), u"");
    EXPECT_THROW((void)platform.inputBox(u"third"), std::logic_error);
    EXPECT_EQ(platform.prompts, (std::vector<std::u16string>{u"first", u"second", u"third"}));
}

TEST_F(Scripted, QueuedRandomValuesFirstThenTheSeededSequence) {
    ScriptedPlatform twin(dir.path());
    platform.randomize(5.0F);
    twin.randomize(5.0F);
    platform.randomValues = {0.25F};
    EXPECT_EQ(platform.rnd(), 0.25F);
    EXPECT_EQ(platform.rnd(), twin.rnd());
    EXPECT_EQ(platform.seeds, std::vector<float>{5.0F});
}

TEST_F(Scripted, FaultsSkipThenHitInOrder) {
    platform.failNext(FileOperation::open, EACCES, 1);
    platform.failNext(FileOperation::open, EMFILE);
    EXPECT_EQ(openError(1), 0) << "skipped";
    EXPECT_EQ(openError(2), 75);
    EXPECT_EQ(openError(3), 67);
    EXPECT_EQ(platform.pendingFaults(), 0U);
    EXPECT_EQ(openError(4), 0);
    EXPECT_FALSE(platform.isOpen(2));
    EXPECT_FALSE(platform.isOpen(3));
}

TEST_F(Scripted, EndProgramClosesFilesAndThrows) {
    platform.open(1, u"c:\\log.txt", FileMode::Append);
    EXPECT_THROW(platform.endProgram(), ProgramEnded);
    EXPECT_TRUE(platform.ended);
    EXPECT_FALSE(platform.isOpen(1));
}

TEST_F(Scripted, LockedClipboardKeepsItsPicture) {
    const Picture small{1, 1, {0xFF0000FFU}};
    platform.setClipboardPicture(small);
    platform.clipboardLocked = true;
    EXPECT_THROW(platform.setClipboardPicture(Picture{2, 1, {0U, 0U}}), RuntimeError);
    EXPECT_THROW((void)platform.clipboardPicture(), RuntimeError);
    platform.clipboardLocked = false;
    ASSERT_TRUE(platform.clipboardPicture().has_value());
    EXPECT_EQ(platform.clipboardPicture()->width, 1);
}

}  // namespace
}  // namespace qadrill::testing
