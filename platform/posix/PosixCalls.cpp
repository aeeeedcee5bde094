// The system calls behind PosixFiles, the factory that picks them, and the
// program's last step on POSIX.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "platform/posix/PosixFiles.h"

namespace qadrill {

std::unique_ptr<SystemFiles> makeSystemFiles() { return std::make_unique<PosixFiles>(); }

void exitAtOnce() { _exit(0); }

PosixFiles::PosixFiles() : user_(::geteuid()) {
    // A write past the file size limit should fail with EFBIG (disk full to
    // the drill), not kill the process.
    std::signal(SIGXFSZ, SIG_IGN);
}

int PosixFiles::systemOpen(const std::filesystem::path& path, int flags, mode_t mode) {
    return ::open(path.c_str(), flags, mode);
}

int PosixFiles::systemLock(int fd) { return ::flock(fd, LOCK_EX | LOCK_NB); }

ssize_t PosixFiles::systemWrite(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }

ssize_t PosixFiles::systemWriteAt(int fd, const void* data, std::size_t size, off_t offset) {
    return ::pwrite(fd, data, size, offset);
}

int PosixFiles::systemTruncate(int fd, off_t size) { return ::ftruncate(fd, size); }

int PosixFiles::systemFsync(int fd) { return ::fsync(fd); }

ssize_t PosixFiles::systemRead(int fd, void* data, std::size_t size, off_t offset) {
    return ::pread(fd, data, size, offset);
}

int PosixFiles::systemMakeDirectory(const std::filesystem::path& path, mode_t mode) {
    return ::mkdir(path.c_str(), mode);
}

}  // namespace qadrill
