// The start-up dialogue against the scripted platform: prompts, answers,
// file names, padding, the code number.

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "drill/Startup.h"
#include "logbook/Text.h"
#include "tests/support/FakeView.h"
#include "tests/support/RowName.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempDir.h"

namespace qadrill {
namespace {

using qadrill::testing::PrintTo;

using testing::FakeView;
using testing::ScriptedPlatform;
using testing::TempDir;

struct StartupRun {
    TempDir dir;
    ScriptedPlatform platform{dir.path()};
    FakeView view;
    DrillState state;

    void answer(std::initializer_list<std::optional<std::u16string>> answers) {
        for (const auto& a : answers) platform.answers.push_back(a);
    }
    void run() { initDrill(state, platform, view); }
};

const std::u16string home = u"c:\\plovenda";
const std::u16string network = u"i:\\bkp_000416\\My Documents\\distance students\\interactive problems\\lb1";

TEST(Startup, AsksTheFourPromptsInOrderAndFillsTheState) {
    StartupRun run;
    run.answer({u"1", u"Ann Lee Smith", u"als", u"1"});
    run.run();

    ASSERT_EQ(run.platform.prompts.size(), 4U);
    EXPECT_EQ(run.platform.prompts[0], u"Enter 1 for home user, 2 for ORVY LAN user");
    EXPECT_EQ(run.platform.prompts[1], u"Your full name:  ");
    EXPECT_EQ(run.platform.prompts[2],
              u"Your initials (use all 3 initials and always use the same three initials when submitting work):  ");
    EXPECT_EQ(run.platform.prompts[3], u"Assignment Number:  ");
    EXPECT_TRUE(run.platform.messages.empty());

    const auto& s = run.state;
    EXPECT_EQ(s.dataDir, home);
    EXPECT_EQ(s.studentName, u"Ann Lee Smith");
    EXPECT_EQ(s.studentInitials, u"als");
    EXPECT_EQ(s.masterFile, home + u"\\masterFile_Ann_Lee_Smith.txt");
    EXPECT_EQ(s.sendFile, home + u"\\send_1207Ann_Lee_Smith.txt");
    EXPECT_EQ(s.notesFile, home + u"\\notes_Ann_Lee_Smith.txt");
    EXPECT_EQ(s.assignmentNumber, u"001");
    EXPECT_EQ(s.nextAssignment, u"002");
    EXPECT_EQ(s.questionTag, u" <-<-<-<-  Q/A:   ");
    EXPECT_EQ(s.answerTag, u" YOUR ANSWER  ->->->->  ");
    EXPECT_EQ(s.promptText.size(), 193U + 4U + 305U);
    EXPECT_EQ(s.promptText.substr(193, 4), u"\r\n\r\n");
    EXPECT_TRUE(startsWith(s.promptText, u"Enter, as appropriate, an answer"));
    EXPECT_NE(s.promptText.find(u"errors you makde, and"), std::u16string::npos);
    EXPECT_EQ(s.lineIndex, 21);
    EXPECT_EQ(s.questionBank.at(1), u"001.  Day 9 quiz");
    EXPECT_GE(s.codeNumber, 19.0F);
    EXPECT_LE(s.codeNumber, 28.0F);
    EXPECT_EQ(run.platform.seeds, std::vector<float>{run.platform.seconds});
}

TEST(Startup, GivesBothPictureBoxesAThousandUnitScaleHeightFirst) {
    StartupRun run;
    run.answer({u"1", u"a", u"b", u"1"});
    run.run();
    using P = PictureBoxId;
    const std::vector<std::pair<P, std::string>> expected{
        {P::Picture1, "height"}, {P::Picture1, "width"}, {P::Picture2, "height"}, {P::Picture2, "width"}};
    EXPECT_EQ(run.view.scaleCalls, expected);
    for (const auto& call : expected) EXPECT_EQ(run.view.scales[call], 1000.0);
}

struct FirstAnswerCase {
    const char* name;
    std::optional<std::u16string> answer;
    std::u16string dataDir;  // empty: error 13
};

class FirstAnswer : public ::testing::TestWithParam<FirstAnswerCase> {};

TEST_P(FirstAnswer, ChoosesTheDataDirectoryOrStopsWithTypeMismatch) {
    StartupRun run;
    run.answer({GetParam().answer, u"Ann", u"a", u"1"});
    run.run();
    if (GetParam().dataDir.empty()) {
        ASSERT_EQ(run.platform.messages.size(), 1U);
        EXPECT_TRUE(run.platform.messages[0].ends_with(u"The error is:  13"));
        EXPECT_EQ(run.platform.prompts.size(), 1U) << "no further prompt after the error";
        EXPECT_TRUE(run.state.dataDir.empty());
        EXPECT_TRUE(run.state.masterFile.empty());
        EXPECT_EQ(run.state.questionBank.at(1), u"");
    } else {
        EXPECT_TRUE(run.platform.messages.empty());
        EXPECT_EQ(run.state.dataDir, GetParam().dataDir);
        EXPECT_EQ(run.platform.prompts.size(), 4U);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, FirstAnswer,
    ::testing::Values(FirstAnswerCase{"one_is_home", u"1", home}, FirstAnswerCase{"three_is_home", u"3", home},
                      FirstAnswerCase{"zero_is_home", u"0", home}, FirstAnswerCase{"two_is_network", u"2", network},
                      FirstAnswerCase{"blanks_around_two", u"  2 ", network},
                      FirstAnswerCase{"two_point_zero", u"2.0", network},
                      FirstAnswerCase{"fraction_is_home", u"2.5", home}, FirstAnswerCase{"empty_is_mismatch", u"", u""},
                      FirstAnswerCase{"cancel_is_mismatch", std::nullopt, u""},
                      FirstAnswerCase{"word_is_mismatch", u"two", u""},
                      FirstAnswerCase{"number_then_word_is_mismatch", u"2 users", u""}),
    qadrill::testing::rowName);

TEST(Startup, CreatesTheHomeDirectoryEvenForANetworkUserAndIgnoresItsExistence) {
    StartupRun run;
    const auto plovenda = run.dir.path() / "c" / "plovenda";
    run.answer({u"2", u"Ann", u"a", u"1"});
    run.run();
    EXPECT_TRUE(std::filesystem::is_directory(plovenda));
    EXPECT_FALSE(std::filesystem::exists(run.dir.path() / "i" / "bkp_000416")) << "the network folder is never made";

    StartupRun again;
    std::filesystem::create_directories(again.dir.path() / "c" / "plovenda");
    again.answer({u"1", u"Ann", u"a", u"1"});
    again.run();
    EXPECT_TRUE(again.platform.messages.empty());
}

TEST(Startup, EmptyNameGivesBareLogNames) {
    StartupRun run;
    run.answer({u"1", u"", u"", u"1"});
    run.run();
    EXPECT_EQ(run.state.masterFile, home + u"\\masterFile_.txt");
    EXPECT_EQ(run.state.sendFile, home + u"\\send_1207.txt");
    EXPECT_EQ(run.state.notesFile, home + u"\\notes_.txt");
}

struct PaddingCase {
    const char* name;
    std::u16string typed;
    std::u16string assignment;
    std::u16string next;
};

class Padding : public ::testing::TestWithParam<PaddingCase> {};

TEST_P(Padding, PadsTheAssignmentAndItsSuccessor) {
    StartupRun run;
    run.answer({u"1", u"Ann", u"a", GetParam().typed});
    run.run();
    EXPECT_EQ(run.state.assignmentNumber, GetParam().assignment);
    EXPECT_EQ(run.state.nextAssignment, GetParam().next);
}

INSTANTIATE_TEST_SUITE_P(Assignments, Padding,
                         ::testing::Values(PaddingCase{"one_digit", u"1", u"001", u"002"},
                                           PaddingCase{"two_digits", u"12", u"012", u"013"},
                                           PaddingCase{"padded_099_next_100", u"099", u"099", u"100"},
                                           PaddingCase{"999_next_1000", u"999", u"999", u"1000"},
                                           PaddingCase{"four_digits_unchanged", u"1234", u"1234", u"1235"},
                                           PaddingCase{"empty_next_001", u"", u"", u"001"},
                                           PaddingCase{"fraction_next_2_5", u"1.5", u"1.5", u"2.5"},
                                           PaddingCase{"word_pads_next_001", u"x", u"00x", u"001"}),
                         qadrill::testing::rowName);

TEST(CodeNumber, StaysWithinNineteenToTwentyEight) {
    EXPECT_EQ(codeNumberFor(0.0F), 19.0F);
    EXPECT_EQ(codeNumberFor(0.0999999F), 19.0F);
    EXPECT_EQ(codeNumberFor(0.1F), 20.0F);
    EXPECT_EQ(codeNumberFor(std::nextafter(1.0F, 0.0F)), 28.0F) << "the largest draw must not round up to 29";

    StartupRun run;
    for (int seed = 0; seed < 2000; ++seed) {
        run.state = DrillState{};
        run.platform.seconds = static_cast<float>(seed) * 37.25F;
        run.answer({u"1", u"a", u"b", u"1"});
        run.run();
        ASSERT_GE(run.state.codeNumber, 19.0F) << "seed " << seed;
        ASSERT_LE(run.state.codeNumber, 28.0F) << "seed " << seed;
        ASSERT_EQ(run.state.codeNumber, std::floor(run.state.codeNumber));
    }
}

}  // namespace
}  // namespace qadrill
