#pragma once
// Pictures in the clipboard's device-independent bitmap (CF_DIB) form.

#include <cstddef>
#include <optional>

#include "platform/Platform.h"

namespace qadrill {

// A picture from a CF_DIB block: 24 or 32 bits, either row order; nullopt
// for any other layout.
[[nodiscard]] std::optional<Picture> pictureFromDib(const void* dib, std::size_t size);

}  // namespace qadrill
