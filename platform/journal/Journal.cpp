#include "platform/journal/Journal.h"

#include <algorithm>
#include <array>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "platform/RuntimeError.h"
#include "platform/journal/JournalFormat.h"

namespace qadrill {

namespace {

constexpr std::size_t longestName = 255;  // bytes of one name in the folder
constexpr auto lockRetryPause = std::chrono::milliseconds(10);

void lockWithin(NativeFiles& files, NativeFiles::Handle handle, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (!files.tryLock(handle)) {
        if (std::chrono::steady_clock::now() >= deadline) throw RuntimeError(err::fileLocked);
        std::this_thread::sleep_for(lockRetryPause);
    }
}

// Appends all of the bytes; a disk that takes nothing more is full.
void appendAll(NativeFiles& files, NativeFiles::Handle handle, std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t taken = files.appendBytes(handle, bytes);
        if (taken == 0) throw RuntimeError(err::diskFull);
        bytes.remove_prefix(std::min(taken, bytes.size()));
    }
}

// How a log stands against its record at the recorded offset.
enum class Standing { absent, partial, whole, foreign };

Standing standingOf(NativeFiles& files, NativeFiles::Handle handle, const JournalEntry& entry) {
    const std::uint64_t size = files.sizeOf(handle);
    if (size < entry.offset) return Standing::foreign;
    if (size == entry.offset) return entry.bytes.empty() ? Standing::whole : Standing::absent;
    const std::uint64_t tail = size - entry.offset;
    const std::size_t compared = static_cast<std::size_t>(std::min<std::uint64_t>(tail, entry.bytes.size()));
    if (files.readAt(handle, entry.offset, compared) != std::string_view(entry.bytes).substr(0, compared))
        return Standing::foreign;
    return compared == entry.bytes.size() ? Standing::whole : Standing::partial;
}

void completeRecord(NativeFiles& files, NativeFiles::Handle handle, const JournalEntry& entry) {
    switch (standingOf(files, handle, entry)) {
        case Standing::whole:
            return;
        case Standing::partial:
        case Standing::absent: {
            const std::uint64_t present = files.sizeOf(handle) - entry.offset;
            appendAll(files, handle, std::string_view(entry.bytes).substr(static_cast<std::size_t>(present)));
            break;
        }
        case Standing::foreign:
            // Someone else's bytes stand there: keep them, the record follows.
            appendAll(files, handle, entry.bytes);
            break;
    }
    files.sync(handle);
}

// Only a tail that is the record or a prefix of it, with nothing after it.
void cutBackRecord(NativeFiles& files, NativeFiles::Handle handle, const JournalEntry& entry) {
    const Standing standing = standingOf(files, handle, entry);
    if (standing != Standing::partial && standing != Standing::whole) return;
    if (files.sizeOf(handle) - entry.offset > entry.bytes.size()) return;
    files.truncateTo(handle, entry.offset);
    files.sync(handle);
}

// The locks of one command, released and any extra logs closed on leaving.
class HeldLogs {
public:
    HeldLogs(NativeFiles& files, std::chrono::milliseconds lockWait) : files_(files), lockWait_(lockWait) {}
    ~HeldLogs() {
        for (auto it = locked_.rbegin(); it != locked_.rend(); ++it) files_.unlock(*it);
        for (const NativeFiles::Handle handle : opened_) files_.closeHandle(handle);
    }
    HeldLogs(const HeldLogs&) = delete;
    HeldLogs& operator=(const HeldLogs&) = delete;

    void lock(NativeFiles::Handle handle) {
        lockWithin(files_, handle, lockWait_);
        locked_.push_back(handle);
    }

    // A log an interrupted command wrote that this one does not: opened and
    // locked here for the recovery.
    NativeFiles::Handle openAndLock(const std::filesystem::path& path) {
        const NativeFiles::Handle handle = files_.openLog(path);
        opened_.push_back(handle);
        lock(handle);
        return handle;
    }

private:
    NativeFiles& files_;
    std::chrono::milliseconds lockWait_;
    std::vector<NativeFiles::Handle> locked_;
    std::vector<NativeFiles::Handle> opened_;
};

NativeFiles::Handle handleFor(const JournalEntry& entry, std::span<const AppendTarget> targets, HeldLogs& held) {
    for (const AppendTarget& target : targets)
        if (target.path == entry.path) return target.handle;
    return held.openAndLock(entry.path);
}

// Finishes what an interrupted command left, then removes its journal.
void recover(NativeFiles& files, const std::filesystem::path& journal, std::span<const AppendTarget> targets,
             HeldLogs& held) {
    const auto bytes = files.readWhole(journal);
    if (!bytes) return;
    if (const auto contents = decodeJournal(*bytes)) {
        for (const JournalEntry& entry : contents->entries) {
            const NativeFiles::Handle handle = handleFor(entry, targets, held);
            if (contents->state == rollForward) {
                completeRecord(files, handle, entry);
            } else {
                cutBackRecord(files, handle, entry);
            }
        }
    }
    files.removeFile(journal);
}

// One command's journal, from creation to removal.
class CommandJournal {
public:
    CommandJournal(NativeFiles& files, std::filesystem::path path) : files_(files), path_(std::move(path)) {}
    ~CommandJournal() {
        if (handle_) files_.closeHandle(*handle_);
    }
    CommandJournal(const CommandJournal&) = delete;
    CommandJournal& operator=(const CommandJournal&) = delete;

    // Durable, file and folder, before any log is touched; on failure no
    // journal is left behind (best effort) and the error goes up.
    void write(const JournalContents& contents) {
        try {
            handle_ = files_.createJournal(path_);
            files_.writeAt(*handle_, 0, encodeJournal(contents));
            files_.sync(*handle_);
            files_.syncFolder(path_.parent_path());
        } catch (...) {
            removeQuietly();
            throw;
        }
    }

    // From here on a crash rolls the logs back, not forward.  Best effort:
    // the error being handled is the one to report.
    void markFailed() noexcept {
        try {
            files_.writeAt(*handle_, stateOffset, std::string_view(&rollBack, 1));
            files_.sync(*handle_);
        } catch (...) {
        }
    }

    // A journal that outlives its command only costs the next one a check:
    // every record it names is then whole, or cut back, already.
    void removeQuietly() noexcept {
        if (handle_) files_.closeHandle(*std::exchange(handle_, std::nullopt));
        try {
            files_.removeFile(path_);
        } catch (...) {
        }
    }

private:
    NativeFiles& files_;
    std::filesystem::path path_;
    std::optional<NativeFiles::Handle> handle_;
};

// A failed command takes back what it appended.  What cannot be cut back now
// stays in the journal, marked, for the next command to finish.
void abandon(NativeFiles& files, CommandJournal& journal, const JournalContents& contents,
             std::span<const AppendTarget> targets) {
    journal.markFailed();
    bool allCut = true;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        try {
            cutBackRecord(files, targets[i].handle, contents.entries[i]);
        } catch (...) {
            allCut = false;
        }
    }
    if (allCut) journal.removeQuietly();
}

}  // namespace

std::filesystem::path journalPathFor(const std::filesystem::path& firstLog) {
    const std::string name = pathBytes(firstLog.filename());
    constexpr std::string_view suffix = ".journal";
    std::string hidden = "." + name + std::string(suffix);
    if (hidden.size() > longestName) {
        // Cut on a character boundary and keep the names apart by a hash of the whole.
        std::size_t keep = longestName - suffix.size() - 1 - 17;
        while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
        std::array<char, 17> hash{};
        static constexpr std::string_view digits = "0123456789abcdef";
        const std::uint64_t value = fnv1a(name);
        hash[0] = '~';
        for (std::size_t i = 0; i < 16; ++i) hash[16 - i] = digits[(value >> (4 * i)) & 0xF];
        hidden = "." + name.substr(0, keep) + std::string(hash.data(), hash.size()) + std::string(suffix);
    }
    return firstLog.parent_path() / std::filesystem::path(std::u8string(hidden.begin(), hidden.end()));
}

void appendJournaled(NativeFiles& files, std::span<const AppendTarget> targets, std::chrono::milliseconds lockWait) {
    if (targets.empty()) return;
    std::vector<AppendTarget> ordered(targets.begin(), targets.end());
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const AppendTarget& a, const AppendTarget& b) { return a.fileNumber < b.fileNumber; });

    HeldLogs held(files, lockWait);
    for (const AppendTarget& target : ordered) held.lock(target.handle);
    const std::filesystem::path journalPath = journalPathFor(ordered.front().path);
    recover(files, journalPath, ordered, held);

    JournalContents contents;
    for (const AppendTarget& target : ordered)
        contents.entries.push_back(
            {target.fileNumber, target.path, files.sizeOf(target.handle), std::string(target.bytes)});
    CommandJournal journal(files, journalPath);
    journal.write(contents);
    try {
        for (const AppendTarget& target : ordered) {
            appendAll(files, target.handle, target.bytes);
            files.sync(target.handle);
        }
    } catch (...) {
        abandon(files, journal, contents, ordered);
        throw;
    }
    journal.removeQuietly();
}

void appendLocked(NativeFiles& files, NativeFiles::Handle handle, std::string_view bytes,
                  std::chrono::milliseconds lockWait) {
    HeldLogs held(files, lockWait);
    held.lock(handle);
    const std::uint64_t oldSize = files.sizeOf(handle);
    try {
        appendAll(files, handle, bytes);
        files.sync(handle);
    } catch (...) {
        try {
            files.truncateTo(handle, oldSize);
            files.sync(handle);
        } catch (...) {
            // The first error is the one to report.
        }
        throw;
    }
}

}  // namespace qadrill
