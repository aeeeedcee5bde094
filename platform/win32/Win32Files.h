#pragma once
// Files on Windows: handles.
//
// The system calls that can fail go through protected hooks, each returning
// what the call returns with its error left for GetLastError, so the test
// files can inject faults and the real error table and roll-back still run.
//
// Paths go to the system in their long form (\\?\), so a log deep under a
// network folder may pass MAX_PATH.
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
    virtual bool systemFlush(void* handle);
    // ReadFile at an offset; false with ERROR_HANDLE_EOF past the end.
    virtual bool systemRead(void* handle, std::uint64_t offset, void* data, unsigned long size, unsigned long& got);
    virtual bool systemCreateDirectory(const std::filesystem::path& path);

private:
    [[nodiscard]] Handle openChecked(const std::filesystem::path& path, unsigned long disposition, FileMode mode);
    [[nodiscard]] Handle checkedFile(void* handle, const std::filesystem::path& path, FileMode mode, bool existed);
};

// The path in the form CreateFileW takes past MAX_PATH.
[[nodiscard]] std::wstring longPathOf(const std::filesystem::path& path);

}  // namespace qadrill
