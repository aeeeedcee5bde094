#include <unicode/uchar.h>
#include <unicode/unorm2.h>

#include "logbook/Unicode.h"
#include "platform/RuntimeError.h"

namespace qadrill {

std::u16string normalizedC(std::u16string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
    if (U_FAILURE(status)) throw RuntimeError(err::deviceIo);
    // UChar is char16_t in C++: no cast between the two.
    const UChar* source = text.data();
    const auto length = static_cast<int32_t>(text.size());
    if (unorm2_isNormalized(nfc, source, length, &status) && U_SUCCESS(status)) return std::u16string(text);
    status = U_ZERO_ERROR;
    const int32_t needed = unorm2_normalize(nfc, source, length, nullptr, 0, &status);
    std::u16string out(static_cast<std::size_t>(needed), u'\0');
    status = U_ZERO_ERROR;
    unorm2_normalize(nfc, source, length, out.data(), needed, &status);
    if (U_FAILURE(status)) throw RuntimeError(err::deviceIo);
    return out;
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
