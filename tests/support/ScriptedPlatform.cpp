#include "tests/support/ScriptedPlatform.h"

#include "platform/RuntimeError.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <utility>

#include <unistd.h>

#include "platform/Utf8.h"

namespace qadrill::testing {

namespace {

std::size_t indexOf(FileOperation operation) { return static_cast<std::size_t>(operation); }

}  // namespace

// No lock wait: nothing else contends, and a planned lock fault is then 70 at once.
ScriptedPlatform::ScriptedPlatform(std::filesystem::path root)
    : PosixPlatform(driveMapUnder(root), std::chrono::milliseconds(0)), root_(std::move(root)) {
    std::filesystem::create_directories(root_ / "c");
}

void ScriptedPlatform::failNext(FileOperation operation, int errnoValue, int skip) {
    faults_[indexOf(operation)].push_back({skip, errnoValue});
}

void ScriptedPlatform::acceptOnlyBytes(std::size_t n) { roomLeft_ = n; }

std::size_t ScriptedPlatform::pendingFaults() const {
    std::size_t pending = roomLeft_ ? 1 : 0;
    for (const auto& planned : faults_) pending += planned.size();
    return pending;
}

void ScriptedPlatform::clearFaults() {
    for (auto& planned : faults_) planned.clear();
    roomLeft_.reset();
}

int ScriptedPlatform::calls(FileOperation operation) const { return calls_[indexOf(operation)]; }

std::optional<int> ScriptedPlatform::dueFault(FileOperation operation) {
    ++calls_[indexOf(operation)];
    auto& planned = faults_[indexOf(operation)];
    if (planned.empty()) return std::nullopt;
    if (planned.front().skip > 0) {
        --planned.front().skip;
        return std::nullopt;
    }
    const int errnoValue = planned.front().errnoValue;
    planned.pop_front();
    return errnoValue;
}

std::optional<std::string> ScriptedPlatform::fileBytes(const std::u16string& drillPath) const {
    std::ifstream in(nativePathOf(drillPath), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::u16string ScriptedPlatform::inputBox(const std::u16string& prompt) {
    prompts.push_back(prompt);
    if (answers.empty()) throw std::logic_error("no answer queued for prompt: " + toUtf8(prompt));
    std::optional<std::u16string> answer = std::move(answers.front());
    answers.pop_front();
    return answer.value_or(std::u16string());
}

void ScriptedPlatform::messageBox(const std::u16string& text) { messages.push_back(text); }

float ScriptedPlatform::timer() { return seconds; }

std::u16string ScriptedPlatform::dateText() { return date; }

std::u16string ScriptedPlatform::timeText() { return time; }

float ScriptedPlatform::rnd() {
    if (randomValues.empty()) return PosixPlatform::rnd();
    const float value = randomValues.front();
    randomValues.pop_front();
    return value;
}

void ScriptedPlatform::randomize(float seed) {
    seeds.push_back(seed);
    PosixPlatform::randomize(seed);
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

int ScriptedPlatform::systemOpen(const std::filesystem::path& path, int flags, mode_t mode) {
    if (const auto fault = dueFault(FileOperation::open)) {
        errno = *fault;
        return -1;
    }
    return PosixPlatform::systemOpen(path, flags, mode);
}

int ScriptedPlatform::systemLock(int fd) {
    if (const auto fault = dueFault(FileOperation::lock)) {
        errno = *fault;
        return -1;
    }
    return PosixPlatform::systemLock(fd);
}

template <typename RealWrite>
ssize_t ScriptedPlatform::plannedWrite(std::size_t size, RealWrite realWrite) {
    if (const auto fault = dueFault(FileOperation::write)) {
        errno = *fault;
        return -1;
    }
    if (dieAfter_ && *dieAfter_ <= size) {
        if (*dieAfter_ > 0) realWrite(*dieAfter_);
        _exit(0);
    }
    if (dieAfter_) *dieAfter_ -= size;
    if (roomLeft_ && *roomLeft_ == 0 && size > 0) {
        roomLeft_.reset();
        errno = ENOSPC;
        return -1;
    }
    const ssize_t written = realWrite(roomLeft_ ? std::min(*roomLeft_, size) : size);
    if (written <= 0) return written;
    bytesWritten_ += static_cast<std::size_t>(written);
    if (roomLeft_) *roomLeft_ -= static_cast<std::size_t>(written);
    return written;
}

ssize_t ScriptedPlatform::systemWrite(int fd, const void* data, std::size_t size) {
    return plannedWrite(size, [&](std::size_t n) { return PosixPlatform::systemWrite(fd, data, n); });
}

ssize_t ScriptedPlatform::systemWriteAt(int fd, const void* data, std::size_t size, off_t offset) {
    return plannedWrite(size, [&](std::size_t n) { return PosixPlatform::systemWriteAt(fd, data, n, offset); });
}

int ScriptedPlatform::systemTruncate(int fd, off_t size) {
    if (const auto fault = dueFault(FileOperation::truncate)) {
        errno = *fault;
        return -1;
    }
    return PosixPlatform::systemTruncate(fd, size);
}

int ScriptedPlatform::systemRemove(const std::filesystem::path& path) {
    if (const auto fault = dueFault(FileOperation::remove)) {
        errno = *fault;
        return -1;
    }
    return PosixPlatform::systemRemove(path);
}

int ScriptedPlatform::systemFsync(int fd) {
    if (const auto fault = dueFault(FileOperation::fsync)) {
        errno = *fault;
        return -1;
    }
    return PosixPlatform::systemFsync(fd);
}

ssize_t ScriptedPlatform::systemRead(int fd, void* data, std::size_t size) {
    if (const auto fault = dueFault(FileOperation::read)) {
        errno = *fault;
        return -1;
    }
    return PosixPlatform::systemRead(fd, data, size);
}

int ScriptedPlatform::systemMakeDirectory(const std::filesystem::path& path, mode_t mode) {
    if (const auto fault = dueFault(FileOperation::makeDirectory)) {
        errno = *fault;
        return -1;
    }
    return PosixPlatform::systemMakeDirectory(path, mode);
}

}  // namespace qadrill::testing
