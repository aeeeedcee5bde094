// Bytes that are not well-formed UTF-8 each become U+FFFD, and decoding goes
// on with the next byte; well-formed text comes through whole.

#include <gtest/gtest.h>

#include <string>

#include "platform/unicode/Utf8.h"
#include "tests/support/RowName.h"

namespace qadrill::testing {
namespace {

using qadrill::testing::PrintTo;

struct DecodeRow {
    const char* name;
    std::string bytes;
    std::u16string text;
};

class Utf8Decoding : public ::testing::TestWithParam<DecodeRow> {};

TEST_P(Utf8Decoding, EachBadByteIsOneReplacement) { EXPECT_EQ(fromUtf8(GetParam().bytes), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Rows, Utf8Decoding,
    ::testing::Values(DecodeRow{"two_bytes", "\xce\x94v", u"\u0394v"},
                      DecodeRow{"four_bytes", "\xf0\x9f\x98\x80", u"\U0001F600"},
                      DecodeRow{"overlong_slash", "\xc0\xaf", u"\uFFFD\uFFFD"},
                      DecodeRow{"overlong_three_bytes", "\xe0\x80\xaf", u"\uFFFD\uFFFD\uFFFD"},
                      DecodeRow{"overlong_four_bytes", "\xf0\x80\x80\xaf", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
                      DecodeRow{"lead_f8", "\xf8\x88\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
                      DecodeRow{"lead_ff",
                                "\xff"
                                "a",
                                u"\uFFFDa"},
                      DecodeRow{"past_the_last_character", "\xf4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
                      DecodeRow{"surrogate", "\xed\xa0\x80", u"\uFFFD\uFFFD\uFFFD"}),
    rowName);

}  // namespace
}  // namespace qadrill::testing
