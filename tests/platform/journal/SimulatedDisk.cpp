#include "tests/platform/journal/SimulatedDisk.h"

#include <algorithm>

#include "platform/RuntimeError.h"

namespace qadrill::testing {

namespace {

// The synced bytes and half of what came after them, when the file only grew.
std::string halfWrittenBack(const SimulatedDisk::File& file) {
    if (file.seen.size() < file.durable.size() || file.seen.compare(0, file.durable.size(), file.durable) != 0)
        return file.durable;
    const std::size_t unsynced = file.seen.size() - file.durable.size();
    return file.seen.substr(0, file.durable.size() + unsynced / 2);
}

}  // namespace

SimulatedDisk SimulatedDisk::afterCrash(CrashKind kind) const {
    SimulatedDisk after;
    if (kind == CrashKind::killed) {
        after.files_ = files_;
        after.unsyncedRemovals_ = unsyncedRemovals_;
        return after;
    }
    const bool keepHalf = kind == CrashKind::powerCutKeepsHalfUnsynced;
    for (const auto& [path, bytes] : unsyncedRemovals_) after.files_[path] = File{bytes, bytes, true};
    for (const auto& [path, file] : files_) {
        // Write-back order is the disk's own: an unsynced name may or may not survive.
        if (!file.named && !keepHalf) continue;
        const std::string bytes = keepHalf ? halfWrittenBack(file) : file.durable;
        after.files_[path] = File{bytes, bytes, true};
    }
    return after;
}

void SimulatedDisk::put(const std::filesystem::path& path, const std::string& bytes) {
    files_[path] = File{bytes, bytes, true};
}

std::optional<std::string> SimulatedDisk::bytesOf(const std::filesystem::path& path) const {
    const auto found = files_.find(path);
    if (found == files_.end()) return std::nullopt;
    return found->second.seen;
}

void SimulatedDisk::step() {
    ++operations_;
    if (lastOperation_ && operations_ > *lastOperation_) throw ProcessDied{};
    if (failure_ && operations_ == failure_->which) throw RuntimeError(failure_->number);
}

SimulatedDisk::File& SimulatedDisk::fileOf(Handle handle) { return files_.at(handles_.at(handle)); }

NativeFiles::Handle SimulatedDisk::openLog(const std::filesystem::path& path) {
    step();
    // A new log's name is synced into its folder as it is made.
    files_.try_emplace(path, File{"", "", true});
    handles_[nextHandle_] = path;
    return nextHandle_++;
}

NativeFiles::Handle SimulatedDisk::createJournal(const std::filesystem::path& path) {
    step();
    const auto [file, created] = files_.try_emplace(path, File{"", "", false});
    file->second.seen.clear();
    handles_[nextHandle_] = path;
    return nextHandle_++;
}

std::optional<std::string> SimulatedDisk::readWhole(const std::filesystem::path& path) { return bytesOf(path); }

void SimulatedDisk::closeHandle(Handle handle) noexcept { handles_.erase(handle); }

void SimulatedDisk::removeFile(const std::filesystem::path& path) {
    step();
    const auto found = files_.find(path);
    if (found == files_.end()) return;
    if (found->second.named) unsyncedRemovals_[path] = found->second.durable;
    files_.erase(found);
}

void SimulatedDisk::syncFolder(const std::filesystem::path& folder) {
    step();
    for (auto& [path, file] : files_)
        if (path.parent_path() == folder) file.named = true;
    std::erase_if(unsyncedRemovals_, [&](const auto& removal) { return removal.first.parent_path() == folder; });
}

bool SimulatedDisk::tryLock(Handle) { return true; }

void SimulatedDisk::unlock(Handle) noexcept {}

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
