#pragma once
// Helpers for the platform's own tests: a bare headless platform with a chosen
// drive map and lock wait.

#include <chrono>
#include <filesystem>

#include "tests/support/HeadlessPlatform.h"

namespace qadrill::testing {

class BarePlatform final : public HeadlessPlatform {
public:
    BarePlatform(const std::filesystem::path& root, std::chrono::milliseconds lockWait)
        : HeadlessPlatform(driveMapUnder(root), lockWait) {
        useStateFolder(root / "state");
    }

    // Say "closeAll" on stderr, for a child whose end a test watches.
    bool announceCloseAll = false;

    void closeAll() override;
};

// True where paths are Windows ones: a test of something only one system has
// skips on the other.
inline constexpr bool windowsPaths = std::filesystem::path::preferred_separator == L'\\';

}  // namespace qadrill::testing
