#pragma once
// Files, clock and program end on Windows; the rest is SystemPlatform's.
// Prompts, message boxes, clipboard and beep are left to the desktop and to
// the scripted test platform, which both derive from this class.
//
// Drive paths are native here ("c:\plovenda\x.txt" is the file itself); a
// drive map still lets tests put every drive under a temporary folder.  The
// system calls that can fail go through protected hooks, each returning what
// the call returns with its error left for GetLastError, so the test platform
// can inject faults and the real error table and roll-back still run.
//
// Paths go to the system in their long form (\\?\), so a log deep under a
// network folder may pass MAX_PATH.
//
// <windows.h> stays out of this header: a handle is a void*, a DWORD an
// unsigned long.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/system/SystemPlatform.h"

namespace qadrill {

class Win32Platform : public SystemPlatform {
public:
    explicit Win32Platform(DriveMap driveMap = desktopDriveMap(), std::chrono::milliseconds lockWait = defaultLockWait);
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    [[noreturn]] void endProgram() override;

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

    Handle openInput(const std::filesystem::path& path) override;
    Handle openOutput(const std::filesystem::path& path) override;
    void createDirectory(const std::filesystem::path& path) override;

    // The native file operations.
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

private:
    [[nodiscard]] Handle openChecked(const std::filesystem::path& path, unsigned long disposition, FileMode mode);
    [[nodiscard]] Handle checkedFile(void* handle, const std::filesystem::path& path, FileMode mode, bool existed);
};

}  // namespace qadrill
