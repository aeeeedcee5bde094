#include "tests/support/FaultyPosix.h"

#include <cerrno>

namespace qadrill::testing {

namespace {

// Fails a call with the planned errno, if one is due.
template <typename Result>
bool failed(const std::optional<int>& fault, Result& result) {
    if (!fault) return false;
    errno = *fault;
    result = -1;
    return true;
}

}  // namespace

int FaultyHost::systemOpen(const std::filesystem::path& path, int flags, mode_t mode) {
    int result = 0;
    if (failed(dueFault(FileOperation::open), result)) return result;
    return PosixPlatform::systemOpen(path, flags, mode);
}

int FaultyHost::systemLock(int fd) {
    int result = 0;
    if (failed(dueFault(FileOperation::lock), result)) return result;
    return PosixPlatform::systemLock(fd);
}

template <typename RealWrite>
ssize_t FaultyHost::plannedWrite(std::size_t size, RealWrite realWrite) {
    const WritePlan plan = planWrite(size);
    if (plan.errnoValue) {
        errno = *plan.errnoValue;
        return -1;
    }
    const ssize_t written = realWrite(plan.allowed);
    if (written > 0) wrote(static_cast<std::size_t>(written));
    return written;
}

ssize_t FaultyHost::systemWrite(int fd, const void* data, std::size_t size) {
    return plannedWrite(size, [&](std::size_t n) { return PosixPlatform::systemWrite(fd, data, n); });
}

ssize_t FaultyHost::systemWriteAt(int fd, const void* data, std::size_t size, off_t offset) {
    return plannedWrite(size, [&](std::size_t n) { return PosixPlatform::systemWriteAt(fd, data, n, offset); });
}

int FaultyHost::systemTruncate(int fd, off_t size) {
    int result = 0;
    if (failed(dueFault(FileOperation::truncate), result)) return result;
    return PosixPlatform::systemTruncate(fd, size);
}

int FaultyHost::systemFsync(int fd) {
    int result = 0;
    if (failed(dueFault(FileOperation::fsync), result)) return result;
    return PosixPlatform::systemFsync(fd);
}

ssize_t FaultyHost::systemRead(int fd, void* data, std::size_t size, off_t offset) {
    ssize_t result = 0;
    if (failed(dueFault(FileOperation::read), result)) return result;
    return PosixPlatform::systemRead(fd, data, size, offset);
}

int FaultyHost::systemMakeDirectory(const std::filesystem::path& path, mode_t mode) {
    int result = 0;
    if (failed(dueFault(FileOperation::makeDirectory), result)) return result;
    return PosixPlatform::systemMakeDirectory(path, mode);
}

}  // namespace qadrill::testing
