#pragma once
// A platform that hands every call to a ScriptedPlatform, with a clock that
// ticks per reading, which the scripted one lacks.

#include <functional>
#include <string>

#include "tests/support/ScriptedPlatform.h"

namespace qadrill::testing {

class InterceptingPlatform final : public Platform {
public:
    explicit InterceptingPlatform(ScriptedPlatform& inner) : inner_(inner) {}

    // When set, replaces the scripted time text, one call per reading.
    std::function<std::u16string()> timeSource;

    [[nodiscard]] std::u16string inputBox(const std::u16string& prompt) override { return inner_.inputBox(prompt); }
    void messageBox(const std::u16string& text) override { inner_.messageBox(text); }
    void makeDirectory(const std::u16string& path) override { inner_.makeDirectory(path); }
    void open(int fileNumber, const std::u16string& path, FileMode mode) override {
        inner_.open(fileNumber, path, mode);
    }
    void write(int fileNumber, std::string_view bytes) override { inner_.write(fileNumber, bytes); }
    void appendRecords(std::span<const RecordAppend> records) override { inner_.appendRecords(records); }
    [[nodiscard]] std::string lineInput(int fileNumber) override { return inner_.lineInput(fileNumber); }
    [[nodiscard]] bool endOfFile(int fileNumber) override { return inner_.endOfFile(fileNumber); }
    void close(int fileNumber) override { inner_.close(fileNumber); }
    void closeAll() override { inner_.closeAll(); }
    [[nodiscard]] float timer() override { return inner_.timer(); }
    [[nodiscard]] std::u16string dateText() override { return inner_.dateText(); }
    [[nodiscard]] std::u16string timeText() override { return timeSource ? timeSource() : inner_.timeText(); }
    void randomize(float seed) override { inner_.randomize(seed); }
    [[nodiscard]] float rnd() override { return inner_.rnd(); }
    void setClipboardPicture(const Picture& picture) override { inner_.setClipboardPicture(picture); }
    [[nodiscard]] std::optional<Picture> clipboardPicture() override { return inner_.clipboardPicture(); }
    void beep() override { inner_.beep(); }
    [[noreturn]] void endProgram() override { inner_.endProgram(); }

private:
    ScriptedPlatform& inner_;
};

}  // namespace qadrill::testing
