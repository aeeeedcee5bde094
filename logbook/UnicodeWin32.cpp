#include <windows.h>

#include <optional>

#include "logbook/Unicode.h"
#include "platform/RuntimeError.h"
#include "platform/unicode/Utf16.h"

namespace qadrill {

namespace {

// The length of the well-formed UTF-16 from the start: the system refuses a
// lone surrogate, so the text is normalized piece by piece around them.
std::size_t wellFormedLength(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (isPairAt(text, i)) {
            i += 2;
        } else if (isSurrogate(text[i])) {
            break;
        } else {
            ++i;
        }
    }
    return i;
}

// The system's normal form, or nullopt when it refuses a code point it does
// not know.
std::optional<std::u16string> systemNormalized(std::u16string_view piece) {
    const auto* source = reinterpret_cast<const WCHAR*>(piece.data());
    const int length = static_cast<int>(piece.size());
    int guess = NormalizeString(NormalizationC, source, length, nullptr, 0);
    // The first answer is an estimate; a buffer too small says so and asks again.
    for (int attempt = 0; attempt < 4 && guess > 0; ++attempt) {
        std::u16string out(static_cast<std::size_t>(guess), u'\0');
        const int got = NormalizeString(NormalizationC, source, length, reinterpret_cast<WCHAR*>(out.data()), guess);
        if (got > 0) {
            out.resize(static_cast<std::size_t>(got));
            return out;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
        guess = -got;
    }
    if (GetLastError() == ERROR_NO_UNICODE_TRANSLATION) return std::nullopt;
    throw RuntimeError(err::deviceIo);
}

// A code point the system does not know is unassigned: it is its own normal
// form and nothing composes across it, so the text is split there.
std::u16string normalizedPiece(std::u16string_view piece) {
    if (piece.empty()) return {};
    if (auto whole = systemNormalized(piece)) return *whole;
    std::u16string out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < piece.size();) {
        const std::size_t length = codePointAt(piece, i).second;
        if (!systemNormalized(piece.substr(i, length))) {
            if (i > start) out += systemNormalized(piece.substr(start, i - start)).value();
            out += piece.substr(i, length);
            start = i + length;
        }
        i += length;
    }
    if (start < piece.size()) out += systemNormalized(piece.substr(start)).value();
    return out;
}

}  // namespace

std::u16string_view normalizedC(std::u16string_view text, std::u16string& scratch) {
    // The system refuses a lone surrogate here as well ("not normalized"),
    // which the piece-wise path below handles.
    if (IsNormalizedString(NormalizationC, reinterpret_cast<const WCHAR*>(text.data()), static_cast<int>(text.size())))
        return text;
    scratch.clear();
    while (!text.empty()) {
        const std::size_t good = wellFormedLength(text);
        scratch += normalizedPiece(text.substr(0, good));
        if (good < text.size()) scratch += text[good];
        text.remove_prefix(good < text.size() ? good + 1 : good);
    }
    return scratch;
}

std::u16string lowerCased(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out) {
        // One unit at a time, as a surrogate or a longer mapping stays as it is.
        if (isSurrogate(c)) continue;
        WCHAR lower = 0;
        const WCHAR unit = c;
        if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, &unit, 1, &lower, 1, nullptr, nullptr, 0) == 1)
            c = lower;
    }
    return out;
}

}  // namespace qadrill
