#pragma once
// The Win32 calls behind SystemFiles that can fail, one each, returning what
// the call returns with its error left for GetLastError.  The test files
// derive from it to inject faults.  (POSIX has its own SystemCalls; CMake
// builds one of the two.)
//
// Paths go to the system in their long form (\\?\), so a log deep under a
// network folder may pass MAX_PATH.
//
// <windows.h> stays out of this header: a handle is a void*, a DWORD an
// unsigned long.

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/win32/FileRightsWin32.h"

namespace qadrill {

class SystemCalls {
public:
    SystemCalls() = default;
    virtual ~SystemCalls() = default;
    SystemCalls(const SystemCalls&) = delete;
    SystemCalls& operator=(const SystemCalls&) = delete;

    // CreateFileW; INVALID_HANDLE_VALUE on failure.  A file it creates gets
    // the security descriptor given, or the folder's rights without one.
    virtual void* createFile(const std::filesystem::path& path, unsigned long access, unsigned long disposition,
                             unsigned long attributes, const void* descriptor);
    // LockFileEx, exclusive, without waiting, over every byte the file can have.
    virtual bool lock(void* handle);
    // WriteFile at the end of the file; `written` is what it took even when it fails.
    virtual bool write(void* handle, const void* data, unsigned long size, unsigned long& written);
    // WriteFile at an offset.
    virtual bool writeAt(void* handle, std::uint64_t offset, const void* data, unsigned long size,
                         unsigned long& written);
    // SetFilePointerEx to the size, then SetEndOfFile.
    virtual bool truncate(void* handle, std::uint64_t size);
    virtual bool flush(void* handle);
    // ReadFile at an offset; false with ERROR_HANDLE_EOF past the end.
    virtual bool read(void* handle, std::uint64_t offset, void* data, unsigned long size, unsigned long& got);
    virtual bool createDirectory(const std::filesystem::path& path);

    [[nodiscard]] const FileUser& user() const { return user_; }

private:
    FileUser user_;
};

// The path in the form CreateFileW takes past MAX_PATH.
[[nodiscard]] std::wstring longPathOf(const std::filesystem::path& path);

}  // namespace qadrill
