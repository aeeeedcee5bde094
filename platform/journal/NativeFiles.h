#pragma once
// The few operations on native files that a journaled append needs.  Each
// system implements them with its own calls (POSIX descriptors, Windows
// handles); the crash tests implement them with a disk that can forget what
// was never synced.  Every failure throws RuntimeError with the drill's
// number, already mapped from the system's error.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qadrill {

// Which file a handle reaches, whatever name it was opened by: device and
// inode on POSIX, volume serial and file index on Windows.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
    bool operator==(const FileIdentity&) const = default;
};

class NativeFiles {
public:
    // A descriptor or a handle, whatever the system hands out.
    using Handle = std::intptr_t;

    virtual ~NativeFiles() = default;

    // Opens a log for reading and appending, creating it when missing (0600,
    // a new name synced into its folder).  Only a regular file with one name,
    // reached without following a link at its name and, where the file system
    // keeps owners, owned by the user, is opened: anything else is error 75,
    // naming what is wrong, and nothing is written.  No open waits for
    // another program; a system may take the log's lock here already.
    [[nodiscard]] virtual Handle openLog(const std::filesystem::path& path) = 0;
    // The same for a log that must already be there: nullopt when it is not.
    [[nodiscard]] virtual std::optional<Handle> openExistingLog(const std::filesystem::path& path) = 0;
    [[nodiscard]] virtual FileIdentity identityOf(Handle handle) = 0;
    // One spelling for a folder, however it was reached (links, letter case).
    [[nodiscard]] virtual std::filesystem::path canonicalFolder(const std::filesystem::path& folder) = 0;

    // Makes the folder, and its missing parents, readable by the user alone,
    // each new one synced into its parent; every folder on the way must be the
    // user's or the system's and writable by nobody else (a shared one only
    // with the sticky bit), the last one the user's own (else error 75).
    virtual void makePrivateFolder(const std::filesystem::path& folder) = 0;
    // Opens a journal in the private folder for writing in place, creating it
    // (empty, the user's alone) when missing; `created` says which.  One
    // that breaks the logs' rules, or that others may write, is error 75.
    [[nodiscard]] virtual Handle openJournal(const std::filesystem::path& path, bool& created) = 0;
    // The private journal when it is there and keeps those rules.
    [[nodiscard]] virtual std::optional<Handle> openExistingJournal(const std::filesystem::path& path) = 0;
    // The journal kept beside the logs, under the same rules, created 0600
    // when missing.  Nullopt when the file there breaks a rule, or where the
    // system cannot tell whose a file is: such a file is never read, written
    // or removed, and the private journal serves instead.
    [[nodiscard]] virtual std::optional<Handle> openFolderJournal(const std::filesystem::path& path, bool& created) = 0;
    virtual void closeHandle(Handle handle) noexcept = 0;
    // Makes the folder's entries (a new name) durable.  A folder that cannot
    // be opened or synced is covered by syncing what holds `inside` (a file
    // in it), or the error is thrown: never skipped.
    virtual void syncFolder(const std::filesystem::path& folder, std::optional<Handle> inside) = 0;

    // Exclusive lock without waiting: false when another process holds it.
    // Closing the handle releases it too.
    [[nodiscard]] virtual bool tryLock(Handle handle) = 0;
    virtual void unlock(Handle handle) noexcept = 0;

    [[nodiscard]] virtual std::uint64_t sizeOf(Handle handle) = 0;
    // Up to `count` bytes from `offset`; fewer only at the end of the file.
    [[nodiscard]] virtual std::string readAt(Handle handle, std::uint64_t offset, std::size_t count) = 0;
    // One write at the end of the file; returns how many bytes it took,
    // which is fewer than asked only when the disk ran out of room.
    // An interrupted call is repeated, never reported.
    [[nodiscard]] virtual std::size_t appendBytes(Handle handle, std::string_view bytes) = 0;
    // Writes all of `bytes` at `offset`, or throws.
    virtual void writeAt(Handle handle, std::uint64_t offset, std::string_view bytes) = 0;
    virtual void truncateTo(Handle handle, std::uint64_t size) = 0;
    // The file's bytes and size are durable when this returns.
    virtual void sync(Handle handle) = 0;
};

}  // namespace qadrill
