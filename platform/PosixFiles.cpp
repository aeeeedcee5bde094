// The sequential files of PosixPlatform.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "platform/PosixPlatform.h"
#include "platform/RuntimeError.h"

namespace qadrill {

namespace {

// Reading from a file opened for writing, or the reverse.
constexpr std::size_t readChunkSize = 64 * 1024;
constexpr auto lockRetryPause = std::chrono::milliseconds(10);

[[noreturn]] void fail(int errnoValue, FileOperation operation, FileMode mode = FileMode::Append) {
    throw RuntimeError(runtimeErrorFor(errnoValue, operation, mode));
}

// A new name is durable only once its directory is synced.
void syncDirectoryOf(const std::filesystem::path& file) {
    const std::filesystem::path parent = file.has_parent_path() ? file.parent_path() : ".";
    const int fd = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    // Some file systems cannot sync a directory at all; that is not a fault.
    if (result != 0 && error != EINVAL && error != EROFS) fail(error, FileOperation::fsync);
}

// Cut a failed write back off.  Best effort: the caller throws either way.
void rollBack(int fd, off_t oldSize) {
    if (::ftruncate(fd, oldSize) == 0) {
        ::fsync(fd);
    }
    ::lseek(fd, oldSize, SEEK_SET);
}

class HeldLock final {
public:
    explicit HeldLock(int fd) : fd_(fd) {}
    ~HeldLock() { ::flock(fd_, LOCK_UN); }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;

private:
    int fd_;
};

}  // namespace

bool PosixPlatform::isOpen(int fileNumber) const {
    return fileNumber >= 1 && fileNumber <= maxFileNumber && files_[static_cast<std::size_t>(fileNumber)].has_value();
}

PosixPlatform::OpenFile& PosixPlatform::openFile(int fileNumber) {
    if (!isOpen(fileNumber)) throw RuntimeError(err::badFileName);
    return *files_[static_cast<std::size_t>(fileNumber)];
}

void PosixPlatform::makeDirectory(const std::u16string& path) {
    const std::filesystem::path native = nativePathOf(path);
    if (systemMakeDirectory(native, 0777) != 0) fail(errno, FileOperation::makeDirectory);
    syncDirectoryOf(native);
}

void PosixPlatform::open(int fileNumber, const std::u16string& path, FileMode mode) {
    if (fileNumber < 1 || fileNumber > maxFileNumber) throw RuntimeError(err::badFileName);
    if (isOpen(fileNumber)) throw RuntimeError(err::fileAlreadyOpen);
    const int fd = openNative(nativePathOf(path), mode);
    auto& slot = files_[static_cast<std::size_t>(fileNumber)];
    slot.emplace();
    slot->fd = fd;
    slot->mode = mode;
}

int PosixPlatform::openNative(const std::filesystem::path& native, FileMode mode) {
    if (mode != FileMode::Input) return openWritable(native, mode);
    const int fd = systemOpen(native, O_RDONLY | O_CLOEXEC, 0);
    if (fd < 0) fail(errno, FileOperation::open, mode);
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(fd);
        fail(EISDIR, FileOperation::open, mode);
    }
    return fd;
}

// Creating with O_EXCL first tells us whether the name is new and so whether
// the directory needs a sync.  A name that vanishes in between is tried again.
int PosixPlatform::openWritable(const std::filesystem::path& native, FileMode mode) {
    const int flags = O_WRONLY | O_CLOEXEC | (mode == FileMode::Append ? O_APPEND : O_TRUNC);
    for (int attempt = 0; attempt < 3; ++attempt) {
        int fd = systemOpen(native, flags | O_CREAT | O_EXCL, 0666);
        if (fd >= 0) {
            try {
                syncDirectoryOf(native);
            } catch (...) {
                ::close(fd);
                throw;
            }
            return fd;
        }
        if (errno != EEXIST) fail(errno, FileOperation::open, mode);
        fd = systemOpen(native, flags, 0);
        if (fd >= 0) return fd;
        if (errno != ENOENT) fail(errno, FileOperation::open, mode);
    }
    fail(EBUSY, FileOperation::open, mode);
}

void PosixPlatform::write(int fileNumber, std::string_view bytes) {
    const OpenFile& file = openFile(fileNumber);
    if (file.mode == FileMode::Input) throw RuntimeError(err::badFileMode);
    if (bytes.empty()) return;
    lockForWrite(file.fd);
    const HeldLock held(file.fd);
    writeLocked(file.fd, bytes);
}

void PosixPlatform::lockForWrite(int fd) {
    const auto deadline = std::chrono::steady_clock::now() + lockWait_;
    while (systemLock(fd) != 0) {
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK && errno != EAGAIN) fail(errno, FileOperation::lock);
        if (std::chrono::steady_clock::now() >= deadline) throw RuntimeError(err::fileLocked);
        std::this_thread::sleep_for(lockRetryPause);
    }
}

void PosixPlatform::writeLocked(int fd, std::string_view bytes) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) fail(errno, FileOperation::write);
    const off_t oldSize = status.st_size;
    const ssize_t written = systemWrite(fd, bytes.data(), bytes.size());
    const int writeError = errno;
    if (written < 0 || static_cast<std::size_t>(written) != bytes.size()) {
        rollBack(fd, oldSize);
        // A short count on a regular file means the space or the size limit ran out.
        if (written >= 0) throw RuntimeError(err::diskFull);
        fail(writeError, FileOperation::write);
    }
    if (systemFsync(fd) != 0) {
        const int syncError = errno;
        rollBack(fd, oldSize);
        fail(syncError, FileOperation::fsync);
    }
}

std::string PosixPlatform::lineInput(int fileNumber) {
    OpenFile& file = openFile(fileNumber);
    if (file.mode != FileMode::Input) throw RuntimeError(err::badFileMode);
    auto line = file.lines.nextLine([this, fd = file.fd] { return readChunk(fd); });
    if (!line) throw RuntimeError(err::deviceIo);
    return *line;
}

bool PosixPlatform::endOfFile(int fileNumber) {
    OpenFile& file = openFile(fileNumber);
    if (file.mode != FileMode::Input) return true;
    return file.lines.atEnd([this, fd = file.fd] { return readChunk(fd); });
}

std::string PosixPlatform::readChunk(int fd) {
    std::string chunk(readChunkSize, '\0');
    ssize_t got = -1;
    do {
        got = systemRead(fd, chunk.data(), chunk.size());
    } while (got < 0 && errno == EINTR);
    if (got < 0) fail(errno, FileOperation::read);
    chunk.resize(static_cast<std::size_t>(got));
    return chunk;
}

void PosixPlatform::close(int fileNumber) {
    if (!isOpen(fileNumber)) return;
    auto& slot = files_[static_cast<std::size_t>(fileNumber)];
    ::close(slot->fd);
    slot.reset();
}

void PosixPlatform::closeAll() {
    for (int number = 1; number <= maxFileNumber; ++number) close(number);
}

}  // namespace qadrill
