// Reading and writing numbers under a desktop whose locale writes a decimal
// comma: the drill's numbers always use a point, and read as they would in
// the plain C locale.

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "logbook/Text.h"
#include "tests/support/RowName.h"

namespace qadrill {
namespace {

using qadrill::testing::PrintTo;

// Switches the process to the first comma-decimal locale installed.
class CommaLocale : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = std::setlocale(LC_ALL, nullptr);
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
            if (std::setlocale(LC_ALL, name) != nullptr && std::localeconv()->decimal_point == std::string(",")) return;
        }
        std::setlocale(LC_ALL, saved_.c_str());
        GTEST_SKIP() << "no comma-decimal locale is installed (scripts/setup --test generates de_DE.UTF-8)";
    }
    void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

private:
    std::string saved_;
};

struct ReadCase {
    const char* name;
    std::u16string text;
    double value;
};

class LeadingNumber : public CommaLocale, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(LeadingNumber, ReadsAPointAsTheDecimalSeparator) {
    EXPECT_EQ(leadingNumber(GetParam().text), GetParam().value);
    if (const auto whole = wholeNumber(GetParam().text)) {
        EXPECT_EQ(*whole, GetParam().value);
    }
}

constexpr double inf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(Table, LeadingNumber,
                         ::testing::Values(ReadCase{"point_fraction", u"1.5", 1.5},
                                           ReadCase{"blanks_sign_exponent_then_text", u" \t-2.25e1 m/s", -22.5},
                                           ReadCase{"plus_sign", u"+3", 3.0},
                                           ReadCase{"too_large_is_infinite", u"1e400", inf},
                                           ReadCase{"too_large_negative", u"-1e400", -inf},
                                           ReadCase{"too_small_is_zero", u"1e-400", 0.0},
                                           ReadCase{"many_leading_zeros_too_small", u"0.0000001e-320", 0.0}),
                         qadrill::testing::rowName);

struct WriteCase {
    const char* name;
    double value;
    std::u16string text;
};

class NumberText : public CommaLocale, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(NumberText, WritesAPointAndFifteenDigits) { EXPECT_EQ(numberText(GetParam().value), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Table, NumberText,
    ::testing::Values(WriteCase{"half_without_leading_zero", 0.5, u".5"}, WriteCase{"negative_half", -0.5, u"-.5"},
                      WriteCase{"fifteen_digits", 1.0 / 3.0, u".333333333333333"},
                      WriteCase{"large_in_capital_exponent", 123456789012345678.0, u"1.23456789012346E+17"},
                      WriteCase{"small_in_capital_exponent", 1e-5, u"1E-05"}, WriteCase{"infinite", inf, u"INF"}),
    qadrill::testing::rowName);

}  // namespace
}  // namespace qadrill
