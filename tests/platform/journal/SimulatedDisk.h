#pragma once
// A disk in memory for the journal's crash tests.  It keeps, for every file,
// what the process sees and what has been synced, and numbers every
// operation that changes the disk, so a test can end the process right after
// any one of them and then look at what a crash would leave: everything the
// process wrote (killed), only what was synced (power cut), or synced bytes
// and part of the rest (power cut in the middle of write-back).

#include <cstddef>
#include <exception>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>

#include "platform/journal/NativeFiles.h"

namespace qadrill::testing {

// Thrown by the operation after the last one the process lives to finish.
struct ProcessDied : std::exception {
    [[nodiscard]] const char* what() const noexcept override { return "process died"; }
};

enum class CrashKind { killed, powerCutDropsUnsynced, powerCutKeepsHalfUnsynced };

inline void PrintTo(CrashKind kind, std::ostream* out) {
    static const char* const names[] = {"killed", "power cut, unsynced dropped", "power cut, half written back"};
    *out << names[static_cast<int>(kind)];
}

class SimulatedDisk final : public NativeFiles {
public:
    struct File {
        std::string seen;     // what the process reads back
        std::string durable;  // what survives a power cut
        bool named = true;    // whether the folder's entry survives a power cut
    };

    // The process dies instead of running operation number `last + 1`.
    void dieAfter(std::size_t last) { lastOperation_ = last; }
    // Operation number `which` fails with error `number` instead of running.
    void failAt(std::size_t which, int number) { failure_ = {which, number}; }
    [[nodiscard]] std::size_t operations() const { return operations_; }

    // The disk a crash leaves behind, as the next process finds it.
    [[nodiscard]] SimulatedDisk afterCrash(CrashKind kind) const;

    void put(const std::filesystem::path& path, const std::string& bytes);
    [[nodiscard]] std::optional<std::string> bytesOf(const std::filesystem::path& path) const;
    [[nodiscard]] std::size_t fileCount() const { return files_.size(); }

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

private:
    struct Failure {
        std::size_t which = 0;
        int number = 0;
    };

    // Counts an operation that changes the disk; dies or fails as planned.
    void step();
    [[nodiscard]] File& fileOf(Handle handle);

    std::map<std::filesystem::path, File> files_;
    // Removed names that a power cut would bring back, with their synced bytes.
    std::map<std::filesystem::path, std::string> unsyncedRemovals_;
    std::map<Handle, std::filesystem::path> handles_;
    Handle nextHandle_ = 3;
    std::size_t operations_ = 0;
    std::optional<std::size_t> lastOperation_;
    std::optional<Failure> failure_;
};

}  // namespace qadrill::testing
