#include "platform/SystemPlatform.h"

#include <thread>
#include <utility>

#include "platform/LocalClock.h"
#include "platform/RuntimeError.h"

namespace qadrill {

namespace {

constexpr std::size_t readChunkSize = 64 * 1024;
constexpr auto lockRetryPause = std::chrono::milliseconds(10);

class HeldLock final {
public:
    HeldLock(NativeFiles& files, NativeFiles::Handle handle) : files_(files), handle_(handle) {}
    ~HeldLock() { files_.unlock(handle_); }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;

private:
    NativeFiles& files_;
    NativeFiles::Handle handle_;
};

}  // namespace

SystemPlatform::SystemPlatform(DriveMap driveMap, std::chrono::milliseconds lockWait)
    : driveMap_(std::move(driveMap)), lockWait_(lockWait) {}

std::filesystem::path SystemPlatform::nativePathOf(const std::u16string& path) const {
    auto native = nativePath(path, driveMap_);
    if (!native) throw RuntimeError(err::badFileName);
    return *native;
}

bool SystemPlatform::isOpen(int fileNumber) const {
    return fileNumber >= 1 && fileNumber <= maxFileNumber && files_[static_cast<std::size_t>(fileNumber)].has_value();
}

SystemPlatform::OpenFile& SystemPlatform::openFile(int fileNumber) {
    if (!isOpen(fileNumber)) throw RuntimeError(err::badFileName);
    return *files_[static_cast<std::size_t>(fileNumber)];
}

void SystemPlatform::makeDirectory(const std::u16string& path) {
    const std::filesystem::path native = nativePathOf(path);
    createDirectory(native);
    syncFolder(native.has_parent_path() ? native.parent_path() : std::filesystem::path("."));
}

void SystemPlatform::open(int fileNumber, const std::u16string& path, FileMode mode) {
    if (fileNumber < 1 || fileNumber > maxFileNumber) throw RuntimeError(err::badFileName);
    if (isOpen(fileNumber)) throw RuntimeError(err::fileAlreadyOpen);
    const std::filesystem::path native = nativePathOf(path);
    Handle handle = -1;
    switch (mode) {
        case FileMode::Input:
            handle = openInput(native);
            break;
        case FileMode::Output:
            handle = openOutput(native);
            break;
        case FileMode::Append:
            handle = openLog(native);
            break;
    }
    auto& slot = files_[static_cast<std::size_t>(fileNumber)];
    slot.emplace();
    slot->handle = handle;
    slot->mode = mode;
}

void SystemPlatform::write(int fileNumber, std::string_view bytes) {
    const OpenFile& file = openFile(fileNumber);
    if (file.mode == FileMode::Input) throw RuntimeError(err::badFileMode);
    if (bytes.empty()) return;
    lockForWrite(file.handle);
    const HeldLock held(*this, file.handle);
    writeLocked(file.handle, bytes);
}

void SystemPlatform::lockForWrite(Handle handle) {
    const auto deadline = std::chrono::steady_clock::now() + lockWait_;
    while (!tryLock(handle)) {
        if (std::chrono::steady_clock::now() >= deadline) throw RuntimeError(err::fileLocked);
        std::this_thread::sleep_for(lockRetryPause);
    }
}

void SystemPlatform::writeLocked(Handle handle, std::string_view bytes) {
    const std::uint64_t oldSize = sizeOf(handle);
    // Cut a failed write back off.  Best effort: the caller throws either way.
    const auto rollBack = [&] {
        try {
            truncateTo(handle, oldSize);
            sync(handle);
        } catch (const RuntimeError&) {
        }
    };
    try {
        // A short count on a regular file means the space or the size limit ran out.
        if (appendBytes(handle, bytes) != bytes.size()) throw RuntimeError(err::diskFull);
        sync(handle);
    } catch (const RuntimeError&) {
        rollBack();
        throw;
    }
}

std::string SystemPlatform::lineInput(int fileNumber) {
    OpenFile& file = openFile(fileNumber);
    if (file.mode != FileMode::Input) throw RuntimeError(err::badFileMode);
    auto line = file.lines.nextLine([this, &file] { return readChunk(file); });
    if (!line) throw RuntimeError(err::deviceIo);
    return *line;
}

bool SystemPlatform::endOfFile(int fileNumber) {
    OpenFile& file = openFile(fileNumber);
    if (file.mode != FileMode::Input) return true;
    return file.lines.atEnd([this, &file] { return readChunk(file); });
}

std::string SystemPlatform::readChunk(OpenFile& file) {
    std::string chunk = readAt(file.handle, file.readOffset, readChunkSize);
    file.readOffset += chunk.size();
    return chunk;
}

void SystemPlatform::close(int fileNumber) {
    if (!isOpen(fileNumber)) return;
    auto& slot = files_[static_cast<std::size_t>(fileNumber)];
    closeHandle(slot->handle);
    slot.reset();
}

void SystemPlatform::closeAll() { closeAllFiles(); }

void SystemPlatform::closeAllFiles() noexcept {
    for (auto& slot : files_) {
        if (!slot) continue;
        closeHandle(slot->handle);
        slot.reset();
    }
}

float SystemPlatform::timer() { return static_cast<float>(secondsSinceMidnight(localNow())); }

std::u16string SystemPlatform::dateText() { return dateTextOf(localNow().fields); }

std::u16string SystemPlatform::timeText() { return timeTextOf(localNow().fields); }

void SystemPlatform::randomize(float seed) { random_.seed(seed); }

float SystemPlatform::rnd() { return random_.next(); }

}  // namespace qadrill
