// Text into log bytes: code-page characters as their byte, everything else as
// an HTML character reference; never a silent substitute.

#include <gtest/gtest.h>

#include <map>

#include "logbook/CodePage.h"
#include "logbook/HtmlEntities.h"
#include "logbook/LogEncoding.h"
#include "logbook/Unicode.h"
#include "tests/support/RowName.h"

namespace qadrill {
namespace {

using qadrill::testing::PrintTo;

struct EncodingCase {
    const char* name;
    std::u16string text;
    std::string bytes;
};

class LogEncoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(LogEncoding, GivesExactBytes) { EXPECT_EQ(encodeForLog(GetParam().text), GetParam().bytes); }

std::u16string units(std::initializer_list<char16_t> list) { return std::u16string(list); }

INSTANTIATE_TEST_SUITE_P(
    Table, LogEncoding,
    ::testing::Values(
        EncodingCase{"empty", u"", ""},
        EncodingCase{"ascii_sentence", u"v = d / t, so 12 m / 3 s = 4 m/s?", "v = d / t, so 12 m / 3 s = 4 m/s?"},
        EncodingCase{"tab_and_controls", u"a\tb\x01\x1A\x7F", "a\tb\x01\x1A\x7F"},
        EncodingCase{"line_breaks_untouched", u"a\r\nb\nc\rd", "a\r\nb\nc\rd"},
        EncodingCase{"ampersand_not_escaped", u"x & y &amp; &#1;", "x & y &amp; &#1;"},
        EncodingCase{"question_mark_is_itself", u"?", "?"},
        EncodingCase{"defined_0x80_to_0x9F",
                     u"\u20AC\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u017D"
                     u"\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u017E\u0178",
                     "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E"
                     "\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F"},
        EncodingCase{"unassigned_codes_as_controls", u"\u0081\u008D\u008F\u0090\u009D", "\x81\x8D\x8F\x90\x9D"},
        EncodingCase{"other_c1_controls_numeric", u"\u0080\u0085\u009F", "&#128;&#133;&#159;"},
        EncodingCase{"latin1_symbols_stay_bytes", u"\u00B0\u00B1\u00B2\u00B5\u00B7\u00D7\u00F7",
                     "\xB0\xB1\xB2\xB5\xB7\xD7\xF7"},
        EncodingCase{"greek_capitals", u"\u0394v \u03A3F \u03A9", "&Delta;v &Sigma;F &Omega;"},
        EncodingCase{"greek_small", u"\u03B8 \u03BB \u03C0 \u03C2 \u03C9", "&theta; &lambda; &pi; &sigmaf; &omega;"},
        EncodingCase{"greek_symbols", u"\u03D1\u03D2\u03D6", "&thetasym;&upsih;&piv;"},
        EncodingCase{"greek_without_name", u"\u03DD", "&#989;"},
        EncodingCase{"math_operators", u"\u2264\u2265\u221A\u221E\u2202\u2211\u2212\u2260\u2248\u222B\u2207\u22C5",
                     "&le;&ge;&radic;&infin;&part;&sum;&minus;&ne;&asymp;&int;&nabla;&sdot;"},
        EncodingCase{"math_without_name", u"\u222E\u2213", "&#8750;&#8723;"},
        EncodingCase{"arrows", u"\u2192\u2190\u2194\u21D2\u21D4\u21B5", "&rarr;&larr;&harr;&rArr;&hArr;&crarr;"},
        EncodingCase{"letterlike", u"\u211C\u2118\u2111\u2135", "&real;&weierp;&image;&alefsym;"},
        EncodingCase{"letterlike_without_name", u"\u210F", "&#8463;"},
        EncodingCase{"trade_mark_is_a_byte", u"\u2122", "\x99"},
        EncodingCase{"spaces_and_joiners", u"\u2002\u2003\u2009\u200C\u200D\u200E\u200F",
                     "&ensp;&emsp;&thinsp;&zwnj;&zwj;&lrm;&rlm;"},
        EncodingCase{"punctuation_and_shapes", u"\u2032\u2033\u203E\u2044\u25CA\u2660\u2663\u2665\u2666",
                     "&prime;&Prime;&oline;&frasl;&loz;&spades;&clubs;&hearts;&diams;"},
        EncodingCase{"ceilings_and_floors", u"\u2308\u2309\u230A\u230B", "&lceil;&rceil;&lfloor;&rfloor;"},
        EncodingCase{"cyrillic_numeric", u"\u0416", "&#1046;"},
        EncodingCase{"emoji_one_reference", u"ok \U0001F600!", "ok &#128512;!"},
        EncodingCase{"math_italic_x", u"\U0001D465", "&#119909;"},
        EncodingCase{"decomposed_e_acute", u"e\u0301", "\xE9"},
        EncodingCase{"decomposed_ring_and_tilde", u"A\u030An\u0303", "\xC5\xF1"},
        EncodingCase{"combining_without_precomposed", u"q\u0301", "q&#769;"},
        EncodingCase{"ohm_sign_is_omega", u"\u2126", "&Omega;"},
        EncodingCase{"angstrom_sign_is_a_ring", u"\u212B", "\xC5"},
        EncodingCase{"angle_bracket_canonical_form", u"\u2329", "&#12296;"},
        EncodingCase{"lone_high_surrogate", units({u'a', 0xD83D, u'b'}), "a&#55357;b"},
        EncodingCase{"lone_low_surrogate", units({0xDE00}), "&#56832;"},
        EncodingCase{"high_surrogate_at_end", units({u'x', 0xD83D}), "x&#55357;"},
        EncodingCase{"reversed_pair", units({0xDE00, 0xD83D}), "&#56832;&#55357;"},
        EncodingCase{"replacement_and_bom", u"\uFFFD\uFEFF", "&#65533;&#65279;"}),
    qadrill::testing::rowName);

TEST(LogEncodingRange, UpperHalfOfLatin1IsOneByteEach) {
    std::u16string text;
    std::string bytes;
    for (int c = 0xA0; c <= 0xFF; ++c) {
        text.push_back(static_cast<char16_t>(c));
        bytes.push_back(static_cast<char>(c));
    }
    EXPECT_EQ(encodeForLog(text), bytes);
}

TEST(LogEncodingRange, AsciiIsUnchanged) {
    std::u16string text;
    std::string bytes;
    for (int c = 0; c < 0x80; ++c) {
        text.push_back(static_cast<char16_t>(c));
        bytes.push_back(static_cast<char>(c));
    }
    EXPECT_EQ(encodeForLog(text), bytes);
}

// The code line of a log header is made of characters decoded from codes
// 66..255: each must go back out as exactly the code it came from.
TEST(LogEncodingRange, EveryCodePageCharacterGivesItsOwnByte) {
    for (int value = 0; value < 256; ++value) {
        const std::string byte(1, static_cast<char>(value));
        EXPECT_EQ(encodeForLog(decodeWindows1252(byte)), byte) << value;
    }
}

std::u16string surrogatePair(char32_t cp) {
    return {static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)), static_cast<char16_t>(0xDC00 + (cp & 0x3FF))};
}

// Reads log bytes back: references resolved, each byte through the code page.
std::u16string readBack(const std::string& bytes, const std::map<std::string, char32_t>& names) {
    std::u16string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::size_t end = bytes[i] == '&' ? bytes.find(';', i) : std::string::npos;
        if (end == std::string::npos) {
            out.push_back(windows1252Char(static_cast<unsigned char>(bytes[i])));
            continue;
        }
        const std::string ref = bytes.substr(i + 1, end - i - 1);
        const char32_t cp = ref[0] == '#' ? static_cast<char32_t>(std::stoul(ref.substr(1))) : names.at(ref);
        if (cp > 0xFFFF) {
            out += surrogatePair(cp);
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i = end;
    }
    return out;
}

// Every code point, alone: what is written reads back as the normalized
// character, so nothing anywhere is replaced by a stand-in.
TEST(LogEncodingRange, EveryCodePointReadsBack) {
    std::map<std::string, char32_t> names;
    for (char32_t cp = 0; cp < 0x10000; ++cp)
        if (const auto name = htmlEntityName(cp)) names.emplace(*name, cp);
    for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        std::u16string text;
        if (cp > 0xFFFF) {
            text = surrogatePair(cp);
        } else {
            text = {static_cast<char16_t>(cp)};
        }
        const std::string bytes = encodeForLog(text);
        std::u16string scratch;
        const std::u16string expected(cp >= 0xD800 && cp <= 0xDFFF ? text : normalizedC(text, scratch));
        ASSERT_EQ(readBack(bytes, names), expected) << "U+" << std::hex << static_cast<unsigned long>(cp);
    }
}

// The encoder writes text below U+0300 without asking the library: that
// holds only while each such character, alone or after a letter it might
// join, is its own normal form.
TEST(LogEncodingRange, TextBelowCombiningMarksIsAlreadyNormal) {
    std::u16string scratch;
    for (char16_t c = 0; c < 0x300; ++c) {
        for (const std::u16string& text : {std::u16string{c}, std::u16string{u'e', c}, std::u16string{u'\u00C5', c}}) {
            ASSERT_EQ(normalizedC(text, scratch), text) << "U+" << std::hex << static_cast<unsigned>(c);
        }
    }
}

TEST(HtmlEntities, NamesAreUniqueAndOnlyForCharactersTheyDenote) {
    std::map<std::string, char32_t> seen;
    for (char32_t cp = 0; cp < 0x10000; ++cp) {
        if (const auto name = htmlEntityName(cp)) {
            EXPECT_TRUE(seen.emplace(*name, cp).second) << *name;
        }
    }
    EXPECT_EQ(seen.size(), 156U);  // the symbol set (124) and the special set (32)
    EXPECT_EQ(seen.at("Delta"), U'\u0394');
    EXPECT_EQ(seen.at("rarr"), U'\u2192');
    EXPECT_EQ(seen.at("euro"), U'\u20AC');
}

}  // namespace
}  // namespace qadrill
