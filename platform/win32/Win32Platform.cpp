#include "platform/win32/Win32Platform.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <utility>

#include "platform/system/ErrorTable.h"
#include "platform/RuntimeError.h"

namespace qadrill {

namespace {

// Two copies of the program append to the same logs; a reader may look on.
constexpr DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Read for the journal's look at a log, write for cutting it back.
constexpr DWORD logAccess = FILE_READ_DATA | FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
constexpr std::size_t readPiece = 64 * 1024;

[[noreturn]] void fail(FileOperation operation, FileMode mode = FileMode::Append) {
    const auto error = static_cast<int>(GetLastError());
    throw RuntimeError(runtimeErrorFor(error, operation, mode), systemErrorReason(error));
}

HANDLE handleOf(NativeFiles::Handle handle) { return reinterpret_cast<HANDLE>(handle); }

NativeFiles::Handle toHandle(HANDLE handle) { return reinterpret_cast<NativeFiles::Handle>(handle); }

OVERLAPPED at(std::uint64_t offset) {
    OVERLAPPED overlapped{};
    overlapped.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFU);
    overlapped.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return overlapped;
}

}  // namespace

Win32Platform::Win32Platform(DriveMap driveMap, std::chrono::milliseconds lockWait)
    : SystemPlatform(std::move(driveMap), lockWait) {}

Win32Platform::~Win32Platform() { closeAllFiles(); }

void Win32Platform::endProgram() {
    closeAll();
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    // At once: no exit handlers, no destructors of a half-finished handler.
    TerminateProcess(GetCurrentProcess(), 0);
    std::_Exit(0);
}

void* Win32Platform::systemCreateFile(const std::filesystem::path& path, unsigned long access,
                                      unsigned long disposition, unsigned long attributes) {
    return CreateFileW(path.c_str(), access, shareAll, nullptr, disposition, attributes, nullptr);
}

bool Win32Platform::systemLock(void* handle) {
    OVERLAPPED whole = at(0);
    return LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole) !=
           FALSE;
}

bool Win32Platform::systemWrite(void* handle, const void* data, unsigned long size, unsigned long& written) {
    // Both offsets all ones: at the end of the file, as an append-only handle would.
    OVERLAPPED end = at(std::numeric_limits<std::uint64_t>::max());
    written = 0;
    return WriteFile(handle, data, size, &written, &end) != FALSE;
}

bool Win32Platform::systemWriteAt(void* handle, std::uint64_t offset, const void* data, unsigned long size,
                                  unsigned long& written) {
    OVERLAPPED where = at(offset);
    written = 0;
    return WriteFile(handle, data, size, &written, &where) != FALSE;
}

bool Win32Platform::systemTruncate(void* handle, std::uint64_t size) {
    LARGE_INTEGER target{};
    target.QuadPart = static_cast<LONGLONG>(size);
    return SetFilePointerEx(handle, target, nullptr, FILE_BEGIN) != FALSE && SetEndOfFile(handle) != FALSE;
}

bool Win32Platform::systemRemove(const std::filesystem::path& path) { return DeleteFileW(path.c_str()) != FALSE; }

bool Win32Platform::systemFlush(void* handle) { return FlushFileBuffers(handle) != FALSE; }

bool Win32Platform::systemRead(void* handle, std::uint64_t offset, void* data, unsigned long size, unsigned long& got) {
    OVERLAPPED from = at(offset);
    got = 0;
    return ReadFile(handle, data, size, &got, &from) != FALSE;
}

bool Win32Platform::systemCreateDirectory(const std::filesystem::path& path) {
    return CreateDirectoryW(path.c_str(), nullptr) != FALSE;
}

NativeFiles::Handle Win32Platform::openInput(const std::filesystem::path& path) {
    HANDLE handle = systemCreateFile(path, GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (handle == INVALID_HANDLE_VALUE) fail(FileOperation::open, FileMode::Input);
    return toHandle(handle);
}

NativeFiles::Handle Win32Platform::openOutput(const std::filesystem::path& path) {
    return openWritable(path, FileMode::Output);
}

NativeFiles::Handle Win32Platform::openLog(const std::filesystem::path& path) {
    return openWritable(path, FileMode::Append);
}

// Creating a new name first tells whether the folder gains an entry, as on
// POSIX; a name that vanishes in between is tried again.
NativeFiles::Handle Win32Platform::openWritable(const std::filesystem::path& path, FileMode mode) {
    const DWORD existing = mode == FileMode::Append ? OPEN_EXISTING : TRUNCATE_EXISTING;
    for (int attempt = 0; attempt < 3; ++attempt) {
        HANDLE handle = systemCreateFile(path, logAccess, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
        if (handle != INVALID_HANDLE_VALUE) {
            syncFolder(path.parent_path());
            return toHandle(handle);
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) fail(FileOperation::open, mode);
        handle = systemCreateFile(path, logAccess, existing, FILE_ATTRIBUTE_NORMAL);
        if (handle != INVALID_HANDLE_VALUE) return toHandle(handle);
        if (GetLastError() != ERROR_FILE_NOT_FOUND) fail(FileOperation::open, mode);
    }
    SetLastError(ERROR_SHARING_VIOLATION);
    fail(FileOperation::open, mode);
}

// The leading dot hides a journal only on POSIX; here the attribute does.
NativeFiles::Handle Win32Platform::createJournal(const std::filesystem::path& path) {
    HANDLE handle = systemCreateFile(path, logAccess, CREATE_ALWAYS, FILE_ATTRIBUTE_HIDDEN);
    if (handle == INVALID_HANDLE_VALUE) fail(FileOperation::open, FileMode::Output);
    return toHandle(handle);
}

std::optional<std::string> Win32Platform::readWhole(const std::filesystem::path& path) {
    HANDLE handle = systemCreateFile(path, GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
        fail(FileOperation::open, FileMode::Input);
    }
    std::string whole;
    try {
        for (;;) {
            std::string piece = readAt(toHandle(handle), whole.size(), readPiece);
            if (piece.empty()) break;
            whole += piece;
        }
    } catch (...) {
        CloseHandle(handle);
        throw;
    }
    CloseHandle(handle);
    return whole;
}

void Win32Platform::closeHandle(Handle handle) noexcept { CloseHandle(handleOf(handle)); }

void Win32Platform::removeFile(const std::filesystem::path& path) {
    if (systemRemove(path)) return;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) fail(FileOperation::remove);
}

// NTFS keeps its own log of names; a folder cannot be flushed without
// administrator rights, and need not be.
void Win32Platform::syncFolder(const std::filesystem::path&) {}

bool Win32Platform::tryLock(Handle handle) {
    if (systemLock(handleOf(handle))) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_SHARING_VIOLATION || error == ERROR_IO_PENDING) return false;
    fail(FileOperation::lock);
}

void Win32Platform::unlock(Handle handle) noexcept {
    OVERLAPPED whole = at(0);
    UnlockFileEx(handleOf(handle), 0, MAXDWORD, MAXDWORD, &whole);
}

std::uint64_t Win32Platform::sizeOf(Handle handle) {
    LARGE_INTEGER size{};
    if (GetFileSizeEx(handleOf(handle), &size) == FALSE) fail(FileOperation::write);
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::string Win32Platform::readAt(Handle handle, std::uint64_t offset, std::size_t count) {
    std::string bytes(count, '\0');
    std::size_t have = 0;
    while (have < count) {
        unsigned long got = 0;
        const auto ask = static_cast<unsigned long>(std::min<std::size_t>(count - have, readPiece));
        if (!systemRead(handleOf(handle), offset + have, bytes.data() + have, ask, got)) {
            if (GetLastError() == ERROR_HANDLE_EOF) break;
            fail(FileOperation::read, FileMode::Input);
        }
        if (got == 0) break;
        have += got;
    }
    bytes.resize(have);
    return bytes;
}

std::size_t Win32Platform::appendBytes(Handle handle, std::string_view bytes) {
    unsigned long written = 0;
    if (systemWrite(handleOf(handle), bytes.data(), static_cast<unsigned long>(bytes.size()), written)) return written;
    // Disk full maps to 61 like a short count; the caller cuts back either way.
    fail(FileOperation::write);
}

void Win32Platform::writeAt(Handle handle, std::uint64_t offset, std::string_view bytes) {
    while (!bytes.empty()) {
        unsigned long written = 0;
        if (!systemWriteAt(handleOf(handle), offset, bytes.data(), static_cast<unsigned long>(bytes.size()), written))
            fail(FileOperation::write);
        if (written == 0) {
            SetLastError(ERROR_DISK_FULL);
            fail(FileOperation::write);
        }
        bytes.remove_prefix(written);
        offset += written;
    }
}

void Win32Platform::truncateTo(Handle handle, std::uint64_t size) {
    if (!systemTruncate(handleOf(handle), size)) fail(FileOperation::truncate);
}

void Win32Platform::sync(Handle handle) {
    if (!systemFlush(handleOf(handle))) fail(FileOperation::fsync);
}

void Win32Platform::createDirectory(const std::filesystem::path& path) {
    if (!systemCreateDirectory(path)) fail(FileOperation::makeDirectory);
}

}  // namespace qadrill
