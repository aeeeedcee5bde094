#pragma once
// Parameterised tests print a table row by its name, so a failing case names
// itself instead of showing a dump of its bytes.  A test file brings this into
// the namespace of its rows with `using qadrill::testing::PrintTo;`.

#include <ostream>
#include <string>
#include <string_view>

namespace qadrill::testing {

template <typename Row>
requires requires(const Row& row) { std::string_view(row.name); }
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

// The name a parameterised test takes from its row:
// INSTANTIATE_TEST_SUITE_P(Rows, Suite, ValuesIn(rows), rowName).
inline constexpr auto rowName = [](const auto& info) { return std::string(info.param.name); };

}  // namespace qadrill::testing
