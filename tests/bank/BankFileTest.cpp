#include "bank/BankFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "bank/QuestionBankContents.h"
#include "drill/state/DrillState.h"
#include "platform/RuntimeError.h"
#include "platform/unicode/Utf8.h"
#include "tests/support/RowName.h"
#include "tests/support/TempDir.h"

namespace qadrill {
namespace {

using qadrill::testing::PrintTo;
using namespace std::string_literals;

// n lines: a title line, then problems, each ended by LF.
std::string linesOf(std::size_t n) {
    std::string bytes = "001.  Title\n";
    for (std::size_t i = 2; i <= n; ++i) bytes += "problem " + std::to_string(i) + "\n";
    return bytes;
}

struct EntriesRow {
    const char* name;
    std::string bytes;
    std::vector<std::u16string> entries;
};

const EntriesRow entriesRows[] = {
    {"lf_lines_with_separators", "001.  T\n\nQ one\n\nQ two\n", {u"001.  T", u"", u"Q one", u"", u"Q two"}},
    {"last_line_without_line_end", "001.  T\n\nQ", {u"001.  T", u"", u"Q"}},
    {"final_empty_line_is_an_entry", "001.  T\nQ\n\n", {u"001.  T", u"Q", u""}},
    {"crlf_lines", "001.  T\r\n\r\nQ\r\n", {u"001.  T", u"", u"Q"}},
    {"crlf_and_lf_mixed", "001.  T\r\n\nQ\n", {u"001.  T", u"", u"Q"}},
    {"byte_order_mark_dropped",
     "\xEF\xBB\xBF"
     "001.  T\nQ\n",
     {u"001.  T", u"Q"}},
    {"title_not_on_the_first_line", "\nnotes\n002.  T\n", {u"", u"notes", u"002.  T"}},
    {"utf8_text_kept",
     "001.  T\nx\xE2\x80\xA6 \xCE\x94 \xF0\x9F\x98\x80\n",
     {u"001.  T", u"x\u2026 \u0394 \U0001F600"}},
    {"lone_cr_stays_in_its_entry", "001.  T\na\rb\n", {u"001.  T", u"a\rb"}},
};

class BankEntriesRows : public ::testing::TestWithParam<EntriesRow> {};

TEST_P(BankEntriesRows, OneEntryPerLine) {
    const ParsedBank parsed = parseBank(GetParam().bytes);
    ASSERT_FALSE(parsed.fault) << parsed.fault->what;
    EXPECT_EQ(parsed.entries, GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(Rows, BankEntriesRows, ::testing::ValuesIn(entriesRows), qadrill::testing::rowName);

struct RefusalRow {
    const char* name;
    std::string bytes;
    std::size_t line;
    int error;
    std::string_view what;
};

const RefusalRow refusalRows[] = {
    {"more_than_5000_entries", linesOf(5001), 5001, err::subscriptOutOfRange, "more than 5,000 entries"},
    {"nul_byte", "001.  T\n\nQ\0R\n"s, 3, err::typeMismatch, "a NUL byte at byte 2 of the line"},
    {"latin1_byte", "001.  T\nQ\nna\xEFve\n", 3, err::typeMismatch, "bytes that are not UTF-8 at byte 3 of the line"},
    {"overlong_slash", "001.  T\n\xC0\xAF\n", 2, err::typeMismatch, "bytes that are not UTF-8 at byte 1 of the line"},
    {"encoded_surrogate", "001.  T\n\xED\xA0\x80\n", 2, err::typeMismatch, "bytes that are not UTF-8"},
    {"character_cut_by_line_end", "001.  T\nx\xE2\x80\r\n", 2, err::typeMismatch, "not UTF-8 at byte 2"},
    {"windows_1252_bank", "001.  T\n\x93quoted\x94\n", 2, err::typeMismatch, "not UTF-8 at byte 1"},
    {"no_title_line", "\nQ one\n01.  T\n1234\n", 1, err::subscriptOutOfRange, "no assignment title line"},
    {"empty_file", "", 1, err::subscriptOutOfRange, "no assignment title line"},
};

class BankRefusals : public ::testing::TestWithParam<RefusalRow> {};

TEST_P(BankRefusals, NamesTheLineAndWhatIsWrong) {
    const auto& row = GetParam();
    const ParsedBank parsed = parseBank(row.bytes);
    ASSERT_TRUE(parsed.fault);
    EXPECT_EQ(parsed.fault->line, row.line);
    EXPECT_EQ(parsed.fault->errorNumber, row.error);
    EXPECT_NE(parsed.fault->what.find(row.what), std::string::npos) << parsed.fault->what;
}

INSTANTIATE_TEST_SUITE_P(Rows, BankRefusals, ::testing::ValuesIn(refusalRows), qadrill::testing::rowName);

TEST(BankFile, FiveThousandEntriesAndALongOneFit) {
    std::string bytes = linesOf(4999) + std::string(100'000, 'x') + "\n";
    const ParsedBank parsed = parseBank(bytes);
    ASSERT_FALSE(parsed.fault) << parsed.fault->what;
    ASSERT_EQ(parsed.entries.size(), 5000U);
    EXPECT_EQ(parsed.entries.back().size(), 100'000U);
}

// The file names itself and the line in the refusal, as the report's detail.
TEST(BankFile, RefusalNamesTheFileAndLine) {
    const qadrill::testing::TempDir dir;
    const auto path = dir.path() / "bad.qabank";
    std::ofstream(path, std::ios::binary) << "001.  T\n\nQ\xFF\n";
    SystemFiles files;
    try {
        static_cast<void>(loadBankFile(files, path));
        FAIL() << "accepted";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), err::typeMismatch);
        EXPECT_EQ(error.detail(),
                  toUtf8(path.u16string()) + ": line 3: bytes that are not UTF-8 at byte 2 of the line");
    }
}

TEST(BankFile, MissingFileIs53NamingIt) {
    const qadrill::testing::TempDir dir;
    SystemFiles files;
    try {
        static_cast<void>(loadBankFile(files, dir.path() / "none.qabank"));
        FAIL() << "accepted";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), err::fileNotFound);
        EXPECT_NE(error.detail().find("none.qabank"), std::string::npos) << error.detail();
    }
}

// The sample bank's first assignment is the built-in one, entry for entry,
// and it loads from entry 1 as the built-in bank does.
TEST(BankFile, SampleBankStartsWithTheBuiltInAssignment) {
    SystemFiles files;
    const BankEntries sample = loadBankFile(files, QADRILL_SAMPLE_BANK);
    auto builtIn = std::make_unique<DrillState>();
    loadQuestions(*builtIn);
    auto loaded = std::make_unique<DrillState>();
    loadQuestions(*loaded, sample);
    EXPECT_EQ(loaded->lineIndex, static_cast<long>(sample.size()));
    EXPECT_EQ(loaded->questionBank.at(0), u"");
    for (long index = 1; index <= builtIn->lineIndex; ++index) {
        ASSERT_EQ(loaded->questionBank.at(index), builtIn->questionBank.at(index)) << "entry " << index;
    }
    EXPECT_EQ(loaded->questionBank.at(builtIn->lineIndex + 1), u"");
    EXPECT_EQ(loaded->questionBank.at(builtIn->lineIndex + 2).substr(0, 4), u"002.");
}

}  // namespace
}  // namespace qadrill
