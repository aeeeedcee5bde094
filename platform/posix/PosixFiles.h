#pragma once
// Files on a POSIX system: descriptors.
//
// The system calls that can fail go through protected hooks, each returning
// what the call returns with its errno, so the test files can inject faults
// and the real error table, roll-back and journal still run.

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "platform/system/SystemFiles.h"

namespace qadrill {

class PosixFiles : public SystemFiles {
public:
    PosixFiles();

    Handle openInput(const std::filesystem::path& path) override;
    Handle openOutput(const std::filesystem::path& path) override;
    void createDirectory(const std::filesystem::path& path) override;

    Handle openLog(const std::filesystem::path& path) override;
    std::optional<Handle> openExistingLog(const std::filesystem::path& path) override;
    FileIdentity identityOf(Handle handle) override;
    std::filesystem::path canonicalFolder(const std::filesystem::path& folder) override;
    void makePrivateFolder(const std::filesystem::path& folder) override;
    Handle openJournal(const std::filesystem::path& path, bool& created) override;
    void closeHandle(Handle handle) noexcept override;
    void syncFolder(const std::filesystem::path& folder, std::optional<Handle> inside) override;
    bool tryLock(Handle handle) override;
    void unlock(Handle handle) noexcept override;
    std::uint64_t sizeOf(Handle handle) override;
    std::string readAt(Handle handle, std::uint64_t offset, std::size_t count) override;
    std::size_t appendBytes(Handle handle, std::string_view bytes) override;
    void writeAt(Handle handle, std::uint64_t offset, std::string_view bytes) override;
    void truncateTo(Handle handle, std::uint64_t size) override;
    void sync(Handle handle) override;

protected:
    // The system calls, one each, with their own return values and errno.
    virtual int systemOpen(const std::filesystem::path& path, int flags, mode_t mode);
    virtual int systemLock(int fd);  // exclusive, non-blocking
    virtual ssize_t systemWrite(int fd, const void* data, std::size_t size);
    virtual ssize_t systemWriteAt(int fd, const void* data, std::size_t size, off_t offset);
    virtual int systemTruncate(int fd, off_t size);
    virtual int systemFsync(int fd);
    virtual ssize_t systemRead(int fd, void* data, std::size_t size, off_t offset);
    virtual int systemMakeDirectory(const std::filesystem::path& path, mode_t mode);

private:
    [[nodiscard]] int openChecked(const std::filesystem::path& path, int flags, FileMode mode);
    [[nodiscard]] int checkedLog(int fd, const std::filesystem::path& path, FileMode mode);

    uid_t user_;
};

}  // namespace qadrill
