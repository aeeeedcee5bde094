// The system calls behind SystemFiles and the program's last step on POSIX.
#include "platform/posix/SystemCallsPosix.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

namespace qadrill {

void exitAtOnce() { _exit(0); }

SystemCalls::SystemCalls() : user_(::geteuid()) {
    // A write past the file size limit should fail with EFBIG (disk full to
    // the drill), not kill the process.
    std::signal(SIGXFSZ, SIG_IGN);
}

int SystemCalls::open(const std::filesystem::path& path, int flags, mode_t mode) {
    return ::open(path.c_str(), flags, mode);
}

int SystemCalls::lock(int fd) { return ::flock(fd, LOCK_EX | LOCK_NB); }

ssize_t SystemCalls::write(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }

ssize_t SystemCalls::writeAt(int fd, const void* data, std::size_t size, off_t offset) {
    return ::pwrite(fd, data, size, offset);
}

int SystemCalls::truncate(int fd, off_t size) { return ::ftruncate(fd, size); }

int SystemCalls::fsync(int fd) { return ::fsync(fd); }

ssize_t SystemCalls::read(int fd, void* data, std::size_t size, off_t offset) {
    return ::pread(fd, data, size, offset);
}

int SystemCalls::makeDirectory(const std::filesystem::path& path, mode_t mode) { return ::mkdir(path.c_str(), mode); }

}  // namespace qadrill
