#include <algorithm>
#include <cerrno>

#include "tests/support/FaultyPosix.h"

namespace qadrill::testing {

int FaultyHost::systemOpen(const std::filesystem::path& path, int flags, mode_t mode) {
    if (const auto fault = dueFault(FileOperation::open)) {
        errno = *fault;
        return -1;
    }
    return PosixPlatform::systemOpen(path, flags, mode);
}

int FaultyHost::systemLock(int fd) {
    if (const auto fault = dueFault(FileOperation::lock)) {
        errno = *fault;
        return -1;
    }
    return PosixPlatform::systemLock(fd);
}

ssize_t FaultyHost::systemWrite(int fd, const void* data, std::size_t size) {
    if (const auto fault = dueFault(FileOperation::write)) {
        errno = *fault;
        return -1;
    }
    const auto acceptedBytes = takeAcceptedBytes();
    if (!acceptedBytes) return PosixPlatform::systemWrite(fd, data, size);
    const std::size_t accepted = std::min(*acceptedBytes, size);
    if (accepted > 0 && PosixPlatform::systemWrite(fd, data, accepted) < 0) return -1;
    if (accepted > 0 && accepted < size) return static_cast<ssize_t>(accepted);
    errno = ENOSPC;
    return -1;
}

int FaultyHost::systemFsync(int fd) {
    if (const auto fault = dueFault(FileOperation::fsync)) {
        errno = *fault;
        return -1;
    }
    return PosixPlatform::systemFsync(fd);
}

ssize_t FaultyHost::systemRead(int fd, void* data, std::size_t size) {
    if (const auto fault = dueFault(FileOperation::read)) {
        errno = *fault;
        return -1;
    }
    return PosixPlatform::systemRead(fd, data, size);
}

int FaultyHost::systemMakeDirectory(const std::filesystem::path& path, mode_t mode) {
    if (const auto fault = dueFault(FileOperation::makeDirectory)) {
        errno = *fault;
        return -1;
    }
    return PosixPlatform::systemMakeDirectory(path, mode);
}

}  // namespace qadrill::testing
