#pragma once
// The platform for tests: prompts answered from a queue, message boxes
// recorded, clock and random fixed, program end raised as ProgramEnded.
// Files are real files under a temporary root; any chosen file operation
// can be made to fail with a chosen error number.

#include <deque>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/PosixPlatform.h"

namespace qadrill::testing {

// Thrown where the real program would end; tests catch it.
struct ProgramEnded : std::exception {
    [[nodiscard]] const char* what() const noexcept override { return "program ended"; }
};

class ScriptedPlatform final : public PosixPlatform {
public:
    // Drive c maps to root/"c", any other drive x to root/"x".
    explicit ScriptedPlatform(std::filesystem::path root);

    // Prompts: answers served in order; nullopt stands for Cancel.  Running
    // out of answers is a test fault and throws std::logic_error.
    std::deque<std::optional<std::u16string>> answers;
    std::vector<std::u16string> prompts;   // every prompt text shown, in order
    std::vector<std::u16string> messages;  // every message box text, in order

    // Clock.
    std::u16string date = u"12-07-2026";
    std::u16string time = u"23:05:36";
    float seconds = 83136.5F;

    // Random: queued values are served first, then the seeded generator.
    std::deque<float> randomValues;
    std::vector<float> seeds;  // every randomize() seed, in order

    int beeps = 0;
    std::optional<Picture> clipboard;
    bool clipboardLocked = false;  // a clipboard another program holds
    bool ended = false;

    // ... fault injection: see the implementation's header section.

    [[nodiscard]] std::u16string inputBox(const std::u16string& prompt) override;
    void messageBox(const std::u16string& text) override;
    [[nodiscard]] float timer() override;
    [[nodiscard]] std::u16string dateText() override;
    [[nodiscard]] std::u16string timeText() override;
    [[nodiscard]] float rnd() override;
    void randomize(float seed) override;
    void setClipboardPicture(const Picture& picture) override;
    [[nodiscard]] std::optional<Picture> clipboardPicture() override;
    void beep() override;
    [[noreturn]] void endProgram() override;
};

}  // namespace qadrill::testing
