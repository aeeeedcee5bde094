#include "logbook/Text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "logbook/Unicode.h"
#include "platform/Utf8.h"

namespace qadrill {

namespace {

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Length of the number at the start of text (after blanks were skipped), 0 if none.
std::size_t numberLength(std::u16string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) ++j;
            i = j;
        }
    }
    return i;
}

double parseAscii(std::u16string_view digits) {
    std::string ascii(digits.begin(), digits.end());
    return std::strtod(ascii.c_str(), nullptr);
}

std::u16string_view skipBlanks(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    return text.substr(i);
}

}  // namespace

std::u16string left(std::u16string_view text, std::size_t n) { return std::u16string(text.substr(0, n)); }

std::u16string midFrom(std::u16string_view text, std::size_t start) {
    if (start < 1 || start > text.size()) return {};
    return std::u16string(text.substr(start - 1));
}

bool startsWith(std::u16string_view text, std::u16string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::u16string lowerCase(std::u16string_view text) { return lowerCased(text); }

double leadingNumber(std::u16string_view text) {
    const auto rest = skipBlanks(text);
    const auto length = numberLength(rest);
    return length == 0 ? 0.0 : parseAscii(rest.substr(0, length));
}

std::optional<double> wholeNumber(std::u16string_view text) {
    const auto rest = skipBlanks(text);
    const auto length = numberLength(rest);
    if (length == 0) return std::nullopt;
    for (auto c : rest.substr(length))
        if (!isBlank(c)) return std::nullopt;
    return parseAscii(rest.substr(0, length));
}

std::u16string numberText(double value) {
    if (value == 0.0) return u"0";
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string out(buffer);
    if (out.rfind("0.", 0) == 0) out.erase(0, 1);
    if (out.rfind("-0.", 0) == 0) out.erase(1, 1);
    return fromUtf8(out);
}

std::u16string text(std::string_view utf8) { return fromUtf8(utf8); }

}  // namespace qadrill
