// Clock texts and the random sequence.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "platform/system/LocalClock.h"
#include "platform/system/RandomSequence.h"
#include "platform/unicode/Utf8.h"
#include "tests/platform/TestPlatforms.h"
#include "tests/support/RowName.h"
#include "tests/support/TempDir.h"

namespace qadrill::testing {
namespace {

using qadrill::testing::PrintTo;

struct ClockRow {
    const char* name;
    int year, month, day, hour, minute, second;
    const char16_t* date;
    const char16_t* time;
    double seconds;
};

class ClockText : public ::testing::TestWithParam<ClockRow> {};

TEST_P(ClockText, FormatsDateTimeAndSeconds) {
    const ClockRow& row = GetParam();
    LocalMoment moment;
    moment.fields.tm_year = row.year - 1900;
    moment.fields.tm_mon = row.month - 1;
    moment.fields.tm_mday = row.day;
    moment.fields.tm_hour = row.hour;
    moment.fields.tm_min = row.minute;
    moment.fields.tm_sec = row.second;
    moment.nanoseconds = 250'000'000;
    EXPECT_EQ(dateTextOf(moment.fields), row.date);
    EXPECT_EQ(timeTextOf(moment.fields), row.time);
    EXPECT_DOUBLE_EQ(secondsSinceMidnight(moment), row.seconds);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ClockText,
    ::testing::Values(ClockRow{"padded_month_day_hour", 2026, 1, 5, 7, 3, 9, u"01-05-2026", u"07:03:09", 25389.25},
                      ClockRow{"december_evening", 2026, 12, 7, 23, 5, 36, u"12-07-2026", u"23:05:36", 83136.25},
                      ClockRow{"midnight", 2000, 2, 29, 0, 0, 0, u"02-29-2000", u"00:00:00", 0.25},
                      ClockRow{"leap_second_folds", 2016, 12, 31, 23, 59, 60, u"12-31-2016", u"23:59:59", 86399.25},
                      ClockRow{"early_year_keeps_four_digits", 999, 3, 4, 12, 0, 0, u"03-04-0999", u"12:00:00",
                               43200.25}),
    rowName);

TEST(LiveClock, TextsHaveTheirFormsAndTimerIsWithinADay) {
    TempDir dir;
    BarePlatform platform(dir.path(), std::chrono::milliseconds(0));
    EXPECT_TRUE(
        std::regex_match(toUtf8(platform.dateText()), std::regex(R"((0[1-9]|1[0-2])-(0[1-9]|[12]\d|3[01])-\d{4})")));
    EXPECT_TRUE(std::regex_match(toUtf8(platform.timeText()), std::regex(R"(([01]\d|2[0-3]):[0-5]\d:[0-5]\d)")));
    const float seconds = platform.timer();
    EXPECT_GE(seconds, 0.0F);
    EXPECT_LT(seconds, 86400.0F);
}

TEST(RandomBits, LargestDrawStaysBelowOne) {
    EXPECT_LT(RandomSequence::unitFromBits(0xFFFFFFU), 1.0F);
    EXPECT_EQ(RandomSequence::unitFromBits(0xFFFFFFU), 1.0F - 1.0F / 16777216.0F);
    EXPECT_EQ(RandomSequence::unitFromBits(0), 0.0F);
    EXPECT_EQ(RandomSequence::unitFromBits(0x800000U), 0.5F);
    EXPECT_LT(RandomSequence::unitFromBits(0xFFFFFFFFU), 1.0F) << "bits above 24 are ignored";
}

TEST(RandomSequence, DrawsStayInRangeAndSpreadOut) {
    RandomSequence sequence;
    sequence.seed(83136.5F);
    int low = 0;
    for (int i = 0; i < 200000; ++i) {
        const float r = sequence.next();
        ASSERT_GE(r, 0.0F);
        ASSERT_LT(r, 1.0F);
        // The code number formula must stay within 19..28.
        ASSERT_LE(static_cast<int>(r * 10.0F + 19.0F), 28);
        if (r < 0.5F) ++low;
    }
    EXPECT_NEAR(low, 100000, 2000);
}

TEST(RandomSequence, SameSeedSameSequenceOtherSeedOther) {
    const auto draws = [](float seed) {
        TempDir dir;
        BarePlatform platform(dir.path(), std::chrono::milliseconds(0));
        platform.randomize(seed);
        std::vector<float> values;
        for (int i = 0; i < 16; ++i) values.push_back(platform.rnd());
        return values;
    };
    EXPECT_EQ(draws(1234.5F), draws(1234.5F));
    EXPECT_NE(draws(1234.5F), draws(1234.75F));
}

}  // namespace
}  // namespace qadrill::testing
