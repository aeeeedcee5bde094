#pragma once
// Helpers for the platform's own tests: a bare host platform with a chosen
// drive map and lock wait.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/HostPlatform.h"

namespace qadrill::testing {

class BarePlatform final : public HostPlatform {
public:
    BarePlatform(const std::filesystem::path& root, std::chrono::milliseconds lockWait)
        : HostPlatform(driveMapUnder(root), lockWait) {
        useStateFolder(root / "state");
    }

    // Say "closeAll" on stderr, for a child whose end a test watches.
    bool announceCloseAll = false;

    // Desktop-only operations; these tests never reach them.
    [[nodiscard]] std::u16string inputBox(const std::u16string&) override { return {}; }
    void messageBox(const std::u16string&) override {}
    void setClipboardPicture(const Picture&) override {}
    [[nodiscard]] std::optional<Picture> clipboardPicture() override { return std::nullopt; }
    void beep() override {}

    void closeAll() override;
};

// True where paths are Windows ones: a test of something only one system has
// skips on the other.
inline constexpr bool windowsPaths = std::filesystem::path::preferred_separator == L'\\';

}  // namespace qadrill::testing
