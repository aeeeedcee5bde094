#include "platform/journal/Journal.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/RuntimeError.h"
#include "platform/journal/JournalFormat.h"

namespace qadrill {

namespace {

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

// How a log stands against its record at the recorded offset.  Zeros after
// a prefix of the record (or none of it), no longer than the record and with
// nothing after them, are what a power cut leaves of a file whose new size
// reached the disk before its bytes: they are the crash's.
enum class Standing { absent, partial, whole, zeroed, foreign };

Standing standingOf(NativeFiles& files, NativeFiles::Handle handle, const JournalEntry& entry) {
    const std::uint64_t size = files.sizeOf(handle);
    if (size < entry.offset) return Standing::foreign;
    if (size == entry.offset) return entry.bytes.empty() ? Standing::whole : Standing::absent;
    const std::uint64_t tail = size - entry.offset;
    const std::size_t compared = static_cast<std::size_t>(std::min<std::uint64_t>(tail, entry.bytes.size()));
    const std::string there = files.readAt(handle, entry.offset, compared);
    const auto differs = std::mismatch(there.begin(), there.end(), entry.bytes.begin()).first;
    if (differs == there.end()) return compared == entry.bytes.size() ? Standing::whole : Standing::partial;
    const bool zerosToTheEnd = std::all_of(differs, there.end(), [](char c) { return c == '\0'; });
    return zerosToTheEnd && tail <= entry.bytes.size() ? Standing::zeroed : Standing::foreign;
}

void completeRecord(NativeFiles& files, NativeFiles::Handle handle, const JournalEntry& entry) {
    switch (standingOf(files, handle, entry)) {
        case Standing::whole:
            return;
        case Standing::zeroed:
            files.truncateTo(handle, entry.offset);
            appendAll(files, handle, entry.bytes);
            return;
        case Standing::partial:
        case Standing::absent: {
            const std::uint64_t present = files.sizeOf(handle) - entry.offset;
            appendAll(files, handle, std::string_view(entry.bytes).substr(static_cast<std::size_t>(present)));
            return;
        }
        case Standing::foreign:
            // Someone else's bytes stand there: keep them, the record follows.
            appendAll(files, handle, entry.bytes);
            return;
    }
}

// Only a tail that is the record, a prefix of it or the crash's zeros, with
// nothing after it.
void cutBackRecord(NativeFiles& files, NativeFiles::Handle handle, const JournalEntry& entry) {
    const Standing standing = standingOf(files, handle, entry);
    if (standing == Standing::absent || standing == Standing::foreign) return;
    if (files.sizeOf(handle) - entry.offset > entry.bytes.size()) return;
    files.truncateTo(handle, entry.offset);
}

// A name the journal gives must be a plain name in its folder.
bool isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

std::filesystem::path pathFromBytes(std::string_view bytes) { return {std::u8string(bytes.begin(), bytes.end())}; }

// The locks of one command, released and any extra logs closed on leaving.
class HeldLogs {
public:
    HeldLogs(NativeFiles& files, std::chrono::milliseconds lockWait) : files_(files), lockWait_(lockWait) {}
    ~HeldLogs() {
        std::for_each(locked_.rbegin(), locked_.rend(), [this](NativeFiles::Handle handle) { files_.unlock(handle); });
        for (const NativeFiles::Handle handle : opened_) files_.closeHandle(handle);
    }
    HeldLogs(const HeldLogs&) = delete;
    HeldLogs& operator=(const HeldLogs&) = delete;

    void lock(NativeFiles::Handle handle) {
        lockWithin(files_, handle, lockWait_);
        locked_.push_back(handle);
    }

    // A log an interrupted command wrote that this one does not: opened and
    // locked here for the recovery, unless it is one of `targets` under
    // another name.  Nullopt when it is not there.
    std::optional<NativeFiles::Handle> openForRecovery(const std::filesystem::path& path,
                                                       std::span<const AppendTarget> targets) {
        const auto handle = files_.openExistingLog(path);
        if (!handle) return std::nullopt;
        opened_.push_back(*handle);
        const FileIdentity identity = files_.identityOf(*handle);
        for (const AppendTarget& target : targets)
            if (files_.identityOf(target.handle) == identity) return target.handle;
        lock(*handle);
        return handle;
    }

private:
    NativeFiles& files_;
    std::chrono::milliseconds lockWait_;
    std::vector<NativeFiles::Handle> locked_;
    std::vector<NativeFiles::Handle> opened_;
};

// The journal file of one log set, kept open from the first command on.
class JournalFile {
public:
    JournalFile(NativeFiles& files, std::filesystem::path path,
                std::map<std::filesystem::path, NativeFiles::Handle>& open)
        : files_(files), path_(std::move(path)) {
        const auto known = open.find(path_);
        if (known != open.end()) {
            handle_ = known->second;
            return;
        }
        naming(path_, [&] {
            handle_ = files_.openJournal(path_, created_);
            // The name is durable before anything relies on it.
            if (created_) syncFolderOrClose();
        });
        open.emplace(path_, handle_);
    }
    JournalFile(const JournalFile&) = delete;
    JournalFile& operator=(const JournalFile&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    [[nodiscard]] NativeFiles::Handle handle() const { return handle_; }
    [[nodiscard]] bool created() const { return created_; }

    [[nodiscard]] std::string readHeader() {
        return naming(path_, [&] { return files_.readAt(handle_, 0, journalHeaderSize); });
    }
    [[nodiscard]] std::string readWhole(std::uint64_t length) {
        return naming(path_, [&] {
            return files_.readAt(handle_, 0, static_cast<std::size_t>(std::min(length, files_.sizeOf(handle_))));
        });
    }

    void sync() {
        naming(path_, [&] { files_.sync(handle_); });
    }
    // Makes the state folder's entry for the journal durable.
    void syncEntry() {
        naming(path_, [&] { files_.syncFolder(path_.parent_path(), handle_); });
    }

    void writeDurably(std::string_view bytes) {
        naming(path_, [&] {
            files_.writeAt(handle_, 0, bytes);
            files_.sync(handle_);
        });
    }

    // The done mark needs no sync: every log it covers is synced already,
    // and a journal found whole again is rolled forward to the same bytes.
    void markDone() noexcept {
        try {
            files_.writeAt(handle_, stateOffset, std::string_view(&done, 1));
        } catch (...) {
        }
    }

    // False when the mark could not be made durable.
    [[nodiscard]] bool markFailed() noexcept {
        try {
            files_.writeAt(handle_, stateOffset, std::string_view(&rollBack, 1));
            files_.sync(handle_);
            return true;
        } catch (...) {
            return false;
        }
    }

private:
    void syncFolderOrClose() {
        try {
            files_.syncFolder(path_.parent_path(), handle_);
        } catch (...) {
            files_.closeHandle(handle_);
            throw;
        }
    }

    NativeFiles& files_;
    std::filesystem::path path_;
    NativeFiles::Handle handle_ = -1;
    bool created_ = false;
};

std::string hexOf(std::uint64_t value) {
    static constexpr std::string_view digits = "0123456789abcdef";
    std::string hex(16, '0');
    for (std::size_t i = 0; i < 16; ++i) hex[15 - i] = digits[(value >> (4 * i)) & 0xF];
    return hex;
}

// A journal that cannot be finished: an unknown folder, a missing log.
struct CannotFinish {};

// What a command's journal run shares with the journal of its log set.
struct JournalPlace {
    NativeFiles& files;
    std::chrono::milliseconds lockWait;
    const std::filesystem::path& stateFolder;
    std::filesystem::path journal;
    std::map<std::filesystem::path, NativeFiles::Handle>& open;
    std::map<std::filesystem::path, std::uint64_t>& abandoned;
};

// One journaled command: recovery of what the journal holds, then the command.
class JournalRun {
public:
    JournalRun(const JournalPlace& place, std::span<const AppendTarget> ordered, std::filesystem::path folder)
        : place_(place),
          files_(place.files),
          ordered_(ordered),
          folder_(std::move(folder)),
          held_(place.files, place.lockWait),
          journal_(place.files, place.journal, place.open) {}

    void lockLogs() {
        for (const AppendTarget& target : ordered_) held_.lock(target.handle);
    }

    // Finishes what an interrupted command left; the generation it had.
    std::uint64_t recover() {
        const auto header = decodeHeader(journal_.readHeader());
        if (!header) {
            // Empty or not a journal: its creation may have been cut short.
            if (!journal_.created()) journal_.syncEntry();
            return 0;
        }
        if (header->state == done) return header->generation;
        const std::string bytes = journal_.readWhole(header->length);
        auto contents = decodeJournal(bytes);
        // Torn: it was never synced, so no log was touched under it.
        if (!contents) return header->generation;
        const auto abandoned = place_.abandoned.find(journal_.path());
        if (abandoned != place_.abandoned.end() && abandoned->second == contents->generation)
            contents->state = rollBack;
        // What the interrupted process never synced is made durable first.
        journal_.sync();
        journal_.syncEntry();
        try {
            finish(*contents);
        } catch (const CannotFinish&) {
            setAside(bytes, contents->generation);
        }
        journal_.markDone();
        place_.abandoned.erase(journal_.path());
        return contents->generation;
    }

    void run(std::uint64_t generation) {
        JournalContents contents;
        contents.generation = generation + 1;
        contents.folder = folder_;
        for (const AppendTarget& target : ordered_)
            contents.entries.push_back({target.fileNumber, pathBytes(target.path.filename()),
                                        files_.sizeOf(target.handle), std::string(target.bytes)});
        // From the journal's first byte on, a failure is taken back: a
        // journal whose sync failed may still reach the disk.
        try {
            journal_.writeDurably(encodeJournal(contents));
            for (const AppendTarget& target : ordered_) {
                appendAll(files_, target.handle, target.bytes);
                files_.sync(target.handle);
            }
        } catch (...) {
            abandon(contents);
            throw;
        }
        journal_.markDone();
    }

private:
    // Every log is found before any is touched, so one that cannot be
    // leaves them all as they are.
    void finish(const JournalContents& contents) {
        if (contents.folder != folder_) throw CannotFinish{};
        std::vector<std::optional<NativeFiles::Handle>> handles;
        for (const JournalEntry& entry : contents.entries) {
            if (!isPlainName(entry.name)) throw CannotFinish{};
            handles.push_back(handleFor(folder_ / pathFromBytes(entry.name)));
            // A log that is gone holds nothing to cut back.
            if (!handles.back() && contents.state != rollBack) throw CannotFinish{};
        }
        for (std::size_t i = 0; i < handles.size(); ++i) {
            if (!handles[i]) continue;
            if (contents.state == rollBack) {
                cutBackRecord(files_, *handles[i], contents.entries[i]);
            } else {
                completeRecord(files_, *handles[i], contents.entries[i]);
            }
            files_.sync(*handles[i]);
        }
    }

    std::optional<NativeFiles::Handle> handleFor(const std::filesystem::path& path) {
        for (const AppendTarget& target : ordered_)
            if (target.path == path) return target.handle;
        return held_.openForRecovery(path, ordered_);
    }

    // Kept whole beside the journal, under a name that says what it is.
    void setAside(std::string_view bytes, std::uint64_t generation) {
        std::filesystem::path aside = journal_.path();
        aside += ".unfinished-" + std::to_string(generation);
        naming(aside, [&] {
            bool created = false;
            const NativeFiles::Handle handle = files_.openJournal(aside, created);
            try {
                files_.truncateTo(handle, 0);
                files_.writeAt(handle, 0, bytes);
                files_.sync(handle);
                files_.syncFolder(place_.stateFolder, handle);
            } catch (...) {
                files_.closeHandle(handle);
                throw;
            }
            files_.closeHandle(handle);
        });
    }

    // A failed command takes back what it appended.  What cannot be cut back
    // now stays in the journal, marked failed, for the next command; a mark
    // that cannot be written is kept in this process instead.
    void abandon(const JournalContents& contents) noexcept {
        const bool marked = journal_.markFailed();
        if (!marked) place_.abandoned[journal_.path()] = contents.generation;
        bool allCut = true;
        for (std::size_t i = 0; i < ordered_.size(); ++i) {
            try {
                cutBackRecord(files_, ordered_[i].handle, contents.entries[i]);
                files_.sync(ordered_[i].handle);
            } catch (...) {
                allCut = false;
            }
        }
        if (allCut && marked) journal_.markDone();
    }

    JournalPlace place_;
    NativeFiles& files_;
    std::span<const AppendTarget> ordered_;
    std::filesystem::path folder_;
    HeldLogs held_;
    JournalFile journal_;
};

}  // namespace

LogJournal::LogJournal(NativeFiles& files, std::filesystem::path stateFolder, std::chrono::milliseconds lockWait)
    : files_(files), stateFolder_(std::move(stateFolder)), lockWait_(lockWait) {}

LogJournal::~LogJournal() {
    for (const auto& [path, handle] : openJournals_) files_.closeHandle(handle);
}

std::filesystem::path LogJournal::journalPathFor(const std::filesystem::path& firstLog) const {
    return stateFolder_ / (hexOf(wordChecksum(pathBytes(firstLog))) + ".journal");
}

std::filesystem::path LogJournal::canonicalFolderOf(const std::filesystem::path& log) {
    const std::filesystem::path folder = log.parent_path();
    const auto known = canonicalFolders_.find(folder);
    if (known != canonicalFolders_.end()) return known->second;
    return canonicalFolders_[folder] = files_.canonicalFolder(folder);
}

void LogJournal::append(std::span<const AppendTarget> targets) {
    if (targets.empty()) return;
    std::vector<AppendTarget> ordered(targets.begin(), targets.end());
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const AppendTarget& a, const AppendTarget& b) { return a.fileNumber < b.fileNumber; });
    if (!stateFolderMade_) {
        naming(stateFolder_, [&] { files_.makePrivateFolder(stateFolder_); });
        stateFolderMade_ = true;
    }
    std::filesystem::path folder = canonicalFolderOf(ordered.front().path);
    const JournalPlace place{files_,        lockWait_,
                             stateFolder_,  journalPathFor(folder / ordered.front().path.filename()),
                             openJournals_, abandoned_};
    JournalRun run(place, ordered, std::move(folder));
    run.lockLogs();
    run.run(run.recover());
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
