#pragma once
// A record that goes to several logs lands whole in every one of them or in
// none, even when the process is killed or the power fails halfway.
//
// Each log set (named by its first, lowest-numbered log: the master log) has
// one journal in the user's private state folder, named by a hash of that
// log's full path, so nobody else can plant, link or read it and the data
// folder stays free of hidden files.  The journal is reused: each command
// overwrites it in place with its records, the logs' sizes and a new
// generation, and syncs it, under the logs' locks (taken in file-number
// order) and before any log is touched; then the logs are appended to and
// synced, and the state byte is set to done.  The state folder is synced
// once, when the journal file is first made.
//
// A journal found not done is an interrupted command.  It is first made
// durable, then a whole one is rolled forward (the record completed in every
// log) and one marked failed is rolled back (a tail that is a prefix of the
// record cut off); every log it names is synced before it is marked done.
// Only logs named in the journal's own folder are touched.  Bytes at a
// recorded offset that are not the record's are never cut; the record is
// then appended after them, except a run of zeros a power cut left, which
// is the crash's and is replaced.  A journal that cannot be finished (its
// folder gone, a log missing) is set aside beside it under a name that says
// so, and the command goes on.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <span>
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

    // Appends every target's bytes to its log, all or nothing.  Each lock is
    // waited for up to the lock wait, then error 70.  On any failure the logs
    // are cut back to where they stood and the error is thrown; once it is
    // thrown, no recovery ever adds the record.
    void append(std::span<const AppendTarget> targets);

    // The journal of the log set whose first log is `firstLog`, given in the
    // folder's one spelling.
    [[nodiscard]] std::filesystem::path journalPathFor(const std::filesystem::path& firstLog) const;

private:
    [[nodiscard]] std::filesystem::path canonicalFolderOf(const std::filesystem::path& log);

    NativeFiles& files_;
    std::filesystem::path stateFolder_;
    std::chrono::milliseconds lockWait_;
    bool stateFolderMade_ = false;
    std::map<std::filesystem::path, std::filesystem::path> canonicalFolders_;
    // Each journal file is opened once and kept for the next command.
    std::map<std::filesystem::path, NativeFiles::Handle> openJournals_;
    // Generations of a journal whose command reported its failure but could
    // not mark it failed: they are rolled back, never forward.
    std::map<std::filesystem::path, std::uint64_t> abandoned_;
};

// One log written alone, without a journal: under its lock, appended and
// synced, and cut back to its old size on failure.
void appendLocked(NativeFiles& files, NativeFiles::Handle handle, std::string_view bytes,
                  std::chrono::milliseconds lockWait);

}  // namespace qadrill
