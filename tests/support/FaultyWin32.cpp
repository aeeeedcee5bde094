#include <windows.h>

#include <cerrno>

#include "tests/support/FaultyWin32.h"

namespace qadrill::testing {

namespace {

// The Windows error behind the same failure as a planned errno.
DWORD windowsErrorFor(int errnoValue) {
    switch (errnoValue) {
        case EACCES:
            return ERROR_ACCESS_DENIED;
        case EMFILE:
            return ERROR_TOO_MANY_OPEN_FILES;
        case ENOSPC:
            return ERROR_DISK_FULL;
        case EFBIG:
            return ERROR_FILE_TOO_LARGE;
        case EAGAIN:
        case EWOULDBLOCK:
            return ERROR_LOCK_VIOLATION;
        case ENOENT:
            return ERROR_PATH_NOT_FOUND;
        case EEXIST:
            return ERROR_ALREADY_EXISTS;
        default:
            return ERROR_IO_DEVICE;
    }
}

}  // namespace

void* FaultyHost::systemCreateFile(const std::filesystem::path& path, unsigned long access, unsigned long disposition,
                                   unsigned long attributes) {
    if (const auto fault = dueFault(FileOperation::open)) {
        // A lock on an open is a file another program has open without sharing.
        const DWORD error = windowsErrorFor(*fault);
        SetLastError(error == ERROR_LOCK_VIOLATION ? ERROR_SHARING_VIOLATION : error);
        return INVALID_HANDLE_VALUE;
    }
    return Win32Platform::systemCreateFile(path, access, disposition, attributes);
}

bool FaultyHost::systemLock(void* handle) {
    if (const auto fault = dueFault(FileOperation::lock)) {
        SetLastError(windowsErrorFor(*fault));
        return false;
    }
    return Win32Platform::systemLock(handle);
}

template <typename RealWrite>
bool FaultyHost::plannedWrite(unsigned long size, unsigned long& written, RealWrite realWrite) {
    written = 0;
    const WritePlan plan = planWrite(size);
    if (plan.errnoValue) {
        SetLastError(windowsErrorFor(*plan.errnoValue));
        return false;
    }
    const bool done = realWrite(static_cast<unsigned long>(plan.allowed));
    wrote(written);
    return done;
}

bool FaultyHost::systemWrite(void* handle, const void* data, unsigned long size, unsigned long& written) {
    return plannedWrite(size, written,
                        [&](unsigned long n) { return Win32Platform::systemWrite(handle, data, n, written); });
}

bool FaultyHost::systemWriteAt(void* handle, std::uint64_t offset, const void* data, unsigned long size,
                               unsigned long& written) {
    return plannedWrite(
        size, written, [&](unsigned long n) { return Win32Platform::systemWriteAt(handle, offset, data, n, written); });
}

bool FaultyHost::systemTruncate(void* handle, std::uint64_t size) {
    if (const auto fault = dueFault(FileOperation::truncate)) {
        SetLastError(windowsErrorFor(*fault));
        return false;
    }
    return Win32Platform::systemTruncate(handle, size);
}

bool FaultyHost::systemFlush(void* handle) {
    if (const auto fault = dueFault(FileOperation::fsync)) {
        SetLastError(windowsErrorFor(*fault));
        return false;
    }
    return Win32Platform::systemFlush(handle);
}

bool FaultyHost::systemRead(void* handle, std::uint64_t offset, void* data, unsigned long size, unsigned long& got) {
    got = 0;
    if (const auto fault = dueFault(FileOperation::read)) {
        SetLastError(windowsErrorFor(*fault));
        return false;
    }
    return Win32Platform::systemRead(handle, offset, data, size, got);
}

bool FaultyHost::systemCreateDirectory(const std::filesystem::path& path) {
    if (const auto fault = dueFault(FileOperation::makeDirectory)) {
        SetLastError(windowsErrorFor(*fault));
        return false;
    }
    return Win32Platform::systemCreateDirectory(path);
}

}  // namespace qadrill::testing
