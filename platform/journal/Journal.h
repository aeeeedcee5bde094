#pragma once
// A record that goes to several logs lands whole in every one of them or in
// none, even when the process is killed or the power fails halfway.
//
// Under the logs' locks (taken in file-number order) the records and the
// size of each log are first written to a journal beside the first log and
// synced, file and folder; only then are the logs appended to and synced,
// and the journal removed.  A journal found under those locks is an
// interrupted command: if it is whole it is rolled forward (the record
// completed in every log), and one marked as failed is rolled back (a tail
// that is a prefix of the record cut off).  Bytes at a recorded offset that
// are not the record's are never cut; the record is then appended after them.

#include <chrono>
#include <cstdint>
#include <filesystem>
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

// The journal of the logs whose first (lowest-numbered) log is `firstLog`:
// a hidden file beside it, named after it so two students never share one.
[[nodiscard]] std::filesystem::path journalPathFor(const std::filesystem::path& firstLog);

// Appends every target's bytes to its log, all or nothing.  Each lock is
// waited for up to `lockWait`, then error 70.  On any failure the logs are
// cut back to where they stood and the error is thrown; what could not be cut
// back is left to the next command's recovery.
void appendJournaled(NativeFiles& files, std::span<const AppendTarget> targets, std::chrono::milliseconds lockWait);

// One log written alone, without a journal: under its lock, appended and
// synced, and cut back to its old size on failure.
void appendLocked(NativeFiles& files, NativeFiles::Handle handle, std::string_view bytes,
                  std::chrono::milliseconds lockWait);

}  // namespace qadrill
