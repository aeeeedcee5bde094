#include "tests/support/TempDir.h"

#include <stdlib.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace qadrill::testing {

namespace {

std::filesystem::path tempBase() {
    const char* base = std::getenv("TMPDIR");
    return base != nullptr && *base != '\0' ? std::filesystem::path(base) : std::filesystem::path("/tmp");
}

}  // namespace

TempDir::TempDir() {
    std::string pattern = (tempBase() / "qadrill-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace qadrill::testing
