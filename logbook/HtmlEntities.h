#pragma once
// The named character references of HTML 4.01's symbol and special sets, for
// characters the logs' code page cannot hold.

#include <optional>
#include <string_view>

namespace qadrill {

// The entity name (without '&' and ';') of a code point, if the two sets have one.
[[nodiscard]] std::optional<std::string_view> htmlEntityName(char32_t codePoint);
// The code point an entity name (case matters) stands for, if the two sets have it.
[[nodiscard]] std::optional<char32_t> htmlEntityCodePoint(std::string_view name);

}  // namespace qadrill
