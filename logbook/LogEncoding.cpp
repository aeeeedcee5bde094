#include "logbook/LogEncoding.h"

#include <unicode/unorm2.h>
#include <unicode/utf16.h>

#include "logbook/CodePage.h"
#include "logbook/HtmlEntities.h"
#include "platform/RuntimeError.h"

namespace qadrill {

namespace {

std::u16string toNfc(std::u16string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
    if (U_FAILURE(status)) throw RuntimeError(err::deviceIo);
    const auto* source = reinterpret_cast<const UChar*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    if (unorm2_isNormalized(nfc, source, length, &status) && U_SUCCESS(status)) return std::u16string(text);
    status = U_ZERO_ERROR;
    const int32_t needed = unorm2_normalize(nfc, source, length, nullptr, 0, &status);
    std::u16string out(static_cast<std::size_t>(needed), u'\0');
    status = U_ZERO_ERROR;
    unorm2_normalize(nfc, source, length, reinterpret_cast<UChar*>(out.data()), needed, &status);
    if (U_FAILURE(status)) throw RuntimeError(err::deviceIo);
    return out;
}

// The code point starting at index i (a lone surrogate stands for itself) and its length.
std::pair<char32_t, std::size_t> codePointAt(const std::u16string& text, std::size_t i) {
    const char16_t first = text[i];
    if (U16_IS_LEAD(first) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1]))
        return {static_cast<char32_t>(U16_GET_SUPPLEMENTARY(first, text[i + 1])), 2};
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
    const std::u16string normal = toNfc(text);
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
