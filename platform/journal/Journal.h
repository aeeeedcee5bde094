#pragma once
// A record that goes to several logs lands whole in every one of them or in
// none, even when the process is killed or the power fails halfway.
//
// Each log set (named by its first, lowest-numbered log: the master log) has
// one journal beside its logs, `<master log>.journal`, so that the student's
// next command on any machine that sees the folder finishes a crash.  It is
// kept under the logs' rules: opened without following a link, a regular
// file with one name, the student's own, created 0600 and refused when
// others may write it.  Where the file there breaks a rule (another user
// made it first) or the system cannot tell whose it is, it is never read,
// written or removed, and the journal goes to the user's private state
// folder on this machine instead, named by a hash of the master log's full
// path.  The journal is reused: each command overwrites it in place with
// its records, the logs' sizes and a new generation, and syncs it, under
// the logs' locks (taken in file-number order) and before any log is
// touched; then the logs are appended to and synced, and the state byte is
// set to done.  A folder is synced when a journal's name is first made in
// it.
//
// A journal found not done is an interrupted command.  It is first made
// durable, then a whole one is rolled forward (the record completed in every
// log) and one marked failed is rolled back (a tail that is a prefix of the
// record cut off); every log it names is synced before it is marked done.
// Only logs named in the journal's own folder are touched, and only bytes
// that match the record are cut; a run of zeros a power cut left is the
// crash's and is replaced.  A log that has grown past the record with other
// bytes since was written without this journal: the record is stale and is
// never appended after them.  A journal that cannot be finished (its folder
// gone, a log missing or no longer the student's, a stale record) is set
// aside beside it under a name that says so, and the command goes on.  Only
// a private journal whose logs every command may not have passed through
// (another machine's) keeps a record that follows bytes someone typed in.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>

#include "platform/journal/NativeFiles.h"

namespace qadrill {

// One log of a command, already open through `files`.
struct AppendTarget {
    int fileNumber = 0;
    std::filesystem::path path;
    NativeFiles::Handle handle = -1;
    std::string_view bytes;
};

class LogJournal {
public:
    LogJournal(NativeFiles& files, std::filesystem::path stateFolder, std::chrono::milliseconds lockWait);
    ~LogJournal();
    LogJournal(const LogJournal&) = delete;
    LogJournal& operator=(const LogJournal&) = delete;

    // Appends every target's bytes to its log, all or nothing.  The locks
    // are waited for up to the lock wait in all, then error 70 naming the
    // log.  On any failure the logs are cut back to where they stood and
    // the error is thrown; once it is thrown, no recovery ever adds the
    // record.
    void append(std::span<const AppendTarget> targets);

    // The journal in the private folder of the log set whose first log is
    // `firstLog`, given in the folder's one spelling.
    [[nodiscard]] std::filesystem::path journalPathFor(const std::filesystem::path& firstLog) const;
    // The journal beside that log set.
    [[nodiscard]] static std::filesystem::path besideJournalPathFor(const std::filesystem::path& firstLog);
    // What to tell the student when there is no private folder (no home).
    void useMissingStateFolderReason(std::string reason);
    // Closes the journals kept open, after a failure that may have left
    // them dead or behind (a lost network drive, a folder removed and made
    // again): the next command opens them by name.
    void letGoOfJournals() noexcept;

private:
    void appendJournaled(std::span<const AppendTarget> targets);
    [[nodiscard]] std::filesystem::path canonicalFolderOf(const std::filesystem::path& log);
    // The private folder, made and checked once; error 76 when there is none.
    const std::filesystem::path& privateFolder();
    [[nodiscard]] std::optional<NativeFiles::Handle> keptOpen(const std::filesystem::path& path) const;
    NativeFiles::Handle keepOpen(const std::filesystem::path& path, NativeFiles::Handle handle, bool created);
    // A private journal to finish before the one beside the logs, once.
    [[nodiscard]] std::optional<NativeFiles::Handle> leftInPrivateFolder(const std::filesystem::path& path);
    void settleAbandoned() noexcept;

    NativeFiles& files_;
    std::filesystem::path stateFolder_;
    std::chrono::milliseconds lockWait_;
    std::string missingStateFolder_;
    bool stateFolderMade_ = false;
    std::map<std::filesystem::path, std::filesystem::path> canonicalFolders_;
    // Each journal file is opened once and kept for the next command, until
    // a command fails.
    std::map<std::filesystem::path, NativeFiles::Handle> openJournals_;
    std::set<std::filesystem::path> privateChecked_;
    // Generations of a journal whose command reported its failure but could
    // not mark it failed: they are rolled back, never forward.
    std::map<std::filesystem::path, std::uint64_t> abandoned_;
};

// One log written alone, without a journal: under its lock, appended and
// synced, and cut back to its old size on failure.
void appendLocked(NativeFiles& files, NativeFiles::Handle handle, const std::filesystem::path& path,
                  std::string_view bytes, std::chrono::milliseconds lockWait);

}  // namespace qadrill
