// The system's files on Windows: handles, through SystemCalls so that
// injected faults reach the logs and the journal alike.
#include "platform/system/SystemFiles.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "platform/RuntimeError.h"
#include "platform/system/ErrorTable.h"
#include "platform/system/FileRefusals.h"
#include "platform/win32/SystemCallsWin32.h"

namespace qadrill {

namespace {

// Two copies of the program append to the same logs; a reader may look on.
constexpr DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Read for the journal's look at a log, write for cutting it back.
constexpr DWORD logAccess = FILE_READ_DATA | FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE;

[[noreturn]] void fail(FileOperation operation, FileMode mode = FileMode::Append) {
    const auto error = static_cast<int>(GetLastError());
    throw RuntimeError(runtimeErrorFor(error, operation, mode), systemErrorReason(error));
}

HANDLE handleOf(NativeFiles::Handle handle) { return reinterpret_cast<HANDLE>(handle); }

NativeFiles::Handle toHandle(HANDLE handle) { return reinterpret_cast<NativeFiles::Handle>(handle); }

// Why the file is not one the drill keeps: a disk file with one name, no
// reparse point (a link or a junction).  Empty when it is.
std::string_view brokenRule(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(handle, &info) == FALSE) return refusal::notAFile;
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return refusal::aLink;
    constexpr DWORD notAFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;
    if ((info.dwFileAttributes & notAFile) != 0 || GetFileType(handle) != FILE_TYPE_DISK) return refusal::notAFile;
    if (info.nNumberOfLinks != 1) return refusal::secondName;
    return {};
}

// Anything but a file the drill keeps is 75, in words that say why.
NativeFiles::Handle checkedFile(SystemFiles& files, HANDLE handle, const std::filesystem::path& path, bool existed) {
    if (const auto why = brokenRule(handle); !why.empty()) {
        CloseHandle(handle);
        throw RuntimeError(err::accessDenied, std::string(why));
    }
    if (!existed) files.syncFolder(path.parent_path(), toHandle(handle));
    return toHandle(handle);
}

// Lets go of a file the drill made and will not use: nobody else had it yet.
void removeOwnNewFile(HANDLE handle) {
    FILE_DISPOSITION_INFO remove{TRUE};
    SetFileInformationByHandle(handle, FileDispositionInfo, &remove, sizeof remove);
    CloseHandle(handle);
}

}  // namespace

SystemFiles::SystemFiles() : SystemFiles(std::make_unique<SystemCalls>()) {}

SystemFiles::SystemFiles(std::unique_ptr<SystemCalls> calls) : calls_(std::move(calls)) {}

SystemFiles::~SystemFiles() = default;

// Under the logs' rules: the notes log is read back for the student to see.
NativeFiles::Handle SystemFiles::openInput(const std::filesystem::path& path) {
    HANDLE handle = calls_->createFile(path, GENERIC_READ, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) fail(FileOperation::open, FileMode::Input);
    return checkedFile(*this, handle, path, true);
}

NativeFiles::Handle SystemFiles::openOutput(const std::filesystem::path& path) {
    const Handle handle = openChecked(path, FileMode::Output);
    if (!calls_->truncate(handleOf(handle), 0)) {
        const DWORD error = GetLastError();
        CloseHandle(handleOf(handle));
        SetLastError(error);
        fail(FileOperation::open, FileMode::Output);
    }
    return handle;
}

NativeFiles::Handle SystemFiles::openLog(const std::filesystem::path& path) {
    return openChecked(path, FileMode::Append);
}

std::optional<NativeFiles::Handle> SystemFiles::openExistingLog(const std::filesystem::path& path) {
    HANDLE handle = calls_->createFile(path, logAccess, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
        fail(FileOperation::open);
    }
    return checkedFile(*this, handle, path, true);
}

// The name itself is opened, never what a link or junction there points at.
// A log that is there is opened at once; a new one is made the user's alone,
// whatever rights the shared folder hands down, where the file system shows
// the user as its owner.  Its maker may always set its rights.
NativeFiles::Handle SystemFiles::openChecked(const std::filesystem::path& path, FileMode mode) {
    constexpr DWORD attributes = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT;
    for (int attempt = 0; attempt < 3; ++attempt) {
        HANDLE handle = calls_->createFile(path, logAccess, OPEN_EXISTING, attributes, nullptr);
        if (handle != INVALID_HANDLE_VALUE) return checkedFile(*this, handle, path, true);
        if (GetLastError() != ERROR_FILE_NOT_FOUND) fail(FileOperation::open, mode);
        handle = calls_->createFile(path, logAccess | READ_CONTROL | WRITE_DAC, CREATE_NEW, attributes,
                                    calls_->user().privateDescriptor());
        if (handle == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS) continue;  // another copy made it first
            fail(FileOperation::open, mode);
        }
        calls_->user().keepPrivateOnlyWhereOwned(handle);
        return checkedFile(*this, handle, path, false);
    }
    SetLastError(ERROR_SHARING_VIOLATION);
    fail(FileOperation::open, mode);
}

FileIdentity SystemFiles::identityOf(Handle handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(handleOf(handle), &info) == FALSE) fail(FileOperation::read);
    return {info.dwVolumeSerialNumber, (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

// The folder's name as the file system keeps it: letter case, links and the
// 8.3 short names all give way to one spelling.
std::filesystem::path SystemFiles::canonicalFolder(const std::filesystem::path& folder) {
    HANDLE handle = CreateFileW(longPathOf(folder).c_str(), FILE_READ_ATTRIBUTES, shareAll, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return folder;
    std::wstring name(32768, L'\0');
    const DWORD length =
        GetFinalPathNameByHandleW(handle, name.data(), static_cast<DWORD>(name.size()), FILE_NAME_NORMALIZED);
    CloseHandle(handle);
    if (length == 0 || length >= name.size()) return folder;
    name.resize(length);
    if (name.starts_with(L"\\\\?\\UNC\\")) return L"\\\\" + name.substr(8);
    if (name.starts_with(L"\\\\?\\")) return name.substr(4);
    return name;
}

// The user's local application data is theirs alone already.
void SystemFiles::makePrivateFolder(const std::filesystem::path& folder) {
    std::filesystem::path made;
    for (const auto& part : folder) {
        made /= part;
        if (!made.has_relative_path()) continue;
        if (!calls_->createDirectory(made) && GetLastError() != ERROR_ALREADY_EXISTS)
            fail(FileOperation::makeDirectory);
    }
}

NativeFiles::Handle SystemFiles::openJournal(const std::filesystem::path& path, bool& created) {
    HANDLE handle =
        calls_->createFile(path, logAccess, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                           calls_->user().privateDescriptor());
    if (handle == INVALID_HANDLE_VALUE) fail(FileOperation::open, FileMode::Output);
    created = GetLastError() != ERROR_ALREADY_EXISTS;
    return toHandle(handle);
}

std::optional<NativeFiles::Handle> SystemFiles::openExistingJournal(const std::filesystem::path& path) {
    HANDLE handle = calls_->createFile(path, logAccess, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    return toHandle(handle);
}

// Beside the logs, where every lab PC finds it.  It must be the user's alone,
// which the file's owner and rights say; a file system that keeps no owners
// cannot say, and the private journal serves.  A journal the drill just made
// and will not use is removed again, so none is left behind in the folder.
std::optional<NativeFiles::Handle> SystemFiles::openFolderJournal(const std::filesystem::path& path, bool& created) {
    constexpr DWORD access = logAccess | READ_CONTROL | DELETE;
    HANDLE handle = calls_->createFile(path, access, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                       calls_->user().privateDescriptor());
    if (handle == INVALID_HANDLE_VALUE) {
        if (runtimeErrorFor(static_cast<int>(GetLastError()), FileOperation::open, FileMode::Output) ==
            err::accessDenied)
            return std::nullopt;
        fail(FileOperation::open, FileMode::Output);
    }
    created = GetLastError() != ERROR_ALREADY_EXISTS;
    if (brokenRule(handle).empty() && calls_->user().brokenRule(handle).empty()) return toHandle(handle);
    if (created) {
        removeOwnNewFile(handle);
    } else {
        CloseHandle(handle);
    }
    return std::nullopt;
}

// Windows frees a closed handle's locks only when it gets to it: they are
// released first, so the next command never waits on its own last one.
void SystemFiles::closeHandle(Handle handle) noexcept {
    unlock(handle);
    CloseHandle(handleOf(handle));
}

// NTFS keeps its own log of names: a new name is durable with the file's
// own flush.  A folder cannot be flushed without administrator rights.
void SystemFiles::syncFolder(const std::filesystem::path&, std::optional<Handle>) {}

bool SystemFiles::tryLock(Handle handle) {
    if (calls_->lock(handleOf(handle))) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_SHARING_VIOLATION || error == ERROR_IO_PENDING) return false;
    fail(FileOperation::lock);
}

void SystemFiles::unlock(Handle handle) noexcept {
    OVERLAPPED whole{};
    UnlockFileEx(handleOf(handle), 0, MAXDWORD, MAXDWORD, &whole);
}

std::uint64_t SystemFiles::sizeOf(Handle handle) {
    LARGE_INTEGER size{};
    if (GetFileSizeEx(handleOf(handle), &size) == FALSE) fail(FileOperation::write);
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::string SystemFiles::readAt(Handle handle, std::uint64_t offset, std::size_t count) {
    std::string bytes(count, '\0');
    std::size_t have = 0;
    while (have < count) {
        unsigned long got = 0;
        const auto ask = static_cast<unsigned long>(std::min<std::size_t>(count - have, readChunkSize));
        if (!calls_->read(handleOf(handle), offset + have, bytes.data() + have, ask, got)) {
            if (GetLastError() == ERROR_HANDLE_EOF) break;
            fail(FileOperation::read, FileMode::Input);
        }
        if (got == 0) break;
        have += got;
    }
    bytes.resize(have);
    return bytes;
}

std::size_t SystemFiles::appendBytes(Handle handle, std::string_view bytes) {
    unsigned long written = 0;
    if (calls_->write(handleOf(handle), bytes.data(), static_cast<unsigned long>(bytes.size()), written))
        return written;
    // Disk full maps to 61 like a short count; the caller cuts back either way.
    fail(FileOperation::write);
}

void SystemFiles::writeAt(Handle handle, std::uint64_t offset, std::string_view bytes) {
    while (!bytes.empty()) {
        unsigned long written = 0;
        if (!calls_->writeAt(handleOf(handle), offset, bytes.data(), static_cast<unsigned long>(bytes.size()), written))
            fail(FileOperation::write);
        if (written == 0) {
            SetLastError(ERROR_DISK_FULL);
            fail(FileOperation::write);
        }
        bytes.remove_prefix(written);
        offset += written;
    }
}

void SystemFiles::truncateTo(Handle handle, std::uint64_t size) {
    if (!calls_->truncate(handleOf(handle), size)) fail(FileOperation::truncate);
}

void SystemFiles::sync(Handle handle) {
    if (!calls_->flush(handleOf(handle))) fail(FileOperation::fsync);
}

void SystemFiles::createDirectory(const std::filesystem::path& path) {
    if (!calls_->createDirectory(path)) fail(FileOperation::makeDirectory);
}

NativeFiles::Handle SystemFiles::openRegularInput(const std::filesystem::path& path) {
    HANDLE handle = calls_->createFile(path, GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) fail(FileOperation::open, FileMode::Input);
    BY_HANDLE_FILE_INFORMATION info{};
    const bool looked = GetFileInformationByHandle(handle, &info) != FALSE;
    constexpr DWORD notAFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;
    if (looked && (info.dwFileAttributes & notAFile) == 0 && GetFileType(handle) == FILE_TYPE_DISK) {
        return toHandle(handle);
    }
    CloseHandle(handle);
    throw RuntimeError(err::accessDenied, "not a regular file");
}

}  // namespace qadrill
