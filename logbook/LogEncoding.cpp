#include "logbook/LogEncoding.h"

#include "logbook/CodePage.h"
#include "logbook/HtmlEntities.h"
#include "logbook/Unicode.h"
#include "platform/unicode/Utf16.h"

namespace qadrill {

namespace {

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
