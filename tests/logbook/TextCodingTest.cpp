// code, remSpaces, makeCodeLine, decode and codeFile.

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

#include "logbook/CodePage.h"
#include "logbook/TextCoding.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/RowName.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempDir.h"

namespace qadrill::testing {
namespace {

using qadrill::testing::PrintTo;

int codeOf(char16_t c) { return windows1252Byte(c).value_or(-1); }

TEST(Code, ReturnsItsTextUnchanged) {
    for (const std::u16string text : {u"", u"line one\r\nline two", u"\u0394 \u00E9 \U0001F600"})
        for (const float codeNbr : {0.0F, 19.0F, 28.0F, -3.5F}) EXPECT_EQ(code(text, codeNbr), text);
}

struct RemSpacesCase {
    const char* name;
    std::u16string text;
    std::u16string expected;
};

class RemSpaces : public ::testing::TestWithParam<RemSpacesCase> {};

TEST_P(RemSpaces, DropsSpacesAndHyphens) { EXPECT_EQ(remSpaces(GetParam().text), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Table, RemSpaces,
    ::testing::Values(RemSpacesCase{"a_space_hyphen_space_b", u"a - b", u"ab"},
                      RemSpacesCase{"only_spaces_and_hyphens", u" - -- ", u""},
                      RemSpacesCase{"tab_kept", u"a\tb c", u"a\tbc"},
                      RemSpacesCase{"other_dashes_kept", u"1\u20132\u20143\u22124", u"1\u20132\u20143\u22124"},
                      RemSpacesCase{"no_break_space_kept", u"a\u00A0b", u"a\u00A0b"}, RemSpacesCase{"empty", u"", u""}),
    rowName);

class MakeCodeLine : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedPlatform platform{dir.path()};
};

TEST_F(MakeCodeLine, DrawsInOrderAndRoundsHalfToEven) {
    // Pass 1 takes the extra character (r1 < 0.1): r2 = 0.25 gives 78, r3 = 0.5 gives 186.
    // Pass 2 does not (r1 = 0.1 itself): r3 = 0.25 gives 152.
    // Pass 3 takes it: r2 = 0.75 gives 104, r3 just below 1 gives 255.
    platform.randomValues = {0.05F, 0.25F, 0.5F, 0.1F, 0.25F, 0.0F, 0.75F, std::nextafter(1.0F, 0.0F)};
    const std::u16string line = makeCodeLine(platform, 3.0F);
    ASSERT_EQ(line.size(), 5U);
    EXPECT_EQ(codeOf(line[0]), 78);
    EXPECT_EQ(codeOf(line[1]), 186);
    EXPECT_EQ(codeOf(line[2]), 152);
    EXPECT_EQ(codeOf(line[3]), 104);
    EXPECT_EQ(codeOf(line[4]), 255);
    EXPECT_TRUE(platform.randomValues.empty());
}

TEST_F(MakeCodeLine, LowestDrawsGiveTheLowestCodes) {
    platform.randomValues = {0.0F, 0.0F, 0.0F};
    const std::u16string line = makeCodeLine(platform, 1.0F);
    ASSERT_EQ(line.size(), 2U);
    EXPECT_EQ(codeOf(line[0]), 66);
    EXPECT_EQ(codeOf(line[1]), 118);
}

TEST_F(MakeCodeLine, NoPassesBelowOneAndWholePassesOnly) {
    platform.randomValues = {0.5F, 0.5F, 0.5F, 0.5F};
    EXPECT_EQ(makeCodeLine(platform, 0.0F), u"");
    EXPECT_EQ(makeCodeLine(platform, -4.0F), u"");
    EXPECT_EQ(makeCodeLine(platform, 0.99F), u"");
    EXPECT_EQ(platform.randomValues.size(), 4U);
    EXPECT_EQ(makeCodeLine(platform, 2.5F).size(), 2U);
    EXPECT_TRUE(platform.randomValues.empty());
}

// Many seeded draws for every code number a run can have.
TEST_F(MakeCodeLine, RangesAndLengthsOverManyDraws) {
    int extraCharacters = 0;
    int passes = 0;
    for (int codeNbr = 19; codeNbr <= 28; ++codeNbr) {
        platform.randomize(static_cast<float>(codeNbr) * 7.25F);
        for (int draw = 0; draw < 300; ++draw) {
            const std::u16string line = makeCodeLine(platform, static_cast<float>(codeNbr));
            ASSERT_GE(line.size(), static_cast<std::size_t>(codeNbr));
            ASSERT_LE(line.size(), static_cast<std::size_t>(2 * codeNbr));
            ASSERT_GE(codeOf(line.back()), 118);
            for (std::size_t i = 0; i < line.size(); ++i) {
                const int c = codeOf(line[i]);
                ASSERT_TRUE((c >= 66 && c <= 116) || (c >= 118 && c <= 255)) << c;
                // A low character always opens a pass, so a high one follows it.
                if (c < 118) {
                    ASSERT_GE(codeOf(line[i + 1]), 118);
                }
                extraCharacters += c < 118 ? 1 : 0;
            }
            passes += codeNbr;
        }
    }
    // About one pass in ten takes the extra character.
    EXPECT_NEAR(static_cast<double>(extraCharacters) / passes, 0.1, 0.01);
}

struct DecodeCase {
    const char* name;
    float codeNbr;
    std::u16string text;
    std::u16string expected;
};

class Decode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Decode, MapsEachCharacterByItsCode) {
    EXPECT_EQ(decode(GetParam().text, GetParam().codeNbr), GetParam().expected);
}

std::u16string charOf(int code) { return decodeWindows1252(std::string(1, static_cast<char>(code))); }

INSTANTIATE_TEST_SUITE_P(Table, Decode,
                         ::testing::Values(DecodeCase{"space_stays", 19.0F, u" ", u" "},
                                           DecodeCase{"code_151_gives_space", 19.0F, charOf(151), u" "},
                                           DecodeCase{"code_255_gives_136", 19.0F, charOf(255), charOf(136)},
                                           DecodeCase{"small_a_dropped", 19.0F, u"a", u""},
                                           DecodeCase{"capital_A_gives_255", 19.0F, u"A", charOf(255)},
                                           DecodeCase{"digit_0_gives_238", 19.0F, u"0", charOf(238)},
                                           DecodeCase{"code_119_gives_0", 19.0F, charOf(119), charOf(0)},
                                           DecodeCase{"code_118_dropped", 19.0F, charOf(118), u""},
                                           DecodeCase{"capital_Z_dropped_at_28", 28.0F, u"Z", u""},
                                           DecodeCase{"order_kept", 19.0F, u"A a0", charOf(255) + u" " + charOf(238)},
                                           DecodeCase{"half_rounds_to_even_down", 19.5F, charOf(152), u" "},
                                           DecodeCase{"half_rounds_to_even_up", 19.5F, charOf(151), u" "},
                                           DecodeCase{"half_below_66", 19.5F, u"A", charOf(254)},
                                           DecodeCase{"empty", 19.0F, u"", u""}),
                         rowName);

struct DecodeFailure {
    const char* name;
    float codeNbr;
    std::u16string text;
};

class DecodeFails : public ::testing::TestWithParam<DecodeFailure> {};

TEST_P(DecodeFails, WithInvalidArgument) {
    EXPECT_EQ(errorOf([] { (void)decode(GetParam().text, GetParam().codeNbr); }), err::invalidArgument);
}

INSTANTIATE_TEST_SUITE_P(Table, DecodeFails,
                         ::testing::Values(DecodeFailure{"code_120_below_zero_at_28", 28.0F, charOf(120)},
                                           DecodeFailure{"code_127_below_zero_at_28", 28.0F, charOf(127)},
                                           DecodeFailure{"low_code_above_255_at_5", 5.0F, u"A"},
                                           DecodeFailure{"fails_after_good_characters", 28.0F, u"  0" + charOf(120)},
                                           DecodeFailure{"character_outside_the_code_page", 19.0F, u"\u0394"}),
                         [](const ::testing::TestParamInfo<DecodeFailure>& row) {
                             return std::string(row.param.name);
                         });

class CodeFile : public ::testing::Test {
protected:
    CodeFile() {
        std::filesystem::create_directories(folder());
        state.dataDir = u"c:\\plovenda";
        state.codeNumber = 23.0F;
    }
    [[nodiscard]] std::filesystem::path folder() const { return dir.path() / "c" / "plovenda"; }
    void writeQuery(const std::string& bytes) const {
        std::ofstream(folder() / "query.txt", std::ios::binary) << bytes;
    }
    [[nodiscard]] std::optional<std::string> coded() const { return platform.fileBytes(u"c:\\plovenda\\queri.txt"); }

    TempDir dir;
    ScriptedPlatform platform{dir.path()};
    DrillState state;
};

TEST_F(CodeFile, CopiesTheThreeLineExample) {
    writeQuery("Assignment 3\r\nquery 1 What is x?\r\nhello\r\n");
    codeFile(state, platform);
    EXPECT_EQ(coded(), "Assignment 3\r\nquery What is x?\r\nhello\r\n");
    EXPECT_EQ(state.codeNumber, 12.0F);
    for (int number = 1; number <= 2; ++number) EXPECT_FALSE(platform.isOpen(number));
}

TEST_F(CodeFile, QueryWithoutSpaceIsCopiedUnchanged) {
    writeQuery("query");
    codeFile(state, platform);
    EXPECT_EQ(coded(), "query\r\n");
    EXPECT_EQ(state.codeNumber, 5.0F);
}

TEST_F(CodeFile, QueryPrefixIgnoresCaseAndShortLinesStay) {
    writeQuery("QUERY 2abc\nAssIgNment\nquery \nq\n\n\xE9t\xE9\n");
    codeFile(state, platform);
    EXPECT_EQ(coded(), "queryabc\r\nAssIgNment\r\nquery\r\nq\r\n\r\n\xE9t\xE9\r\n");
    EXPECT_EQ(state.codeNumber, 10.0F);
}

TEST_F(CodeFile, EmptiesAnExistingCopy) {
    std::ofstream(folder() / "queri.txt", std::ios::binary) << "old and much longer content\r\n";
    writeQuery("hello\r\n");
    codeFile(state, platform);
    EXPECT_EQ(coded(), "hello\r\n");
}

TEST_F(CodeFile, MissingQueryFileFailsAndChangesNothing) {
    EXPECT_EQ(errorOf([&] { codeFile(state, platform); }), err::fileNotFound);
    EXPECT_EQ(state.codeNumber, 23.0F);
    EXPECT_FALSE(coded().has_value());
    EXPECT_FALSE(platform.isOpen(1));
}

TEST_F(CodeFile, QueryFileWithoutAnyLineFails) {
    writeQuery("");
    EXPECT_THROW(codeFile(state, platform), RuntimeError);
    EXPECT_FALSE(coded().has_value());
    EXPECT_FALSE(platform.isOpen(1));
}

TEST_F(CodeFile, FailureWhileCopyingLeavesNoFileOpen) {
    writeQuery("hello\r\nworld\r\n");
    platform.failNext(FileOperation::write, ENOSPC, 1);
    EXPECT_THROW(codeFile(state, platform), RuntimeError);
    EXPECT_FALSE(platform.isOpen(1));
    EXPECT_FALSE(platform.isOpen(2));
    EXPECT_EQ(coded(), "hello\r\n");
}

}  // namespace
}  // namespace qadrill::testing
