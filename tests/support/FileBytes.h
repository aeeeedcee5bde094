#pragma once
// A file's bytes as they are on disk, for tests that compare them.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace qadrill::testing {

// The file's bytes, or nullopt when it cannot be opened.
[[nodiscard]] inline std::optional<std::string> fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The file's bytes; empty when it cannot be opened.
[[nodiscard]] inline std::string contents(const std::filesystem::path& file) { return fileBytes(file).value_or(""); }

}  // namespace qadrill::testing
