// Record lines into bytes: items, line ends, number items and print zones.

#include <gtest/gtest.h>

#include "logbook/LogWriter.h"
#include "platform/RuntimeError.h"
#include "tests/support/RowName.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempDir.h"

namespace qadrill::testing {
namespace {

using qadrill::testing::PrintTo;

struct NumberCase {
    const char* name;
    double value;
    std::string bytes;
};

class NumberItem : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberItem, HasSignPlaceAndTrailingSpace) {
    LogRecord record;
    record.number(GetParam().value);
    EXPECT_EQ(record.bytes(), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Table, NumberItem,
                         ::testing::Values(NumberCase{"record_number", 120000.0, " 120000 "},
                                           NumberCase{"negative", -3.0, "-3 "}, NumberCase{"zero", 0.0, " 0 "},
                                           NumberCase{"negative_zero", -0.0, " 0 "},
                                           NumberCase{"fraction", -2.5, "-2.5 "}),
                         rowName);

struct BreakCase {
    const char* name;
    std::u16string text;
    std::string bytes;
};

class InnerLineBreaks : public ::testing::TestWithParam<BreakCase> {};

TEST_P(InnerLineBreaks, BecomeCrLf) {
    LogRecord record;
    record.text(GetParam().text);
    EXPECT_EQ(record.bytes(), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Table, InnerLineBreaks,
                         ::testing::Values(BreakCase{"crlf_kept", u"a\r\nb", "a\r\nb"},
                                           BreakCase{"bare_lf", u"a\nb", "a\r\nb"},
                                           BreakCase{"bare_cr", u"a\rb", "a\r\nb"},
                                           BreakCase{"blank_line_kept", u"a\r\n\r\nb", "a\r\n\r\nb"},
                                           BreakCase{"lf_then_cr", u"a\n\rb", "a\r\n\r\nb"},
                                           BreakCase{"trailing_break", u"a\n", "a\r\n"},
                                           BreakCase{"encoded_too", u"\u0394\nx", "&Delta;\r\nx"}),
                         rowName);

struct ZoneCase {
    const char* name;
    std::u16string before;
    std::size_t spaces;
};

class ZoneAdvance : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(ZoneAdvance, ReachesTheNextZoneStart) {
    LogRecord record;
    record.text(GetParam().before);
    const std::string start = record.bytes();
    record.zoneAdvance();
    EXPECT_EQ(record.bytes(), start + std::string(GetParam().spaces, ' '));
    EXPECT_EQ((record.column() - 1) % LogRecord::zoneWidth, 0);
}

INSTANTIATE_TEST_SUITE_P(Table, ZoneAdvance,
                         ::testing::Values(ZoneCase{"closing_line_49_to_57", std::u16string(49, u'.'), 7},
                                           ZoneCase{"fresh_line_to_15", u"", 14},
                                           ZoneCase{"column_14_to_15", std::u16string(13, u'x'), 1},
                                           ZoneCase{"at_zone_start_to_next", std::u16string(14, u'x'), 14},
                                           ZoneCase{"counted_from_last_break", u"a long first line\r\nabc", 11},
                                           ZoneCase{"reference_counts_its_bytes", u"\u0394", 7}),
                         rowName);

TEST(LogRecordLines, LineEndIsCrLfAndResetsTheColumn) {
    LogRecord record;
    record.text(u"abc").lineEnd().lineEnd().text(u"d");
    EXPECT_EQ(record.bytes(), "abc\r\n\r\nd");
    EXPECT_EQ(record.column(), 2);
}

TEST(AppendRecords, EachLogGetsItsRecordBesideOneJournal) {
    TempDir dir;
    ScriptedPlatform platform(dir.path());
    LogRecord master;
    master.text(u"first").lineEnd().text(u"second").lineEnd();
    LogRecord send;
    send.text(u"third").zoneAdvance();
    platform.open(logfile::master, u"c:\\m.txt", FileMode::Append);
    platform.open(logfile::send, u"c:\\s.txt", FileMode::Append);
    appendRecords(platform, {{logfile::master, master}, {logfile::send, send}});
    platform.closeAll();
    EXPECT_EQ(platform.fileBytes(u"c:\\m.txt"), master.bytes());
    EXPECT_EQ(platform.fileBytes(u"c:\\s.txt"), send.bytes());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "c"), {}), 3);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "c" / "m.txt.journal"));
}

TEST(OpenLogs, ClosesWhatItOpenedWhenALaterOpenFails) {
    TempDir dir;
    ScriptedPlatform platform(dir.path());
    const auto openBoth = [&platform] {
        const OpenLogs logs(platform, {{1, u"c:\\a.txt"}, {2, u"c:\\missing\\b.txt"}});
    };
    EXPECT_THROW(openBoth(), RuntimeError);
    EXPECT_FALSE(platform.isOpen(1));
    EXPECT_FALSE(platform.isOpen(2));
}

TEST(OpenLogs, ClosesEverythingWhenItEnds) {
    TempDir dir;
    ScriptedPlatform platform(dir.path());
    {
        const OpenLogs logs(platform, {{1, u"c:\\a.txt"}, {3, u"c:\\b.txt"}});
        EXPECT_TRUE(platform.isOpen(1));
        EXPECT_TRUE(platform.isOpen(3));
    }
    EXPECT_FALSE(platform.isOpen(1));
    EXPECT_FALSE(platform.isOpen(3));
}

}  // namespace
}  // namespace qadrill::testing
