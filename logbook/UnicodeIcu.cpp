#include <unicode/uchar.h>
#include <unicode/unorm2.h>

#include <type_traits>

#include "logbook/Unicode.h"
#include "platform/RuntimeError.h"

namespace qadrill {

// The library's UTF-16 unit is the language's: texts pass without copying.
static_assert(std::is_same_v<UChar, char16_t>);

std::u16string_view normalizedC(std::u16string_view text, std::u16string& scratch) {
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
    if (U_FAILURE(status)) throw RuntimeError(err::deviceIo);
    const UChar* source = text.data();
    const auto length = static_cast<int32_t>(text.size());
    // The quick check answers "yes" without composing anything; "maybe" and
    // "no" take the full normalization.
    if (unorm2_quickCheck(nfc, source, length, &status) == UNORM_YES && U_SUCCESS(status)) return text;
    // NFC rarely grows a text; when it does, the library says by how much.
    scratch.resize(text.size());
    for (int attempt = 0; attempt < 2; ++attempt) {
        status = U_ZERO_ERROR;
        const int32_t needed =
            unorm2_normalize(nfc, source, length, scratch.data(), static_cast<int32_t>(scratch.size()), &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            scratch.resize(static_cast<std::size_t>(needed));
            continue;
        }
        if (U_FAILURE(status)) break;
        scratch.resize(static_cast<std::size_t>(needed));
        return scratch;
    }
    throw RuntimeError(err::deviceIo);
}

std::u16string lowerCased(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out) {
        const UChar32 lower = u_tolower(static_cast<UChar32>(c));
        if (lower <= 0xFFFF) c = static_cast<char16_t>(lower);
    }
    return out;
}

}  // namespace qadrill
