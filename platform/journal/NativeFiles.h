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

class NativeFiles {
public:
    // A descriptor or a handle, whatever the system hands out.
    using Handle = std::intptr_t;

    virtual ~NativeFiles() = default;

    // Opens a log for reading and appending, creating it when missing (a new
    // name is synced into its folder).
    [[nodiscard]] virtual Handle openLog(const std::filesystem::path& path) = 0;
    // Creates the file, or empties it when it exists, for writing at offsets.
    [[nodiscard]] virtual Handle createJournal(const std::filesystem::path& path) = 0;
    // The whole file, or nullopt when there is no such file.
    [[nodiscard]] virtual std::optional<std::string> readWhole(const std::filesystem::path& path) = 0;
    virtual void closeHandle(Handle handle) noexcept = 0;
    // Removes the file; a missing file is not an error.
    virtual void removeFile(const std::filesystem::path& path) = 0;
    // Makes the folder's entries (a new or removed name) durable.
    virtual void syncFolder(const std::filesystem::path& folder) = 0;

    // Exclusive lock without waiting: false when another process holds it.
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
