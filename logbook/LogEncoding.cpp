#include "logbook/LogEncoding.h"

#include "logbook/CodePage.h"
#include "logbook/HtmlEntities.h"
#include "logbook/Unicode.h"

namespace qadrill {

namespace {

// The code point starting at index i (a lone surrogate stands for itself) and its length.
std::pair<char32_t, std::size_t> codePointAt(const std::u16string& text, std::size_t i) {
    const char16_t first = text[i];
    const bool lead = first >= 0xD800 && first <= 0xDBFF;
    if (lead && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
        return {0x10000 + ((static_cast<char32_t>(first) - 0xD800) << 10) + (text[i + 1] - 0xDC00), 2};
    return {first, 1};
}

void appendReference(std::string& out, char32_t codePoint) {
    out += '&';
    if (const auto name = htmlEntityName(codePoint))
        out += *name;
    else
        out += '#' + std::to_string(static_cast<unsigned long>(codePoint));
    out += ';';
}

}  // namespace

std::string encodeForLog(std::u16string_view text) {
    const std::u16string normal = normalizedC(text);
    std::string out;
    out.reserve(normal.size());
    for (std::size_t i = 0; i < normal.size();) {
        const auto [codePoint, length] = codePointAt(normal, i);
        const auto byte = length == 1 ? windows1252Byte(normal[i]) : std::nullopt;
        if (byte)
            out.push_back(static_cast<char>(*byte));
        else
            appendReference(out, codePoint);
        i += length;
    }
    return out;
}

}  // namespace qadrill
