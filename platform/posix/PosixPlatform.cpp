#include "platform/posix/PosixPlatform.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <utility>

namespace qadrill {

PosixPlatform::PosixPlatform(DriveMap driveMap, std::chrono::milliseconds lockWait)
    : SystemPlatform(std::move(driveMap), lockWait), user_(::geteuid()) {
    // A write past the file size limit should fail with EFBIG (disk full to
    // the drill), not kill the process.
    std::signal(SIGXFSZ, SIG_IGN);
}

PosixPlatform::~PosixPlatform() { closeAllFiles(); }

void PosixPlatform::endProgram() {
    closeAll();
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    // At once: no exit handlers, no destructors of a half-finished handler.
    _exit(0);
}

int PosixPlatform::systemOpen(const std::filesystem::path& path, int flags, mode_t mode) {
    return ::open(path.c_str(), flags, mode);
}

int PosixPlatform::systemLock(int fd) { return ::flock(fd, LOCK_EX | LOCK_NB); }

ssize_t PosixPlatform::systemWrite(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }

ssize_t PosixPlatform::systemWriteAt(int fd, const void* data, std::size_t size, off_t offset) {
    return ::pwrite(fd, data, size, offset);
}

int PosixPlatform::systemTruncate(int fd, off_t size) { return ::ftruncate(fd, size); }

int PosixPlatform::systemFsync(int fd) { return ::fsync(fd); }

ssize_t PosixPlatform::systemRead(int fd, void* data, std::size_t size, off_t offset) {
    return ::pread(fd, data, size, offset);
}

int PosixPlatform::systemMakeDirectory(const std::filesystem::path& path, mode_t mode) {
    return ::mkdir(path.c_str(), mode);
}

}  // namespace qadrill
