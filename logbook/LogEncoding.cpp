#include "logbook/LogEncoding.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <iterator>

#include "logbook/CodePage.h"
#include "logbook/HtmlEntities.h"
#include "logbook/Unicode.h"
#include "platform/unicode/Utf16.h"

namespace qadrill {

namespace {

// Every character below the first combining mark is its own normal form C
// and none of them joins the character before it, so text made only of them
// (any Latin-1 text, say) needs no trip through the Unicode library.
constexpr char16_t firstCombiningMark = 0x0300;

// ASCII and the upper half of Latin-1: the code page gives these their own value.
bool isOwnCode(char16_t c) { return c < 0x80 || (c >= 0xA0 && c <= 0xFF); }

void appendReference(std::string& out, char32_t codePoint) {
    out += '&';
    if (const auto name = htmlEntityName(codePoint)) {
        out += *name;
    } else {
        std::array<char, 12> digits{};
        const auto end =
            std::to_chars(digits.data(), digits.data() + digits.size(), static_cast<unsigned long>(codePoint)).ptr;
        out += '#';
        out.append(digits.data(), end);
    }
    out += ';';
}

// Copies the run of own-code characters from i in one go; returns where the run ends.
std::size_t appendOwnCodes(std::u16string_view text, std::size_t i, std::string& out) {
    const char16_t* first = text.data() + i;
    const char16_t* last = std::find_if_not(first, text.data() + text.size(), isOwnCode);
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(last - first));
    std::transform(first, last, out.data() + at, [](char16_t c) { return static_cast<char>(c); });
    return static_cast<std::size_t>(last - text.data());
}

// One character that is not its own code: its byte of 0x80..0x9F, or a
// reference.  Returns the index after it.
std::size_t appendOther(std::u16string_view text, std::size_t i, std::string& out) {
    const auto [codePoint, length] = codePointAt(text, i);
    const auto byte = length == 1 ? windows1252Byte(text[i]) : std::nullopt;
    if (byte)
        out.push_back(static_cast<char>(*byte));
    else
        appendReference(out, codePoint);
    return i + length;
}

void appendNormal(std::u16string_view normal, std::string& out) {
    for (std::size_t i = 0; i < normal.size();) {
        i = appendOwnCodes(normal, i, out);
        if (i < normal.size()) i = appendOther(normal, i, out);
    }
}

// Encodes the text as it stands, in the same pass that proves it normal.  At
// the first character from the first combining mark on it gives up, leaving
// out as it was.
bool appendBelowCombiningMarks(std::u16string_view text, std::string& out) {
    const std::size_t start = out.size();
    for (std::size_t i = 0; i < text.size();) {
        i = appendOwnCodes(text, i, out);
        if (i == text.size()) break;
        if (text[i] >= firstCombiningMark) {
            out.resize(start);
            return false;
        }
        i = appendOther(text, i, out);
    }
    return true;
}

}  // namespace

void appendForLog(std::u16string_view text, std::string& out, std::u16string& scratch) {
    if (!appendBelowCombiningMarks(text, out)) appendNormal(normalizedC(text, scratch), out);
}

std::string encodeForLog(std::u16string_view text) {
    std::string out;
    std::u16string scratch;
    appendForLog(text, out, scratch);
    return out;
}

}  // namespace qadrill
