// Opening the assignment: the title search, the range check and the header
// block in both logs, byte for byte; what is (not) written when it fails.

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <sstream>

#include "drill/AssignmentOpening.h"
#include "drill/Startup.h"
#include "tests/support/FakeView.h"
#include "tests/support/RowName.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempDir.h"

namespace qadrill {
namespace {

using qadrill::testing::PrintTo;

using testing::ProgramEnded;

std::string golden(const char* name) {
    std::ifstream in(std::string(GOLDEN_DIR) + "/" + name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

const std::u16string master = u"c:\\plovenda\\masterFile_Ann_Lee_Smith.txt";
const std::u16string send = u"c:\\plovenda\\send_1207Ann_Lee_Smith.txt";

struct Opening : ::testing::Test {
    testing::TempDir dir;
    testing::ScriptedPlatform platform{dir.path()};
    testing::FakeView view;
    DrillState state;

    // Start-up for Ann Lee Smith with a code line fixed by the queued draws:
    // code number 19, first pass "N" then "v", every later pass one 0xBA.
    void startUp(const std::u16string& firstAnswer, const std::u16string& assignment,
                 const std::u16string& name = u"Ann Lee Smith", const std::u16string& initials = u"als") {
        platform.answers = {firstAnswer, name, initials, assignment};
        platform.randomValues = {0.05F};
        initDrill(state, platform, view);
        platform.randomValues.insert(platform.randomValues.end(), {0.05F, 0.25F, 0.0F});
        for (int pass = 2; pass <= 19; ++pass) platform.randomValues.insert(platform.randomValues.end(), {0.5F, 0.5F});
    }

    void expectEndsWithSubscriptReport() {
        EXPECT_THROW(openAssignment(state, platform), ProgramEnded);
        ASSERT_EQ(platform.messages.size(), 1U);
        EXPECT_TRUE(platform.messages[0].starts_with(u"You have probably not entered a valid assignment number."));
    }
};

TEST_F(Opening, WritesTheHeaderBlockToBothLogsByteForByte) {
    startUp(u"1", u"1");
    openAssignment(state, platform);

    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(state.lineIndex, 1);
    EXPECT_EQ(state.questionBank.at(state.lineIndex), u"001.  Day 9 quiz");
    EXPECT_FALSE(state.startQuestion.has_value());
    EXPECT_EQ(platform.fileBytes(master), golden("header_master.txt"));
    EXPECT_EQ(platform.fileBytes(send), golden("header_send.txt"));
    EXPECT_FALSE(platform.fileBytes(u"c:\\plovenda\\notes_Ann_Lee_Smith.txt")) << "notes log untouched";
    // No file is left open: both numbers can be opened again.
    platform.open(1, master, FileMode::Input);
    platform.open(2, send, FileMode::Input);
    platform.closeAll();
}

TEST_F(Opening, SecondRunAppendsAndBothLogsShareOneCodeLine) {
    startUp(u"1", u"1");
    openAssignment(state, platform);
    DrillState again;
    platform.answers = {u"1", u"Ann Lee Smith", u"als", u"1"};
    initDrill(again, platform, view);  // the seeded generator this time
    openAssignment(again, platform);

    const auto masterBytes = *platform.fileBytes(master);
    const auto sendBytes = *platform.fileBytes(send);
    ASSERT_TRUE(masterBytes.starts_with(golden("header_master.txt")));
    ASSERT_TRUE(sendBytes.starts_with(golden("header_send.txt")));
    const auto secondMaster = masterBytes.substr(golden("header_master.txt").size());
    const auto secondSend = sendBytes.substr(golden("header_send.txt").size());
    const auto codeLine = secondMaster.substr(0, secondMaster.find("\r\n"));
    EXPECT_GE(codeLine.size(), 19U);
    EXPECT_TRUE(secondSend.starts_with(codeLine + "\r\n"));
}

TEST_F(Opening, HeaderContinuesASendLogLineLeftOpenByANotesRecord) {
    startUp(u"1", u"1");
    std::filesystem::create_directories(dir.path() / "c" / "plovenda");
    std::ofstream(dir.path() / "c" / "plovenda" / "send_1207Ann_Lee_Smith.txt", std::ios::binary)
        << std::string(49, '.') << std::string(7, ' ');
    openAssignment(state, platform);
    EXPECT_EQ(platform.fileBytes(send), std::string(49, '.') + std::string(7, ' ') + golden("header_send.txt"));
}

// A name pasted with its line breaks must not add lines to the header, where
// one could pass for a response line.
TEST_F(Opening, SingleLineFieldsWriteLineBreaksAsReferences) {
    const std::u16string name = u"Ann\r\nRESPONSE -->  \nSmith\r";
    startUp(u"1", u"1", name, u"a\r\nls");
    openAssignment(state, platform);

    EXPECT_EQ(state.studentName, name) << "kept as typed";
    EXPECT_EQ(state.masterFile, u"c:\\plovenda\\masterFile_Ann__RESPONSE_--____Smith_.txt");
    for (const auto& [path, goldenName] :
         {std::pair{state.masterFile, "header_master.txt"}, std::pair{state.sendFile, "header_send.txt"}}) {
        std::string expected = golden(goldenName);
        expected.replace(expected.find("Ann Lee Smith"), 13, "Ann&#13;&#10;RESPONSE -->  &#10;Smith&#13;");
        expected.replace(expected.find("Initials:  als") + 11, 3, "a&#13;&#10;ls");
        EXPECT_EQ(platform.fileBytes(path), expected);
    }
}

struct MissingAssignment {
    const char* name;
    std::u16string typed;
};

class NotInBank : public Opening, public ::testing::WithParamInterface<MissingAssignment> {};

TEST_P(NotInBank, EndsWithTheSubscriptReportAndWritesNothing) {
    startUp(u"1", GetParam().typed);
    expectEndsWithSubscriptReport();
    EXPECT_EQ(state.lineIndex, 5001);
    EXPECT_FALSE(platform.fileBytes(master)) << "the master log is not created";
    EXPECT_FALSE(platform.fileBytes(send));
}

INSTANTIATE_TEST_SUITE_P(Assignments, NotInBank,
                         ::testing::Values(MissingAssignment{"nine_pads_to_009", u"9"},
                                           MissingAssignment{"four_digits_never_match", u"1234"},
                                           MissingAssignment{"empty_matches_only_a_point", u""}),
                         qadrill::testing::rowName);

TEST_F(Opening, TitleOfAssignmentAboveHundredCreatesTheMasterLogButNoHeader) {
    startUp(u"1", u"101");
    state.questionBank.set(30, u"101.  A later assignment");
    expectEndsWithSubscriptReport();
    EXPECT_EQ(state.lineIndex, 30);
    EXPECT_EQ(platform.fileBytes(master), std::string());
    EXPECT_FALSE(platform.fileBytes(send));
}

TEST_F(Opening, MissingNetworkDirectoryIsReportedAndTheRunGoesOn) {
    startUp(u"2", u"1");
    EXPECT_NO_THROW(openAssignment(state, platform));
    ASSERT_EQ(platform.messages.size(), 1U);
    EXPECT_TRUE(platform.messages[0].ends_with(u"The error is:  76"));
    EXPECT_EQ(state.lineIndex, 1);
    // Nothing stays open under the log numbers.
    platform.open(1, u"c:\\plovenda\\probe.txt", FileMode::Append);
    platform.open(2, u"c:\\plovenda\\probe2.txt", FileMode::Append);
    platform.closeAll();
}

// The header block goes to both logs or to neither.
TEST_F(Opening, SendLogThatCannotBeWrittenLeavesNeitherLogAHeader) {
    startUp(u"1", u"1");
    platform.failNext(FileOperation::write, ENOSPC, 2);  // the journal's and the master log's go through
    EXPECT_NO_THROW(openAssignment(state, platform));
    ASSERT_EQ(platform.messages.size(), 1U);
    EXPECT_TRUE(platform.messages[0].ends_with(u"The error is:  61"));
    EXPECT_EQ(platform.fileBytes(master), std::string()) << "created empty, the header taken back";
    EXPECT_EQ(platform.fileBytes(send), std::string()) << "created empty, no partial header";
    platform.open(2, send, FileMode::Append);
    platform.closeAll();
}

}  // namespace
}  // namespace qadrill
