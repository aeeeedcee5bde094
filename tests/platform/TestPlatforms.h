#pragma once
// Helpers for the platform's own tests: a bare PosixPlatform with a chosen
// drive map and lock wait, and running a piece of a test in a child process
// (for locks held elsewhere, dropped privileges and resource limits).

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/PosixPlatform.h"

namespace qadrill::testing {

class BarePlatform final : public PosixPlatform {
public:
    BarePlatform(const std::filesystem::path& root, std::chrono::milliseconds lockWait)
        : PosixPlatform(driveMapUnder(root), lockWait) {}

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

// Runs body in a forked child; the child's exit code is body's result.
// Returns the exit code, or -signal when the child was killed by one.
[[nodiscard]] int runInChild(const std::function<int()>& body);

// In a child running as root: become user and group 65534 with no extra
// groups, so file modes bind.  False when that is not possible.
[[nodiscard]] bool dropToNobody();

// Exit code a child uses to say it could not set itself up.
inline constexpr int childSetupFailed = 254;

}  // namespace qadrill::testing
