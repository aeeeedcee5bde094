// The file operations on handles, through the system-call hooks so that
// injected faults reach the logs and the journal alike.
#include "platform/win32/Win32Files.h"

#include <windows.h>

#include <algorithm>

#include "platform/RuntimeError.h"
#include "platform/system/ErrorTable.h"

namespace qadrill {

namespace {

// Read for the journal's look at a log, write for cutting it back.
constexpr DWORD logAccess = FILE_READ_DATA | FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE;

[[noreturn]] void fail(FileOperation operation, FileMode mode = FileMode::Append) {
    const auto error = static_cast<int>(GetLastError());
    throw RuntimeError(runtimeErrorFor(error, operation, mode), systemErrorReason(error));
}

HANDLE handleOf(NativeFiles::Handle handle) { return reinterpret_cast<HANDLE>(handle); }

NativeFiles::Handle toHandle(HANDLE handle) { return reinterpret_cast<NativeFiles::Handle>(handle); }

}  // namespace

NativeFiles::Handle Win32Files::openInput(const std::filesystem::path& path) {
    HANDLE handle = systemCreateFile(path, GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (handle == INVALID_HANDLE_VALUE) fail(FileOperation::open, FileMode::Input);
    return toHandle(handle);
}

NativeFiles::Handle Win32Files::openOutput(const std::filesystem::path& path) {
    return openWritable(path, FileMode::Output);
}

NativeFiles::Handle Win32Files::openLog(const std::filesystem::path& path) {
    return openWritable(path, FileMode::Append);
}

// Creating a new name first tells whether the folder gains an entry, as on
// POSIX; a name that vanishes in between is tried again.
NativeFiles::Handle Win32Files::openWritable(const std::filesystem::path& path, FileMode mode) {
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
NativeFiles::Handle Win32Files::createJournal(const std::filesystem::path& path) {
    HANDLE handle = systemCreateFile(path, logAccess, CREATE_ALWAYS, FILE_ATTRIBUTE_HIDDEN);
    if (handle == INVALID_HANDLE_VALUE) fail(FileOperation::open, FileMode::Output);
    return toHandle(handle);
}

std::optional<std::string> Win32Files::readWhole(const std::filesystem::path& path) {
    HANDLE handle = systemCreateFile(path, GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
        fail(FileOperation::open, FileMode::Input);
    }
    std::string whole;
    try {
        for (;;) {
            std::string piece = readAt(toHandle(handle), whole.size(), readChunkSize);
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

void Win32Files::closeHandle(Handle handle) noexcept { CloseHandle(handleOf(handle)); }

void Win32Files::removeFile(const std::filesystem::path& path) {
    if (systemRemove(path)) return;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) fail(FileOperation::remove);
}

// NTFS keeps its own log of names; a folder cannot be flushed without
// administrator rights, and need not be.
void Win32Files::syncFolder(const std::filesystem::path&) {}

bool Win32Files::tryLock(Handle handle) {
    if (systemLock(handleOf(handle))) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_SHARING_VIOLATION || error == ERROR_IO_PENDING) return false;
    fail(FileOperation::lock);
}

void Win32Files::unlock(Handle handle) noexcept {
    OVERLAPPED whole{};
    UnlockFileEx(handleOf(handle), 0, MAXDWORD, MAXDWORD, &whole);
}

std::uint64_t Win32Files::sizeOf(Handle handle) {
    LARGE_INTEGER size{};
    if (GetFileSizeEx(handleOf(handle), &size) == FALSE) fail(FileOperation::write);
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::string Win32Files::readAt(Handle handle, std::uint64_t offset, std::size_t count) {
    std::string bytes(count, '\0');
    std::size_t have = 0;
    while (have < count) {
        unsigned long got = 0;
        const auto ask = static_cast<unsigned long>(std::min<std::size_t>(count - have, readChunkSize));
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

std::size_t Win32Files::appendBytes(Handle handle, std::string_view bytes) {
    unsigned long written = 0;
    if (systemWrite(handleOf(handle), bytes.data(), static_cast<unsigned long>(bytes.size()), written)) return written;
    // Disk full maps to 61 like a short count; the caller cuts back either way.
    fail(FileOperation::write);
}

void Win32Files::writeAt(Handle handle, std::uint64_t offset, std::string_view bytes) {
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

void Win32Files::truncateTo(Handle handle, std::uint64_t size) {
    if (!systemTruncate(handleOf(handle), size)) fail(FileOperation::truncate);
}

void Win32Files::sync(Handle handle) {
    if (!systemFlush(handleOf(handle))) fail(FileOperation::fsync);
}

void Win32Files::createDirectory(const std::filesystem::path& path) {
    if (!systemCreateDirectory(path)) fail(FileOperation::makeDirectory);
}

}  // namespace qadrill
