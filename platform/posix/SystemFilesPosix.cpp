// The system's files on POSIX: descriptors, through SystemCalls so that
// injected faults reach the logs and the journal alike.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/RuntimeError.h"
#include "platform/journal/JournalFormat.h"
#include "platform/posix/SystemCallsPosix.h"
#include "platform/system/ErrorTable.h"
#include "platform/system/FileRefusals.h"
#include "platform/system/SystemFiles.h"

namespace qadrill {

namespace {

[[noreturn]] void fail(int errnoValue, FileOperation operation, FileMode mode = FileMode::Append) {
    throw RuntimeError(runtimeErrorFor(errnoValue, operation, mode), systemErrorReason(errnoValue));
}

// What stands at a log's name that the drill will not use, in words that say
// what the student meets; always error 75.
[[noreturn]] void refuse(std::string_view why) { throw RuntimeError(err::accessDenied, std::string(why)); }

using refusal::aLink;
using refusal::notAFile;
using refusal::othersMayWrite;
using refusal::ownedByAnother;
using refusal::secondName;

int descriptor(NativeFiles::Handle handle) { return static_cast<int>(handle); }

// Never through a link at the name, never waiting on a FIFO or a device
// (harmless on the regular file that is all the drill keeps).
constexpr int safeOpenFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;

// An open that met a link at the name says so, and one denied a file of
// another user's says whose it is.
[[noreturn]] void failOpen(int errnoValue, FileMode mode, const std::filesystem::path& path, uid_t user) {
    if (errnoValue == ELOOP) refuse(aLink);
    struct stat status {};
    if (errnoValue == EACCES && ::lstat(path.c_str(), &status) == 0 && status.st_uid != user) refuse(ownedByAnother);
    fail(errnoValue, FileOperation::open, mode);
}

// Why the file is not one the drill keeps: a regular file with one name, the
// user's own where the file system keeps owners (one that shows every file
// as the mounting user's passes, as it should).  Empty when it is.
std::string_view brokenRule(const struct stat& status, uid_t user) {
    if (!S_ISREG(status.st_mode)) return notAFile;
    if (status.st_uid != user) return ownedByAnother;
    if (status.st_nlink != 1) return secondName;
    return {};
}

// Closes the descriptor when the body throws.
template <typename Body>
void orClose(int fd, Body&& body) {
    try {
        body();
    } catch (...) {
        ::close(fd);
        throw;
    }
}

struct stat statusOf(int fd, FileMode mode) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) fail(errno, FileOperation::open, mode);
    return status;
}

// One look at the open file under the rules.  An empty file may be a new
// name, which is synced into its folder.  A log others may read or write,
// from before the drill made them private, is made the user's alone; where
// the file system keeps no such bits that does not matter.
void checkLog(SystemFiles& files, uid_t user, int fd, const std::filesystem::path& path, FileMode mode,
              const struct stat& status) {
    if (const auto why = brokenRule(status, user); !why.empty()) refuse(why);
    if ((status.st_mode & 077) != 0) static_cast<void>(::fchmod(fd, status.st_mode & 0700));
    if (status.st_size == 0 && mode != FileMode::Input) files.syncFolder(path.parent_path(), fd);
}

// A journal keeps the logs' rules, and nobody else may write it.
std::string_view brokenJournalRule(int fd, uid_t user) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) return notAFile;
    if (const auto why = brokenRule(status, user); !why.empty()) return why;
    if ((status.st_mode & 022) != 0) return othersMayWrite;
    return {};
}

// The errors of an open that mean something else stands at the name.
bool somethingElseThere(int errnoValue) {
    return errnoValue == ELOOP || errnoValue == EACCES || errnoValue == EPERM || errnoValue == ENXIO ||
           errnoValue == ENODEV || errnoValue == EISDIR || errnoValue == ETXTBSY;
}

}  // namespace

SystemFiles::SystemFiles() : SystemFiles(std::make_unique<SystemCalls>()) {}

SystemFiles::SystemFiles(std::unique_ptr<SystemCalls> calls) : calls_(std::move(calls)) {}

SystemFiles::~SystemFiles() = default;

// Under the logs' rules: the notes log is read back for the student to see.
NativeFiles::Handle SystemFiles::openInput(const std::filesystem::path& path) {
    const int fd = calls_->open(path, O_RDONLY | safeOpenFlags, 0);
    if (fd < 0) failOpen(errno, FileMode::Input, path, calls_->user());
    orClose(fd, [&] { checkLog(*this, calls_->user(), fd, path, FileMode::Input, statusOf(fd, FileMode::Input)); });
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
    if (fd < 0) failOpen(errno, FileMode::Append, path, calls_->user());
    orClose(fd, [&] { checkLog(*this, calls_->user(), fd, path, FileMode::Append, statusOf(fd, FileMode::Append)); });
    return fd;
}

// A log opened for appending is looked at once its lock is tried (tryLock),
// so that one look gives both the rules and the size the journal records.
// A file to be emptied is looked at before anything else.
NativeFiles::Handle SystemFiles::openChecked(const std::filesystem::path& path, FileMode mode) {
    const int flags = mode == FileMode::Output ? O_WRONLY | O_CREAT : O_RDWR | O_APPEND | O_CREAT;
    const int fd = calls_->open(path, flags | safeOpenFlags, 0600);
    if (fd < 0) failOpen(errno, mode, path, calls_->user());
    if (mode == FileMode::Append) {
        logPaths_[fd] = path;
        return fd;
    }
    orClose(fd, [&] { checkLog(*this, calls_->user(), fd, path, mode, statusOf(fd, mode)); });
    return fd;
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

// Every folder on the way is the user's or the system's, and no one else
// may write it unless it has the sticky bit (as /tmp has); missing ones are
// made as the base folders of the user's state are, private, and each new
// name is synced into its parent.  The last one must be a folder of the
// user's, reached as it is.
void SystemFiles::makePrivateFolder(const std::filesystem::path& folder) {
    const uid_t user = calls_->user();
    std::filesystem::path made;
    for (const auto& part : folder) {
        made /= part;
        struct stat status {};
        if (::stat(made.c_str(), &status) != 0) {
            if (errno != ENOENT) fail(errno, FileOperation::makeDirectory);
            if (calls_->makeDirectory(made, 0700) != 0 && errno != EEXIST) fail(errno, FileOperation::makeDirectory);
            syncFolder(made.parent_path(), std::nullopt);
            continue;
        }
        const bool owned = status.st_uid == user || status.st_uid == 0;
        const bool othersWrite = (status.st_mode & 022) != 0 && (status.st_mode & S_ISVTX) == 0;
        if (made != folder && (!S_ISDIR(status.st_mode) || !owned || othersWrite))
            throw RuntimeError(err::accessDenied, "Another user may change this folder", pathBytes(made));
    }
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0) fail(errno, FileOperation::open);
    if (!S_ISDIR(status.st_mode)) refuse("Not a folder");
    if (status.st_uid != user) refuse("Another user owns this folder");
    if ((status.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0) fail(errno, FileOperation::open);
}

NativeFiles::Handle SystemFiles::openJournal(const std::filesystem::path& path, bool& created) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        int fd = calls_->open(path, O_RDWR | safeOpenFlags, 0);
        if (fd < 0 && errno == ENOENT) {
            fd = calls_->open(path, O_RDWR | O_CREAT | O_EXCL | safeOpenFlags, 0600);
            if (fd < 0 && errno == EEXIST) continue;
            created = true;
        } else {
            created = false;
        }
        if (fd < 0) failOpen(errno, FileMode::Output, path, calls_->user());
        if (const auto why = brokenJournalRule(fd, calls_->user()); !why.empty()) {
            ::close(fd);
            refuse(why);
        }
        return fd;
    }
    fail(EBUSY, FileOperation::open);
}

std::optional<NativeFiles::Handle> SystemFiles::openExistingJournal(const std::filesystem::path& path) {
    const int fd = calls_->open(path, O_RDWR | safeOpenFlags, 0);
    if (fd < 0 && (errno == ENOENT || somethingElseThere(errno))) return std::nullopt;
    if (fd < 0) fail(errno, FileOperation::open);
    if (!brokenJournalRule(fd, calls_->user()).empty()) {
        ::close(fd);
        return std::nullopt;
    }
    return fd;
}

std::optional<NativeFiles::Handle> SystemFiles::openFolderJournal(const std::filesystem::path& path, bool& created) {
    try {
        return openJournal(path, created);
    } catch (const RuntimeError& error) {
        if (error.number() == err::accessDenied) return std::nullopt;
        throw;
    }
}

void SystemFiles::closeHandle(Handle handle) noexcept {
    lockedSizes_.erase(handle);
    logPaths_.erase(handle);
    ::close(descriptor(handle));
}

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

// A log not yet looked at is looked at under its lock, and its size kept
// from that look; when the lock is busy it is looked at at once, so what
// another user put there is refused, never waited for.
bool SystemFiles::tryLock(Handle handle) {
    if (lockedSizes_.contains(handle)) return true;
    bool locked = true;
    while (calls_->lock(descriptor(handle)) != 0) {
        if (errno == EINTR) continue;
        // flock's one word for a lock held elsewhere (EAGAIN's value here).
        if (errno != EWOULDBLOCK) fail(errno, FileOperation::lock);
        locked = false;
        break;
    }
    const auto unchecked = logPaths_.find(handle);
    if (unchecked == logPaths_.end()) return locked;
    const struct stat status = statusOf(descriptor(handle), FileMode::Append);
    if (!locked) {
        if (const auto why = brokenRule(status, calls_->user()); !why.empty()) refuse(why);
        return false;
    }
    checkLog(*this, calls_->user(), descriptor(handle), unchecked->second, FileMode::Append, status);
    logPaths_.erase(unchecked);
    lockedSizes_[handle] = static_cast<std::uint64_t>(status.st_size);
    return true;
}

void SystemFiles::unlock(Handle handle) noexcept {
    lockedSizes_.erase(handle);
    ::flock(descriptor(handle), LOCK_UN);
}

// The end of the file is its size: one call, no status block; a log whose
// lock was taken as it was opened keeps the size seen then, under the lock.
std::uint64_t SystemFiles::sizeOf(Handle handle) {
    if (const auto held = lockedSizes_.find(handle); held != lockedSizes_.end()) return held->second;
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
        if (n >= 0) {
            if (const auto held = lockedSizes_.find(handle); held != lockedSizes_.end())
                held->second += static_cast<std::uint64_t>(n);
            return static_cast<std::size_t>(n);
        }
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
    if (const auto held = lockedSizes_.find(handle); held != lockedSizes_.end()) held->second = size;
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
