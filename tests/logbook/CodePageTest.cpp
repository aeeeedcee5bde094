// The code page of the logs: every byte one character and back.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "logbook/CodePage.h"

namespace qadrill {
namespace {

TEST(CodePage, EveryByteRoundTrips) {
    for (int value = 0; value < 256; ++value) {
        const std::string byte(1, static_cast<char>(value));
        const std::u16string decoded = decodeWindows1252(byte);
        ASSERT_EQ(decoded.size(), 1U) << value;
        EXPECT_EQ(windows1252Byte(decoded[0]), static_cast<unsigned char>(value)) << value;
    }
}

TEST(CodePage, UnassignedCodesAreTheirOwnControlCharacters) {
    for (const unsigned char code : std::array<unsigned char, 5>{0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(windows1252Char(code), static_cast<char16_t>(code)) << int{code};
}

TEST(CodePage, DistinctBytesGiveDistinctCharacters) {
    std::u16string all;
    for (int value = 0; value < 256; ++value) all.push_back(windows1252Char(static_cast<unsigned char>(value)));
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end());
}

TEST(CodePage, CharactersOutsideThePageHaveNoByte) {
    // C1 controls whose codes the page assigns to printable characters, and
    // a few characters a student might type.
    for (const char16_t c :
         {u'\u0080', u'\u0082', u'\u009F', u'\u0100', u'\u0394', u'\u2212', u'\u2192', u'\uFFFD', u'\uFEFF'})
        EXPECT_FALSE(windows1252Byte(c).has_value()) << int{c};
    for (const char16_t surrogate : {u'\xD83D', u'\xDE00'}) EXPECT_FALSE(windows1252Byte(surrogate).has_value());
}

TEST(CodePage, DecodingKeepsLengthAndOrder) {
    EXPECT_EQ(decodeWindows1252(std::string("a\x80\xE9\0z", 5)), std::u16string(u"a\u20AC\u00E9\0z", 5));
    EXPECT_EQ(decodeWindows1252(""), u"");
}

}  // namespace
}  // namespace qadrill
