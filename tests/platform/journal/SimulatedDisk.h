#pragma once
// A disk in memory for the journal's crash tests.  It keeps, for every file,
// what the process sees and what has been synced, and numbers every
// operation that changes the disk, so a test can end the process right after
// any one of them and then look at what a crash would leave: everything the
// process wrote (killed), only what was synced (power cut), synced bytes and
// part of the rest (power cut in the middle of write-back), or a file's new
// size without its new bytes (zeros where the bytes should be).

#include <cstddef>
#include <exception>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>

#include "platform/journal/NativeFiles.h"

namespace qadrill::testing {

// Thrown by the operation after the last one the process lives to finish.
struct ProcessDied : std::exception {
    [[nodiscard]] const char* what() const noexcept override { return "process died"; }
};

enum class CrashKind { killed, powerCutDropsUnsynced, powerCutKeepsHalfUnsynced, powerCutKeepsSizeZeroed };

inline constexpr CrashKind allCrashKinds[] = {CrashKind::killed, CrashKind::powerCutDropsUnsynced,
                                              CrashKind::powerCutKeepsHalfUnsynced, CrashKind::powerCutKeepsSizeZeroed};

inline const char* crashName(CrashKind kind) {
    static const char* const names[] = {"killed", "power_cut_drops_unsynced", "power_cut_keeps_half",
                                        "power_cut_keeps_size_zeroed"};
    return names[static_cast<int>(kind)];
}

inline void PrintTo(CrashKind kind, std::ostream* out) { *out << crashName(kind); }

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
    void failAt(std::size_t which, int number) { failure_ = {which, number, false}; }
    // Every operation from number `first` on fails with error `number`.
    void failFrom(std::size_t first, int number) { failure_ = {first, number, true}; }
    void clearFaults() { failure_.reset(); }
    // The network drive drops and comes back: every handle open now fails
    // for good, while the files opened again by name work.
    void loseOpenHandles();
    [[nodiscard]] std::size_t operations() const { return operations_; }
    // Whether the process died: what it does after that never happened, even
    // where its code catches everything.
    [[nodiscard]] bool died() const { return died_; }

    // Whether a journal may stand beside the logs, as on a file system that
    // keeps owners; by default it may not, and the private folder serves.
    void keepJournalsBesideLogs() { journalsBesideLogs_ = true; }

    // Another name for a folder, as a link or another letter case gives it.
    void aliasFolder(const std::filesystem::path& alias, const std::filesystem::path& folder) {
        aliases_[alias] = folder;
    }

    // The disk a crash leaves behind, as the next process finds it.
    [[nodiscard]] SimulatedDisk afterCrash(CrashKind kind) const;

    void put(const std::filesystem::path& path, const std::string& bytes);
    void erase(const std::filesystem::path& path) { files_.erase(resolved(path)); }
    [[nodiscard]] std::optional<std::string> bytesOf(const std::filesystem::path& path) const;
    // Every file in the folder, by name.
    [[nodiscard]] std::map<std::string, std::string> filesIn(const std::filesystem::path& folder) const;

    Handle openLog(const std::filesystem::path& path) override;
    std::optional<Handle> openExistingLog(const std::filesystem::path& path) override;
    FileIdentity identityOf(Handle handle) override;
    std::filesystem::path canonicalFolder(const std::filesystem::path& folder) override;
    void makePrivateFolder(const std::filesystem::path& folder) override;
    Handle openJournal(const std::filesystem::path& path, bool& created) override;
    std::optional<Handle> openExistingJournal(const std::filesystem::path& path) override;
    std::optional<Handle> openFolderJournal(const std::filesystem::path& path, bool& created) override;
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
    struct Failure {
        std::size_t which = 0;
        int number = 0;
        bool fromThereOn = false;
    };

    // Counts an operation that changes the disk; dies or fails as planned.
    void step();
    [[nodiscard]] File& fileOf(Handle handle);
    [[nodiscard]] std::filesystem::path resolved(const std::filesystem::path& path) const;
    Handle handleTo(const std::filesystem::path& path);

    std::map<std::filesystem::path, File> files_;
    std::map<std::filesystem::path, std::filesystem::path> aliases_;
    std::map<Handle, std::filesystem::path> handles_;
    std::set<Handle> lost_;
    std::map<std::filesystem::path, Handle> locks_;
    Handle nextHandle_ = 3;
    std::size_t operations_ = 0;
    bool died_ = false;
    bool journalsBesideLogs_ = false;
    std::optional<std::size_t> lastOperation_;
    std::optional<Failure> failure_;
};

}  // namespace qadrill::testing
