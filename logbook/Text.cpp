#include "logbook/Text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "logbook/Unicode.h"
#include "platform/unicode/Utf8.h"

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

// Where the first significant digit stands, as a power of ten, counting the
// exponent; only its sign matters.
long long decimalMagnitude(std::string_view number) {
    const auto exponentAt = number.find_first_of("eE");
    long long exponent = 0;
    if (exponentAt != std::string_view::npos) {
        const auto digits = number.substr(exponentAt + 1);
        const bool negative = !digits.empty() && digits.front() == '-';
        for (const char c : digits)
            if (c >= '0' && c <= '9' && exponent < 1'000'000'000) exponent = exponent * 10 + (c - '0');
        if (negative) exponent = -exponent;
        number = number.substr(0, exponentAt);
    }
    const auto point = std::min(number.find('.'), number.size());
    const auto first = number.find_first_of("123456789");
    if (first == std::string_view::npos) return std::numeric_limits<long long>::min();
    const auto place =
        first < point ? static_cast<long long>(point - first) - 1 : -static_cast<long long>(first - point);
    return place + exponent;
}

// The C locale's reading whatever the process locale is.  Out of range reads
// as infinity (too large) or zero (too small), with its sign.
double parseAscii(std::u16string_view digits) {
    std::string ascii(digits.begin(), digits.end());
    std::string_view number(ascii);
    const bool negative = number.front() == '-';
    if (number.front() == '+' || negative) number.remove_prefix(1);
    double value = 0.0;
    if (std::from_chars(number.data(), number.data() + number.size(), value).ec == std::errc::result_out_of_range)
        value = decimalMagnitude(number) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
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
    // "%.15G" in the C locale, whatever the process locale is.
    std::array<char, 40> buffer{};
    const auto end =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::general, 15).ptr;
    std::string out(buffer.data(), end);
    for (auto& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');  // toupper would ask the locale
    if (out.rfind("0.", 0) == 0) out.erase(0, 1);
    if (out.rfind("-0.", 0) == 0) out.erase(1, 1);
    return fromUtf8(out);
}

}  // namespace qadrill
