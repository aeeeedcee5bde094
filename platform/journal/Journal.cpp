#include "platform/journal/Journal.h"

#include <algorithm>
#include <functional>
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
constexpr std::string_view lockedByAnother = "Another program holds this file locked";

using Deadline = std::chrono::steady_clock::time_point;

void lockBefore(NativeFiles& files, NativeFiles::Handle handle, Deadline deadline, const std::filesystem::path& path) {
    while (!tagErrorsWithPath(path, [&] { return files.tryLock(handle); })) {
        if (std::chrono::steady_clock::now() >= deadline)
            throw RuntimeError(err::fileLocked, std::string(lockedByAnother), pathBytes(path));
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

// A journal that cannot be finished: an unknown folder, a missing log, a
// log that is no longer the student's, a record that is stale.
struct CannotFinish {};

// A name the journal gives must be a plain name in its folder.
bool isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

std::filesystem::path pathFromBytes(std::string_view bytes) { return {std::u8string(bytes.begin(), bytes.end())}; }

// The locks of one command, all waited for within one lock wait; the logs
// opened here for a recovery are closed on leaving, which releases them.
class HeldLogs {
public:
    HeldLogs(NativeFiles& files, std::chrono::milliseconds lockWait)
        : files_(files), deadline_(std::chrono::steady_clock::now() + lockWait) {}
    ~HeldLogs() {
        for (const NativeFiles::Handle handle : opened_) files_.closeHandle(handle);
    }
    HeldLogs(const HeldLogs&) = delete;
    HeldLogs& operator=(const HeldLogs&) = delete;

    void lock(NativeFiles::Handle handle, const std::filesystem::path& path) {
        lockBefore(files_, handle, deadline_, path);
    }

    // A log an interrupted command wrote that this one does not: opened and
    // locked here for the recovery, unless it is one of `targets` under
    // another name.  Nullopt when it is not there; CannotFinish when what
    // stands there now is no log of the student's.
    std::optional<NativeFiles::Handle> openForRecovery(const std::filesystem::path& path,
                                                       std::span<const AppendTarget> targets) {
        std::optional<NativeFiles::Handle> handle;
        try {
            handle = files_.openExistingLog(path);
        } catch (const RuntimeError&) {
            throw CannotFinish{};
        }
        if (!handle) return std::nullopt;
        opened_.push_back(*handle);
        const FileIdentity identity = files_.identityOf(*handle);
        for (const AppendTarget& target : targets)
            if (files_.identityOf(target.handle) == identity) return target.handle;
        lock(*handle, path);
        return handle;
    }

private:
    NativeFiles& files_;
    Deadline deadline_;
    std::vector<NativeFiles::Handle> opened_;
};

// A journal file, kept open from the first command on.
class JournalFile {
public:
    JournalFile(NativeFiles& files, std::filesystem::path path, NativeFiles::Handle handle, bool created)
        : files_(files), path_(std::move(path)), handle_(handle), created_(created) {}

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    [[nodiscard]] bool created() const { return created_; }

    [[nodiscard]] std::string readHeader() {
        return tagErrorsWithPath(path_, [&] { return files_.readAt(handle_, 0, journalHeaderSize); });
    }
    [[nodiscard]] std::string readWhole(std::uint64_t length) {
        return tagErrorsWithPath(path_, [&] {
            return files_.readAt(handle_, 0, static_cast<std::size_t>(std::min(length, files_.sizeOf(handle_))));
        });
    }

    void sync() {
        tagErrorsWithPath(path_, [&] { files_.sync(handle_); });
    }
    // Makes the folder's entry for the journal durable.
    void syncEntry() {
        tagErrorsWithPath(path_, [&] { files_.syncFolder(path_.parent_path(), handle_); });
    }

    void writeDurably(std::string_view bytes) {
        tagErrorsWithPath(path_, [&] {
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
    NativeFiles& files_;
    std::filesystem::path path_;
    NativeFiles::Handle handle_;
    bool created_;
};

// Where an unfinished journal is kept, beside the journal or, where that
// cannot be, in the private folder.
class AsideKeeper {
public:
    virtual ~AsideKeeper() = default;
    virtual void keepAside(const std::filesystem::path& journal, bool besideLogs, std::string_view bytes,
                           std::uint64_t generation) = 0;
};

// How a recovery reads bytes after a record that are not the record's.
// Where every command of the drill goes through this journal, they were
// written later without it: the record is stale and set aside, never
// appended after them.  Where commands may have gone elsewhere (another
// machine's private journal), nothing tells them from bytes typed in by
// hand, which the record follows.
enum class LaterBytes { followed, stale };

struct RunPlace {
    NativeFiles& files;
    HeldLogs& held;
    AsideKeeper& aside;
    std::map<std::filesystem::path, std::uint64_t>& abandoned;
    LaterBytes laterBytes;
    // A journal beside its logs names them in its own folder, however this
    // machine reaches that folder; a private one names the folder too.
    bool besideLogs;
};

// One journaled command: recovery of what the journal holds, then the command.
class JournalRun {
public:
    JournalRun(const RunPlace& place, JournalFile& journal, std::span<const AppendTarget> ordered,
               std::filesystem::path folder)
        : place_(place), files_(place.files), journal_(journal), ordered_(ordered), folder_(std::move(folder)) {}

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
            place_.aside.keepAside(journal_.path(), place_.besideLogs, bytes, contents->generation);
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
    // Every log is found, and every record's place looked at, before any is
    // touched, so one that cannot be finished leaves them all as they are.
    void finish(const JournalContents& contents) {
        if (!place_.besideLogs && contents.folder != folder_) throw CannotFinish{};
        std::vector<std::optional<NativeFiles::Handle>> handles;
        for (const JournalEntry& entry : contents.entries) {
            if (!isPlainName(entry.name)) throw CannotFinish{};
            handles.push_back(handleFor(folder_ / pathFromBytes(entry.name)));
            // A log that is gone holds nothing to cut back.
            if (!handles.back() && contents.state != rollBack) throw CannotFinish{};
        }
        if (contents.state != rollBack && place_.laterBytes == LaterBytes::stale) {
            for (std::size_t i = 0; i < handles.size(); ++i)
                if (standingOf(files_, *handles[i], contents.entries[i]) == Standing::foreign) throw CannotFinish{};
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
        return place_.held.openForRecovery(path, ordered_);
    }

    // A failed command takes back what it appended.  What cannot be cut back
    // now stays in the journal, marked failed, for the next command; a mark
    // that cannot be written is kept in this process instead, and written
    // once the disk takes it again (at the next command, or as the program
    // ends).
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

    RunPlace place_;
    NativeFiles& files_;
    JournalFile& journal_;
    std::span<const AppendTarget> ordered_;
    std::filesystem::path folder_;
};

std::string hexOf(std::uint64_t value) {
    static constexpr std::string_view digits = "0123456789abcdef";
    std::string hex(16, '0');
    for (std::size_t i = 0; i < 16; ++i) hex[15 - i] = digits[(value >> (4 * i)) & 0xF];
    return hex;
}

// Kept whole under a name that says what it is: `journal` with the
// generation.  Beside the logs when the file there is the student's own,
// else in the private folder.
class SetAside final : public AsideKeeper {
public:
    SetAside(NativeFiles& files, std::function<std::filesystem::path()> privateFolder)
        : files_(files), privateFolder_(std::move(privateFolder)) {}

    void keepAside(const std::filesystem::path& journal, bool besideLogs, std::string_view bytes,
                   std::uint64_t generation) override {
        std::filesystem::path aside = journal;
        aside += ".unfinished-" + std::to_string(generation);
        bool created = false;
        std::optional<NativeFiles::Handle> handle;
        if (besideLogs) {
            handle = tagErrorsWithPath(aside, [&] { return files_.openFolderJournal(aside, created); });
            if (!handle) aside = privateFolder_() / aside.filename();
        }
        tagErrorsWithPath(aside, [&] {
            if (!handle) handle = files_.openJournal(aside, created);
            try {
                files_.truncateTo(*handle, 0);
                files_.writeAt(*handle, 0, bytes);
                files_.sync(*handle);
                files_.syncFolder(aside.parent_path(), *handle);
            } catch (...) {
                files_.closeHandle(*handle);
                throw;
            }
            files_.closeHandle(*handle);
        });
    }

private:
    NativeFiles& files_;
    std::function<std::filesystem::path()> privateFolder_;
};

}  // namespace

LogJournal::LogJournal(NativeFiles& files, std::filesystem::path stateFolder, std::chrono::milliseconds lockWait)
    : files_(files), stateFolder_(std::move(stateFolder)), lockWait_(lockWait) {}

LogJournal::~LogJournal() {
    settleAbandoned();
    letGoOfJournals();
}

void LogJournal::useMissingStateFolderReason(std::string reason) { missingStateFolder_ = std::move(reason); }

std::filesystem::path LogJournal::journalPathFor(const std::filesystem::path& firstLog) const {
    return stateFolder_ / (hexOf(wordChecksum(pathBytes(firstLog))) + ".journal");
}

std::filesystem::path LogJournal::besideJournalPathFor(const std::filesystem::path& firstLog) {
    std::filesystem::path journal = firstLog;
    journal += ".journal";
    return journal;
}

std::filesystem::path LogJournal::canonicalFolderOf(const std::filesystem::path& log) {
    const std::filesystem::path folder = log.parent_path();
    const auto known = canonicalFolders_.find(folder);
    if (known != canonicalFolders_.end()) return known->second;
    return canonicalFolders_[folder] = files_.canonicalFolder(folder);
}

const std::filesystem::path& LogJournal::privateFolder() {
    if (stateFolder_.empty()) throw RuntimeError(err::pathNotFound, missingStateFolder_);
    if (!stateFolderMade_) {
        tagErrorsWithPath(stateFolder_, [&] { files_.makePrivateFolder(stateFolder_); });
        stateFolderMade_ = true;
    }
    return stateFolder_;
}

std::optional<NativeFiles::Handle> LogJournal::keptOpen(const std::filesystem::path& path) const {
    const auto known = openJournals_.find(path);
    if (known == openJournals_.end()) return std::nullopt;
    return known->second;
}

// A new journal's name is durable before anything relies on it.
NativeFiles::Handle LogJournal::keepOpen(const std::filesystem::path& path, NativeFiles::Handle handle, bool created) {
    if (created) {
        try {
            files_.syncFolder(path.parent_path(), handle);
        } catch (...) {
            files_.closeHandle(handle);
            throw;
        }
    }
    openJournals_.emplace(path, handle);
    return handle;
}

void LogJournal::append(std::span<const AppendTarget> targets) {
    if (targets.empty()) return;
    try {
        appendJournaled(targets);
    } catch (...) {
        letGoOfJournals();
        throw;
    }
}

void LogJournal::letGoOfJournals() noexcept {
    for (const auto& [path, handle] : openJournals_) files_.closeHandle(handle);
    openJournals_.clear();
}

void LogJournal::appendJournaled(std::span<const AppendTarget> targets) {
    std::vector<AppendTarget> ordered(targets.begin(), targets.end());
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const AppendTarget& a, const AppendTarget& b) { return a.fileNumber < b.fileNumber; });
    const std::filesystem::path folder = canonicalFolderOf(ordered.front().path);
    const std::filesystem::path firstLog = folder / ordered.front().path.filename();
    HeldLogs held(files_, lockWait_);
    for (const AppendTarget& target : ordered) held.lock(target.handle, target.path);
    SetAside aside(files_, [this]() -> std::filesystem::path { return privateFolder(); });
    const auto runOn = [&](JournalFile& journal, LaterBytes laterBytes, bool beside) {
        return JournalRun({files_, held, aside, abandoned_, laterBytes, beside}, journal, ordered, folder);
    };

    // Under the logs' locks, so two machines never make or read it at once.
    const std::filesystem::path besidePath = besideJournalPathFor(firstLog);
    bool created = false;
    std::optional<NativeFiles::Handle> beside = keptOpen(besidePath);
    if (!beside) {
        beside = tagErrorsWithPath(besidePath, [&] { return files_.openFolderJournal(besidePath, created); });
        if (beside) tagErrorsWithPath(besidePath, [&] { keepOpen(besidePath, *beside, created); });
    }
    const std::filesystem::path privatePath = journalPathFor(firstLog);
    if (beside) {
        // A private journal this machine left (before the logs' folder held
        // one, or while it could not) is finished once per program, first;
        // a record others have written past since is stale.  A private
        // folder that fails its checks is never read.
        if (const auto left = leftInPrivateFolder(privatePath)) {
            JournalFile journal(files_, privatePath, *left, false);
            runOn(journal, LaterBytes::stale, false).recover();
        }
        JournalFile journal(files_, besidePath, *beside, created);
        JournalRun run = runOn(journal, LaterBytes::stale, true);
        run.run(run.recover());
        return;
    }
    // A folder that cannot hold it under the rules: this machine's own.
    privateFolder();
    privateChecked_.insert(privatePath);
    std::optional<NativeFiles::Handle> kept = keptOpen(privatePath);
    if (!kept) {
        tagErrorsWithPath(privatePath, [&] {
            const NativeFiles::Handle opened = files_.openJournal(privatePath, created);
            kept = keepOpen(privatePath, opened, created);
        });
    }
    JournalFile journal(files_, privatePath, *kept, created);
    JournalRun run = runOn(journal, LaterBytes::followed, false);
    run.run(run.recover());
}

std::optional<NativeFiles::Handle> LogJournal::leftInPrivateFolder(const std::filesystem::path& path) {
    if (!privateChecked_.insert(path).second) return std::nullopt;
    if (const auto kept = keptOpen(path)) return kept;
    std::optional<NativeFiles::Handle> handle;
    try {
        privateFolder();
        handle = files_.openExistingJournal(path);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
    if (handle) openJournals_.emplace(path, *handle);
    return handle;
}

// A failed mark the disk would not take is tried once more, on the journal
// opened again by its name when its command's handle was let go.
void LogJournal::settleAbandoned() noexcept {
    for (const auto& [path, generation] : abandoned_) {
        try {
            std::optional<NativeFiles::Handle> handle = keptOpen(path);
            if (!handle) {
                bool created = false;
                handle = path.parent_path() == stateFolder_ ? files_.openExistingJournal(path)
                                                            : files_.openFolderJournal(path, created);
                if (handle) openJournals_.emplace(path, *handle);  // closed with the rest
            }
            if (!handle) continue;
            const auto header = decodeHeader(files_.readAt(*handle, 0, journalHeaderSize));
            if (!header || header->generation != generation || header->state == done) continue;
            files_.writeAt(*handle, stateOffset, std::string_view(&rollBack, 1));
            files_.sync(*handle);
        } catch (...) {
        }
    }
}

void appendLocked(NativeFiles& files, NativeFiles::Handle handle, const std::filesystem::path& path,
                  std::string_view bytes, std::chrono::milliseconds lockWait) {
    HeldLogs held(files, lockWait);
    held.lock(handle, path);
    const std::uint64_t oldSize = files.sizeOf(handle);
    // The file stays open for more writes: each takes the lock anew.
    struct Unlock {
        NativeFiles& files;
        NativeFiles::Handle handle;
        ~Unlock() { files.unlock(handle); }
    } const unlockOnLeaving{files, handle};
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
