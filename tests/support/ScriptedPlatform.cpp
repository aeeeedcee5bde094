#include "tests/support/ScriptedPlatform.h"

#include "platform/RuntimeError.h"

#include <chrono>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <utility>

#include "platform/unicode/Utf8.h"
#include "tests/support/FileBytes.h"

namespace qadrill::testing {

// No lock wait: nothing else contends, and a planned lock fault is then 70 at once.
ScriptedPlatform::ScriptedPlatform(std::filesystem::path root)
    : FaultyHost(driveMapUnder(root), std::chrono::milliseconds(0)), root_(std::move(root)) {
    std::filesystem::create_directories(root_ / "c");
    useStateFolder(root_ / "state");
}

std::optional<std::string> ScriptedPlatform::fileBytes(const std::u16string& drillPath) const {
    return qadrill::testing::fileBytes(nativePathOf(drillPath));
}

std::u16string ScriptedPlatform::inputBox(const std::u16string& prompt) {
    prompts.push_back(prompt);
    if (answers.empty()) throw std::logic_error("no answer queued for prompt: " + toUtf8(prompt));
    std::optional<std::u16string> answer = std::move(answers.front());
    answers.pop_front();
    return answer.value_or(std::u16string());
}

void ScriptedPlatform::messageBox(const std::u16string& text) { messageBoxWithDetail(text, {}); }

void ScriptedPlatform::messageBoxWithDetail(const std::u16string& text, const std::u16string& detail) {
    messages.push_back(text);
    details.push_back(detail);
}

float ScriptedPlatform::timer() { return seconds; }

std::u16string ScriptedPlatform::dateText() { return date; }

std::u16string ScriptedPlatform::timeText() {
    if (times.empty()) return time;
    std::u16string next = std::move(times.front());
    times.pop_front();
    return next;
}

float ScriptedPlatform::rnd() {
    if (randomValues.empty()) return FaultyHost::rnd();
    const float value = randomValues.front();
    randomValues.pop_front();
    return value;
}

void ScriptedPlatform::randomize(float seed) {
    seeds.push_back(seed);
    FaultyHost::randomize(seed);
}

void ScriptedPlatform::setClipboardPicture(const Picture& picture) {
    if (clipboardLocked) throw RuntimeError(err::clipboardUnavailable);
    clipboard = picture;
}

std::optional<Picture> ScriptedPlatform::clipboardPicture() {
    if (clipboardLocked) throw RuntimeError(err::clipboardUnavailable);
    return clipboard;
}

void ScriptedPlatform::beep() { ++beeps; }

void ScriptedPlatform::endProgram() {
    closeAll();
    ended = true;
    throw ProgramEnded{};
}

}  // namespace qadrill::testing
