// The file operations on descriptors, through the system-call hooks so that
// injected faults reach the logs and the journal alike.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/RuntimeError.h"
#include "platform/posix/PosixFiles.h"
#include "platform/system/ErrorTable.h"

namespace qadrill {

namespace {

[[noreturn]] void fail(int errnoValue, FileOperation operation, FileMode mode = FileMode::Append) {
    throw RuntimeError(runtimeErrorFor(errnoValue, operation, mode), systemErrorReason(errnoValue));
}

int descriptor(NativeFiles::Handle handle) { return static_cast<int>(handle); }

}  // namespace

NativeFiles::Handle PosixFiles::openInput(const std::filesystem::path& path) {
    const int fd = systemOpen(path, O_RDONLY | O_CLOEXEC, 0);
    if (fd < 0) fail(errno, FileOperation::open, FileMode::Input);
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(fd);
        fail(EISDIR, FileOperation::open, FileMode::Input);
    }
    return fd;
}

NativeFiles::Handle PosixFiles::openOutput(const std::filesystem::path& path) {
    return openWritable(path, O_WRONLY | O_TRUNC);
}

// A log is also opened for reading: recovery compares what it holds.
NativeFiles::Handle PosixFiles::openLog(const std::filesystem::path& path) {
    return openWritable(path, O_RDWR | O_APPEND);
}

// Creating with O_EXCL first tells us whether the name is new and so whether
// the folder needs a sync.  A name that vanishes in between is tried again.
int PosixFiles::openWritable(const std::filesystem::path& native, int modeFlags) {
    const FileMode mode = (modeFlags & O_APPEND) != 0 ? FileMode::Append : FileMode::Output;
    const int flags = O_CLOEXEC | modeFlags;
    for (int attempt = 0; attempt < 3; ++attempt) {
        int fd = systemOpen(native, flags | O_CREAT | O_EXCL, 0666);
        if (fd >= 0) {
            try {
                syncFolder(native.parent_path());
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

void PosixFiles::createDirectory(const std::filesystem::path& path) {
    if (systemMakeDirectory(path, 0777) != 0) fail(errno, FileOperation::makeDirectory);
}

NativeFiles::Handle PosixFiles::createJournal(const std::filesystem::path& path) {
    const int fd = systemOpen(path, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) fail(errno, FileOperation::open);
    return fd;
}

std::optional<std::string> PosixFiles::readWhole(const std::filesystem::path& path) {
    const int fd = systemOpen(path, O_RDONLY | O_CLOEXEC, 0);
    if (fd < 0) {
        if (errno == ENOENT) return std::nullopt;
        fail(errno, FileOperation::open, FileMode::Input);
    }
    std::string whole;
    try {
        for (std::string chunk = readAt(fd, 0, readChunkSize); !chunk.empty();
             chunk = readAt(fd, whole.size(), readChunkSize))
            whole += chunk;
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
    return whole;
}

void PosixFiles::closeHandle(Handle handle) noexcept { ::close(descriptor(handle)); }

void PosixFiles::removeFile(const std::filesystem::path& path) {
    if (systemRemove(path) != 0 && errno != ENOENT) fail(errno, FileOperation::remove);
}

// A new or removed name is durable only once its folder is synced.
void PosixFiles::syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    // Some file systems cannot sync a folder at all; that is not a fault.
    if (result != 0 && error != EINVAL && error != EROFS) fail(error, FileOperation::fsync);
}

bool PosixFiles::tryLock(Handle handle) {
    while (systemLock(descriptor(handle)) != 0) {
        if (errno == EINTR) continue;
        if (errno == EWOULDBLOCK || errno == EAGAIN) return false;
        fail(errno, FileOperation::lock);
    }
    return true;
}

void PosixFiles::unlock(Handle handle) noexcept { ::flock(descriptor(handle), LOCK_UN); }

std::uint64_t PosixFiles::sizeOf(Handle handle) {
    struct stat status {};
    if (::fstat(descriptor(handle), &status) != 0) fail(errno, FileOperation::write);
    return static_cast<std::uint64_t>(status.st_size);
}

std::string PosixFiles::readAt(Handle handle, std::uint64_t offset, std::size_t count) {
    std::string bytes(count, '\0');
    std::size_t got = 0;
    while (got < count) {
        const ssize_t n =
            systemRead(descriptor(handle), bytes.data() + got, count - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail(errno, FileOperation::read, FileMode::Input);
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

std::size_t PosixFiles::appendBytes(Handle handle, std::string_view bytes) {
    for (;;) {
        const ssize_t n = systemWrite(descriptor(handle), bytes.data(), bytes.size());
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) fail(errno, FileOperation::write);
    }
}

void PosixFiles::writeAt(Handle handle, std::uint64_t offset, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = systemWriteAt(descriptor(handle), bytes.data(), bytes.size(), static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail(errno, FileOperation::write);
        if (n == 0) fail(ENOSPC, FileOperation::write);  // no room, though the system named no error
        bytes.remove_prefix(static_cast<std::size_t>(n));
        offset += static_cast<std::uint64_t>(n);
    }
}

void PosixFiles::truncateTo(Handle handle, std::uint64_t size) {
    while (systemTruncate(descriptor(handle), static_cast<off_t>(size)) != 0) {
        if (errno != EINTR) fail(errno, FileOperation::truncate);
    }
    // A file written without O_APPEND goes on from its position: no gap.
    ::lseek(descriptor(handle), static_cast<off_t>(size), SEEK_SET);
}

void PosixFiles::sync(Handle handle) {
    while (systemFsync(descriptor(handle)) != 0) {
        if (errno != EINTR) fail(errno, FileOperation::fsync);
    }
}

}  // namespace qadrill
