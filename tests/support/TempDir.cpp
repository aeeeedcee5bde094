#include "tests/support/TempDir.h"

#include <cstdio>
#include <random>
#include <string>
#include <system_error>

namespace qadrill::testing {

// A random name, tried until one is free: the same on every system.
TempDir::TempDir() {
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    std::random_device seed;
    std::mt19937_64 names(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        // One length for every name: tests compare runs in two folders byte for byte.
        char name[32];
        std::snprintf(name, sizeof name, "qadrill-%012llu", names() % 1000000000000ULL);
        std::filesystem::path candidate = base / name;
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::system_error(std::make_error_code(std::errc::file_exists),
                            "no free temporary folder in " + base.string());
}

TempDir::~TempDir() {
    std::error_code ignored;
    // A read-only file would stop Windows removing it.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace qadrill::testing
