// The sequential files of PosixPlatform.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/Journal.h"

#include "platform/PosixPlatform.h"
#include "platform/RuntimeError.h"

namespace qadrill {

namespace {

constexpr std::size_t readChunkSize = 64 * 1024;

[[noreturn]] void fail(int errnoValue, FileOperation operation, FileMode mode = FileMode::Append) {
    throw RuntimeError(runtimeErrorFor(errnoValue, operation, mode));
}

// A new or removed name is durable only once its folder is synced.
void syncFolderOf(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    // Some file systems cannot sync a folder at all; that is not a fault.
    if (result != 0 && error != EINVAL && error != EROFS) fail(error, FileOperation::fsync);
}

void syncDirectoryOf(const std::filesystem::path& file) { syncFolderOf(file.parent_path()); }

}  // namespace

// The journal's file operations on descriptors, through the platform's
// system-call hooks so that injected faults reach the journal too.
class PosixPlatform::SystemFiles final : public NativeFiles {
public:
    explicit SystemFiles(PosixPlatform& platform) : platform_(platform) {}

    Handle openLog(const std::filesystem::path& path) override {
        return platform_.openWritable(path, FileMode::Append);
    }

    Handle createJournal(const std::filesystem::path& path) override {
        const int fd = platform_.systemOpen(path, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0) fail(errno, FileOperation::open);
        return fd;
    }

    std::optional<std::string> readWhole(const std::filesystem::path& path) override {
        const int fd = platform_.systemOpen(path, O_RDONLY | O_CLOEXEC, 0);
        if (fd < 0) {
            if (errno == ENOENT) return std::nullopt;
            fail(errno, FileOperation::open, FileMode::Input);
        }
        std::string whole;
        try {
            for (std::string chunk = platform_.readChunk(fd); !chunk.empty(); chunk = platform_.readChunk(fd))
                whole += chunk;
        } catch (...) {
            ::close(fd);
            throw;
        }
        ::close(fd);
        return whole;
    }

    void closeHandle(Handle handle) noexcept override { ::close(descriptor(handle)); }

    void removeFile(const std::filesystem::path& path) override {
        if (platform_.systemRemove(path) != 0 && errno != ENOENT) fail(errno, FileOperation::remove);
    }

    void syncFolder(const std::filesystem::path& folder) override { syncFolderOf(folder); }

    bool tryLock(Handle handle) override {
        while (platform_.systemLock(descriptor(handle)) != 0) {
            if (errno == EINTR) continue;
            if (errno == EWOULDBLOCK || errno == EAGAIN) return false;
            fail(errno, FileOperation::lock);
        }
        return true;
    }

    void unlock(Handle handle) noexcept override { ::flock(descriptor(handle), LOCK_UN); }

    std::uint64_t sizeOf(Handle handle) override {
        struct stat status {};
        if (::fstat(descriptor(handle), &status) != 0) fail(errno, FileOperation::write);
        return static_cast<std::uint64_t>(status.st_size);
    }

    std::string readAt(Handle handle, std::uint64_t offset, std::size_t count) override {
        std::string bytes(count, '\0');
        std::size_t got = 0;
        while (got < count) {
            const ssize_t n =
                ::pread(descriptor(handle), bytes.data() + got, count - got, static_cast<off_t>(offset + got));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) fail(errno, FileOperation::read);
            if (n == 0) break;
            got += static_cast<std::size_t>(n);
        }
        bytes.resize(got);
        return bytes;
    }

    std::size_t appendBytes(Handle handle, std::string_view bytes) override {
        for (;;) {
            const ssize_t n = platform_.systemWrite(descriptor(handle), bytes.data(), bytes.size());
            if (n >= 0) return static_cast<std::size_t>(n);
            if (errno != EINTR) fail(errno, FileOperation::write);
        }
    }

    void writeAt(Handle handle, std::uint64_t offset, std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t n =
                platform_.systemWriteAt(descriptor(handle), bytes.data(), bytes.size(), static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) fail(errno, FileOperation::write);
            if (n == 0) throw RuntimeError(err::diskFull);
            bytes.remove_prefix(static_cast<std::size_t>(n));
            offset += static_cast<std::uint64_t>(n);
        }
    }

    void truncateTo(Handle handle, std::uint64_t size) override {
        while (platform_.systemTruncate(descriptor(handle), static_cast<off_t>(size)) != 0) {
            if (errno != EINTR) fail(errno, FileOperation::truncate);
        }
        // A file written without O_APPEND goes on from its position: no gap.
        ::lseek(descriptor(handle), static_cast<off_t>(size), SEEK_SET);
    }

    void sync(Handle handle) override {
        while (platform_.systemFsync(descriptor(handle)) != 0) {
            if (errno != EINTR) fail(errno, FileOperation::fsync);
        }
    }

private:
    static int descriptor(Handle handle) { return static_cast<int>(handle); }

    PosixPlatform& platform_;
};

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
    std::filesystem::path native = nativePathOf(path);
    const int fd = openNative(native, mode);
    auto& slot = files_[static_cast<std::size_t>(fileNumber)];
    slot.emplace();
    slot->fd = fd;
    slot->mode = mode;
    slot->native = std::move(native);
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
// A log is also opened for reading: recovery compares what it holds.
int PosixPlatform::openWritable(const std::filesystem::path& native, FileMode mode) {
    const int flags = O_CLOEXEC | (mode == FileMode::Append ? O_RDWR | O_APPEND : O_WRONLY | O_TRUNC);
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
    SystemFiles files(*this);
    appendLocked(files, file.fd, bytes, lockWait_);
}

void PosixPlatform::appendRecords(std::span<const RecordAppend> records) {
    std::vector<AppendTarget> targets;
    for (const RecordAppend& record : records) {
        const OpenFile& file = openFile(record.fileNumber);
        if (file.mode != FileMode::Append) throw RuntimeError(err::badFileMode);
        targets.push_back({record.fileNumber, file.native, file.fd, record.bytes});
    }
    SystemFiles files(*this);
    appendJournaled(files, targets, lockWait_);
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
