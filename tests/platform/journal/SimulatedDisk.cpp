#include "tests/platform/journal/SimulatedDisk.h"

#include <algorithm>

#include "platform/RuntimeError.h"

namespace qadrill::testing {

namespace {

// Where the process's bytes first differ from the synced ones.
std::size_t firstChange(const SimulatedDisk::File& file) {
    const auto [seen, durable] =
        std::mismatch(file.seen.begin(), file.seen.end(), file.durable.begin(), file.durable.end());
    return static_cast<std::size_t>(seen - file.seen.begin());
}

// The synced bytes with the first half of what changed after them written back.
std::string halfWrittenBack(const SimulatedDisk::File& file) {
    const std::size_t from = firstChange(file);
    const std::size_t cut = from + (file.seen.size() - from) / 2;
    std::string bytes = file.seen.substr(0, cut);
    if (file.durable.size() > cut) bytes += file.durable.substr(cut);
    return bytes;
}

// The new size reached the disk, the new bytes past the old end did not.
std::string sizeKeptZeroed(const SimulatedDisk::File& file) {
    if (file.seen.size() <= file.durable.size()) return file.durable;
    return file.durable + std::string(file.seen.size() - file.durable.size(), '\0');
}

std::string survivingBytes(const SimulatedDisk::File& file, CrashKind kind) {
    switch (kind) {
        case CrashKind::killed:
            return file.seen;
        case CrashKind::powerCutDropsUnsynced:
            return file.durable;
        case CrashKind::powerCutKeepsHalfUnsynced:
            return halfWrittenBack(file);
        case CrashKind::powerCutKeepsSizeZeroed:
            return sizeKeptZeroed(file);
    }
    return file.durable;
}

}  // namespace

SimulatedDisk SimulatedDisk::afterCrash(CrashKind kind) const {
    SimulatedDisk after;
    after.aliases_ = aliases_;
    after.journalsBesideLogs_ = journalsBesideLogs_;
    // A killed process leaves its unsynced bytes in the system's cache: the
    // next process reads them, a power cut after that still loses them.
    if (kind == CrashKind::killed) {
        after.files_ = files_;
        return after;
    }
    for (const auto& [path, file] : files_) {
        // Write-back order is the disk's own: an unsynced name may or may not survive.
        if (!file.named && kind == CrashKind::powerCutDropsUnsynced) continue;
        const std::string bytes = survivingBytes(file, kind);
        after.files_[path] = File{bytes, bytes, true};
    }
    return after;
}

std::filesystem::path SimulatedDisk::resolved(const std::filesystem::path& path) const {
    const auto alias = aliases_.find(path.parent_path());
    return alias == aliases_.end() ? path : alias->second / path.filename();
}

void SimulatedDisk::put(const std::filesystem::path& path, const std::string& bytes) {
    files_[resolved(path)] = File{bytes, bytes, true};
}

std::optional<std::string> SimulatedDisk::bytesOf(const std::filesystem::path& path) const {
    const auto found = files_.find(resolved(path));
    if (found == files_.end()) return std::nullopt;
    return found->second.seen;
}

std::map<std::string, std::string> SimulatedDisk::filesIn(const std::filesystem::path& folder) const {
    std::map<std::string, std::string> found;
    for (const auto& [path, file] : files_)
        if (path.parent_path() == folder) found[path.filename().string()] = file.seen;
    return found;
}

void SimulatedDisk::step() {
    ++operations_;
    if (died_ || (lastOperation_ && operations_ > *lastOperation_)) {
        died_ = true;
        throw ProcessDied{};
    }
    if (!failure_) return;
    const bool due = failure_->fromThereOn ? operations_ >= failure_->which : operations_ == failure_->which;
    if (due) throw RuntimeError(failure_->number);
}

SimulatedDisk::File& SimulatedDisk::fileOf(Handle handle) {
    if (lost_.contains(handle)) throw RuntimeError(err::deviceIo);
    return files_.at(handles_.at(handle));
}

void SimulatedDisk::loseOpenHandles() {
    for (const auto& [handle, path] : handles_) lost_.insert(handle);
}

NativeFiles::Handle SimulatedDisk::handleTo(const std::filesystem::path& path) {
    handles_[nextHandle_] = path;
    return nextHandle_++;
}

NativeFiles::Handle SimulatedDisk::openLog(const std::filesystem::path& path) {
    step();
    // A new log's name is synced into its folder as it is made.
    files_.try_emplace(resolved(path), File{"", "", true});
    return handleTo(resolved(path));
}

std::optional<NativeFiles::Handle> SimulatedDisk::openExistingLog(const std::filesystem::path& path) {
    if (!files_.contains(resolved(path))) return std::nullopt;
    return handleTo(resolved(path));
}

FileIdentity SimulatedDisk::identityOf(Handle handle) {
    return {1, std::hash<std::string>{}(handles_.at(handle).string())};
}

std::filesystem::path SimulatedDisk::canonicalFolder(const std::filesystem::path& folder) {
    const auto alias = aliases_.find(folder);
    return alias == aliases_.end() ? folder : alias->second;
}

void SimulatedDisk::makePrivateFolder(const std::filesystem::path&) {}

NativeFiles::Handle SimulatedDisk::openJournal(const std::filesystem::path& path, bool& created) {
    created = !files_.contains(path);
    if (created) {
        step();
        files_[path] = File{"", "", false};
    }
    return handleTo(path);
}

std::optional<NativeFiles::Handle> SimulatedDisk::openExistingJournal(const std::filesystem::path& path) {
    if (!files_.contains(path)) return std::nullopt;
    return handleTo(path);
}

std::optional<NativeFiles::Handle> SimulatedDisk::openFolderJournal(const std::filesystem::path& path, bool& created) {
    if (!journalsBesideLogs_) return std::nullopt;
    return openJournal(resolved(path), created);
}

// Closing a file releases its lock.
void SimulatedDisk::closeHandle(Handle handle) noexcept {
    unlock(handle);
    handles_.erase(handle);
}

void SimulatedDisk::syncFolder(const std::filesystem::path& folder, std::optional<Handle>) {
    step();
    for (auto& [path, file] : files_)
        if (path.parent_path() == folder) file.named = true;
}

// Two copies of a command never run here at once; a second handle on a locked
// file is what a journal naming a log another way would open.
bool SimulatedDisk::tryLock(Handle handle) {
    if (lost_.contains(handle)) throw RuntimeError(err::deviceIo);
    const auto [holder, taken] = locks_.try_emplace(handles_.at(handle), handle);
    return taken || holder->second == handle;
}

void SimulatedDisk::unlock(Handle handle) noexcept {
    const auto held = handles_.find(handle);
    if (held == handles_.end()) return;
    const auto lock = locks_.find(held->second);
    if (lock != locks_.end() && lock->second == handle) locks_.erase(lock);
}

std::uint64_t SimulatedDisk::sizeOf(Handle handle) { return fileOf(handle).seen.size(); }

std::string SimulatedDisk::readAt(Handle handle, std::uint64_t offset, std::size_t count) {
    const std::string& seen = fileOf(handle).seen;
    if (offset >= seen.size()) return {};
    return seen.substr(offset, count);
}

// Two steps, so that a process can die with half of a record in the file, as
// a killed writer does when the kernel stops a large write part way.
std::size_t SimulatedDisk::appendBytes(Handle handle, std::string_view bytes) {
    const std::size_t half = bytes.size() / 2;
    step();
    fileOf(handle).seen += bytes.substr(0, half);
    step();
    fileOf(handle).seen += bytes.substr(half);
    return bytes.size();
}

void SimulatedDisk::writeAt(Handle handle, std::uint64_t offset, std::string_view bytes) {
    step();
    std::string& seen = fileOf(handle).seen;
    const std::size_t at = offset;
    if (seen.size() < at + bytes.size()) seen.resize(at + bytes.size());
    seen.replace(at, bytes.size(), bytes);
}

void SimulatedDisk::truncateTo(Handle handle, std::uint64_t size) {
    step();
    fileOf(handle).seen.resize(size);
}

void SimulatedDisk::sync(Handle handle) {
    step();
    File& file = fileOf(handle);
    file.durable = file.seen;
}

}  // namespace qadrill::testing
