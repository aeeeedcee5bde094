// The system's files on POSIX: descriptors, through SystemCalls so that
// injected faults reach the logs and the journal alike.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <utility>

#include "platform/RuntimeError.h"
#include "platform/posix/SystemCallsPosix.h"
#include "platform/system/ErrorTable.h"
#include "platform/system/SystemFiles.h"

namespace qadrill {

namespace {

[[noreturn]] void fail(int errnoValue, FileOperation operation, FileMode mode = FileMode::Append) {
    throw RuntimeError(runtimeErrorFor(errnoValue, operation, mode), systemErrorReason(errnoValue));
}

int descriptor(NativeFiles::Handle handle) { return static_cast<int>(handle); }

// Never through a link at the name, never waiting on a FIFO or a device.
constexpr int safeOpenFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;

// One look at the open file: a regular file with one name, the user's own
// where the file system keeps owners (one that shows every file as the
// mounting user's passes, as it should).  An empty file may be a new name,
// which is synced into its folder; then the descriptor is made blocking.
int checkedLog(SystemFiles& files, uid_t user, int fd, const std::filesystem::path& path, FileMode mode) {
    struct stat status {};
    const bool looked = ::fstat(fd, &status) == 0;
    const int error = looked ? EACCES : errno;
    if (!looked || !S_ISREG(status.st_mode) || status.st_nlink != 1 || status.st_uid != user) {
        ::close(fd);
        fail(error, FileOperation::open, mode);
    }
    try {
        if (status.st_size == 0) files.syncFolder(path.parent_path(), fd);
    } catch (...) {
        ::close(fd);
        throw;
    }
    const int flags = (mode == FileMode::Append ? O_APPEND : 0);
    if (::fcntl(fd, F_SETFL, flags) != 0) {
        const int fcntlError = errno;
        ::close(fd);
        fail(fcntlError, FileOperation::open, mode);
    }
    return fd;
}

}  // namespace

SystemFiles::SystemFiles() : SystemFiles(std::make_unique<SystemCalls>()) {}

SystemFiles::SystemFiles(std::unique_ptr<SystemCalls> calls) : calls_(std::move(calls)) {}

SystemFiles::~SystemFiles() = default;

NativeFiles::Handle SystemFiles::openInput(const std::filesystem::path& path) {
    const int fd = calls_->open(path, O_RDONLY | O_CLOEXEC, 0);
    if (fd < 0) fail(errno, FileOperation::open, FileMode::Input);
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(fd);
        fail(EISDIR, FileOperation::open, FileMode::Input);
    }
    return fd;
}

// Emptied only once it is known to be the user's own regular file.
NativeFiles::Handle SystemFiles::openOutput(const std::filesystem::path& path) {
    const int fd = descriptor(openChecked(path, FileMode::Output));
    while (calls_->truncate(fd, 0) != 0) {
        if (errno == EINTR) continue;
        const int error = errno;
        ::close(fd);
        fail(error, FileOperation::open, FileMode::Output);
    }
    return fd;
}

// A log is also opened for reading: recovery compares what it holds.
NativeFiles::Handle SystemFiles::openLog(const std::filesystem::path& path) {
    return openChecked(path, FileMode::Append);
}

std::optional<NativeFiles::Handle> SystemFiles::openExistingLog(const std::filesystem::path& path) {
    const int fd = calls_->open(path, O_RDWR | O_APPEND | safeOpenFlags, 0);
    if (fd < 0 && errno == ENOENT) return std::nullopt;
    if (fd < 0) fail(errno, FileOperation::open);
    return checkedLog(*this, calls_->user(), fd, path, FileMode::Append);
}

NativeFiles::Handle SystemFiles::openChecked(const std::filesystem::path& path, FileMode mode) {
    const int flags = mode == FileMode::Output ? O_WRONLY | O_CREAT : O_RDWR | O_APPEND | O_CREAT;
    const int fd = calls_->open(path, flags | safeOpenFlags, 0666);
    if (fd < 0) fail(errno, FileOperation::open, mode);
    return checkedLog(*this, calls_->user(), fd, path, mode);
}

FileIdentity SystemFiles::identityOf(Handle handle) {
    struct stat status {};
    if (::fstat(descriptor(handle), &status) != 0) fail(errno, FileOperation::read);
    return {std::uint64_t{status.st_dev}, std::uint64_t{status.st_ino}};
}

std::filesystem::path SystemFiles::canonicalFolder(const std::filesystem::path& folder) {
    const std::unique_ptr<char, decltype(&::free)> resolved(::realpath(folder.empty() ? "." : folder.c_str(), nullptr),
                                                            &::free);
    return resolved ? std::filesystem::path(resolved.get()) : folder;
}

void SystemFiles::createDirectory(const std::filesystem::path& path) {
    if (calls_->makeDirectory(path, 0777) != 0) fail(errno, FileOperation::makeDirectory);
}

// Missing parents are made as the base folders of the user's state are:
// private.  The last one must be a folder of the user's, reached as it is.
void SystemFiles::makePrivateFolder(const std::filesystem::path& folder) {
    std::filesystem::path made;
    for (const auto& part : folder) {
        made /= part;
        if (calls_->makeDirectory(made, 0700) != 0 && errno != EEXIST) fail(errno, FileOperation::makeDirectory);
    }
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0) fail(errno, FileOperation::open);
    if (!S_ISDIR(status.st_mode) || status.st_uid != calls_->user()) fail(EACCES, FileOperation::open);
    if ((status.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0) fail(errno, FileOperation::open);
}

NativeFiles::Handle SystemFiles::openJournal(const std::filesystem::path& path, bool& created) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        int fd = calls_->open(path, O_RDWR | O_CLOEXEC | O_NOFOLLOW, 0);
        if (fd >= 0) {
            created = false;
            return fd;
        }
        if (errno != ENOENT) fail(errno, FileOperation::open);
        fd = calls_->open(path, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd >= 0) {
            created = true;
            return fd;
        }
        if (errno != EEXIST) fail(errno, FileOperation::open);
    }
    fail(EBUSY, FileOperation::open);
}

void SystemFiles::closeHandle(Handle handle) noexcept { ::close(descriptor(handle)); }

// A new name is durable only once its folder is synced.  A folder that cannot
// be opened (one the user may write but not read, or no descriptor left) or
// synced is covered by syncing the whole file system that holds the file.
void SystemFiles::syncFolder(const std::filesystem::path& folder, std::optional<Handle> inside) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int error = fd < 0 ? errno : 0;
    if (fd >= 0) {
        while (::fsync(fd) != 0) {
            if (errno == EINTR) continue;
            error = errno;
            break;
        }
        ::close(fd);
    }
    if (error == 0 || error == EROFS) return;
    if (!inside) fail(error, FileOperation::fsync);
    if (::syncfs(descriptor(*inside)) != 0) fail(errno, FileOperation::fsync);
}

bool SystemFiles::tryLock(Handle handle) {
    while (calls_->lock(descriptor(handle)) != 0) {
        if (errno == EINTR) continue;
        // flock's one word for a lock held elsewhere (EAGAIN's value here).
        if (errno == EWOULDBLOCK) return false;
        fail(errno, FileOperation::lock);
    }
    return true;
}

void SystemFiles::unlock(Handle handle) noexcept { ::flock(descriptor(handle), LOCK_UN); }

// The end of the file is its size: one call, no status block.
std::uint64_t SystemFiles::sizeOf(Handle handle) {
    const off_t end = ::lseek(descriptor(handle), 0, SEEK_END);
    if (end < 0) fail(errno, FileOperation::read);
    return static_cast<std::uint64_t>(end);
}

std::string SystemFiles::readAt(Handle handle, std::uint64_t offset, std::size_t count) {
    std::string bytes(count, '\0');
    std::size_t got = 0;
    while (got < count) {
        const ssize_t n =
            calls_->read(descriptor(handle), bytes.data() + got, count - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail(errno, FileOperation::read, FileMode::Input);
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

std::size_t SystemFiles::appendBytes(Handle handle, std::string_view bytes) {
    for (;;) {
        const ssize_t n = calls_->write(descriptor(handle), bytes.data(), bytes.size());
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) fail(errno, FileOperation::write);
    }
}

void SystemFiles::writeAt(Handle handle, std::uint64_t offset, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = calls_->writeAt(descriptor(handle), bytes.data(), bytes.size(), static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail(errno, FileOperation::write);
        if (n == 0) fail(ENOSPC, FileOperation::write);  // no room, though the system named no error
        bytes.remove_prefix(static_cast<std::size_t>(n));
        offset += static_cast<std::uint64_t>(n);
    }
}

void SystemFiles::truncateTo(Handle handle, std::uint64_t size) {
    while (calls_->truncate(descriptor(handle), static_cast<off_t>(size)) != 0) {
        if (errno != EINTR) fail(errno, FileOperation::truncate);
    }
    // A file written without O_APPEND goes on from its position: no gap.
    ::lseek(descriptor(handle), static_cast<off_t>(size), SEEK_SET);
}

void SystemFiles::sync(Handle handle) {
    while (calls_->fsync(descriptor(handle)) != 0) {
        if (errno != EINTR) fail(errno, FileOperation::fsync);
    }
}

NativeFiles::Handle SystemFiles::openRegularInput(const std::filesystem::path& path) {
    const int fd = calls_->open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK, 0);
    if (fd < 0) fail(errno, FileOperation::open, FileMode::Input);
    struct stat status {};
    const bool looked = ::fstat(fd, &status) == 0;
    const int error = looked ? 0 : errno;
    if (looked && S_ISREG(status.st_mode)) return fd;
    ::close(fd);
    if (!looked) fail(error, FileOperation::open, FileMode::Input);
    if (S_ISDIR(status.st_mode)) fail(EISDIR, FileOperation::open, FileMode::Input);
    throw RuntimeError(err::accessDenied, "not a regular file");
}

}  // namespace qadrill
