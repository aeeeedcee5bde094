#include "logbook/CharacterReferences.h"

#include <optional>

#include "logbook/CodePage.h"
#include "logbook/HtmlEntities.h"

namespace qadrill {

namespace {

constexpr char32_t lastCodePoint = 0x10FFFF;
// "&#1114111;" is the longest numeric form; no entity name is longer than 8.
constexpr std::size_t longestBody = 8;

bool codePageHolds(char32_t codePoint) {
    return codePoint <= 0xFFFF && windows1252Byte(static_cast<char16_t>(codePoint)).has_value();
}

std::optional<char32_t> numericReference(std::u16string_view digits) {
    if (digits.empty() || digits.front() == u'0') return std::nullopt;
    char32_t value = 0;
    for (const char16_t c : digits) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + static_cast<char32_t>(c - u'0');
        if (value > lastCodePoint) return std::nullopt;
    }
    if (htmlEntityName(value)) return std::nullopt;  // the log names it instead
    return value;
}

std::optional<char32_t> namedReference(std::u16string_view name) {
    std::string ascii;
    for (const char16_t c : name) {
        if (c > 0x7F) return std::nullopt;
        ascii.push_back(static_cast<char>(c));
    }
    return htmlEntityCodePoint(ascii);
}

// The character of the reference between '&' and ';', if the log writes it so.
std::optional<char32_t> referenceBody(std::u16string_view body) {
    const auto codePoint =
        !body.empty() && body.front() == u'#' ? numericReference(body.substr(1)) : namedReference(body);
    if (!codePoint || codePageHolds(*codePoint)) return std::nullopt;
    return codePoint;
}

void appendCodePoint(std::u16string& out, char32_t codePoint) {
    if (codePoint < 0x10000) {
        out.push_back(static_cast<char16_t>(codePoint));
        return;
    }
    const char32_t offset = codePoint - 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
}

}  // namespace

std::u16string decodeCharacterReferences(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t amp = text.find(u'&', i);
        out.append(text.substr(i, amp == std::u16string_view::npos ? std::u16string_view::npos : amp - i));
        if (amp == std::u16string_view::npos) break;
        const std::size_t semicolon = text.substr(amp + 1, longestBody + 1).find(u';');
        const auto codePoint =
            semicolon == std::u16string_view::npos ? std::nullopt : referenceBody(text.substr(amp + 1, semicolon));
        if (!codePoint) {
            out.push_back(u'&');
            i = amp + 1;
            continue;
        }
        appendCodePoint(out, *codePoint);
        i = amp + semicolon + 2;
    }
    return out;
}

}  // namespace qadrill
