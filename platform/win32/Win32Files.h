#pragma once
// Files on Windows: handles.
//
// The system calls that can fail go through protected hooks, each returning
// what the call returns with its error left for GetLastError, so the test
// files can inject faults and the real error table and roll-back still run.
//
// <windows.h> stays out of this header: a handle is a void*, a DWORD an
// unsigned long.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "platform/system/SystemFiles.h"

namespace qadrill {

class Win32Files : public SystemFiles {
public:
    Handle openInput(const std::filesystem::path& path) override;
    Handle openOutput(const std::filesystem::path& path) override;
    void createDirectory(const std::filesystem::path& path) override;

    Handle openLog(const std::filesystem::path& path) override;
    Handle createJournal(const std::filesystem::path& path) override;
    std::optional<std::string> readWhole(const std::filesystem::path& path) override;
    void closeHandle(Handle handle) noexcept override;
    void removeFile(const std::filesystem::path& path) override;
    void syncFolder(const std::filesystem::path& folder) override;
    bool tryLock(Handle handle) override;
    void unlock(Handle handle) noexcept override;
    std::uint64_t sizeOf(Handle handle) override;
    std::string readAt(Handle handle, std::uint64_t offset, std::size_t count) override;
    std::size_t appendBytes(Handle handle, std::string_view bytes) override;
    void writeAt(Handle handle, std::uint64_t offset, std::string_view bytes) override;
    void truncateTo(Handle handle, std::uint64_t size) override;
    void sync(Handle handle) override;

protected:
    // CreateFileW; INVALID_HANDLE_VALUE on failure.
    virtual void* systemCreateFile(const std::filesystem::path& path, unsigned long access, unsigned long disposition,
                                   unsigned long attributes);
    // LockFileEx, exclusive, without waiting, over every byte the file can have.
    virtual bool systemLock(void* handle);
    // WriteFile at the end of the file; `written` is what it took even when it fails.
    virtual bool systemWrite(void* handle, const void* data, unsigned long size, unsigned long& written);
    // WriteFile at an offset.
    virtual bool systemWriteAt(void* handle, std::uint64_t offset, const void* data, unsigned long size,
                               unsigned long& written);
    // SetFilePointerEx to the size, then SetEndOfFile.
    virtual bool systemTruncate(void* handle, std::uint64_t size);
    virtual bool systemRemove(const std::filesystem::path& path);
    virtual bool systemFlush(void* handle);
    // ReadFile at an offset; false with ERROR_HANDLE_EOF past the end.
    virtual bool systemRead(void* handle, std::uint64_t offset, void* data, unsigned long size, unsigned long& got);
    virtual bool systemCreateDirectory(const std::filesystem::path& path);

private:
    [[nodiscard]] Handle openWritable(const std::filesystem::path& path, FileMode mode);
};

}  // namespace qadrill
