#pragma once
// The character references the logs hold, read back for display: each one
// that encodeForLog writes becomes the character it stands for again.  The
// logs themselves keep the references.

#include <string>
#include <string_view>

namespace qadrill {

// Only the exact forms the log encoding writes are read: the HTML 4.01 name
// where there is one, else &#N; with N in decimal without leading zeros, and
// only for a character the code page cannot hold.  Everything else, "&amp;"
// and "&#65;" included, stays as it is, since the log never wrote it.
[[nodiscard]] std::u16string decodeCharacterReferences(std::u16string_view text);

}  // namespace qadrill
