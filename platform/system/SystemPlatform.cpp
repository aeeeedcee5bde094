#include "platform/system/SystemPlatform.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/RuntimeError.h"
#include "platform/journal/Journal.h"
#include "platform/system/LocalClock.h"
#include "platform/system/StateFolder.h"

namespace qadrill {

namespace {

// The folder all the records go to, or nothing when they go to several.
std::filesystem::path folderHoldingAllLogs(std::span<const AppendTarget> targets) {
    if (targets.empty()) return {};
    std::filesystem::path folder = targets.front().path.parent_path();
    for (const AppendTarget& target : targets)
        if (target.path.parent_path() != folder) return {};
    return folder;
}

// A name that leads nowhere (53, 76) is often the folder's fault: no network
// drive, a file where the data folder belongs.  The report then names the
// first folder on the way that is missing or is no folder, which is what the
// student has to fix; the file only when its folders all stand.
RuntimeError namingWhatIsAtFault(const RuntimeError& error, const std::filesystem::path& file) {
    if (error.number() != err::fileNotFound && error.number() != err::pathNotFound) return error;
    const auto isAtFault = [](const std::filesystem::path& folder) {
        std::error_code code;
        const std::filesystem::file_status status = std::filesystem::status(folder, code);
        return status.type() == std::filesystem::file_type::not_found ||
               (std::filesystem::exists(status) && !std::filesystem::is_directory(status));
    };
    const auto naming = [&](const std::filesystem::path& folder) {
        const std::u8string text = folder.u8string();
        return RuntimeError(error.number(), error.reason(), std::string(text.begin(), text.end()));
    };
    // The walk starts at the root whole: a drive's name alone ("C:", or the
    // long form's prefix) is no folder of its own.
    std::filesystem::path folder = file.root_path();
    if (!folder.empty() && isAtFault(folder)) return naming(folder);
    for (const auto& part : file.parent_path().relative_path()) {
        folder /= part;
        if (isAtFault(folder)) return naming(folder);
    }
    return error;
}

}  // namespace

SystemPlatform::SystemPlatform(DriveMap driveMap, std::chrono::milliseconds lockWait,
                               std::unique_ptr<SystemFiles> files)
    : files_(std::move(files)), driveMap_(std::move(driveMap)), lockWait_(lockWait) {}

// This class's own closeAll: a derived platform's part is already gone here.
SystemPlatform::~SystemPlatform() { SystemPlatform::closeAll(); }

void SystemPlatform::useStateFolder(std::filesystem::path folder) {
    stateFolder_ = std::move(folder);
    journal_.reset();
}

std::filesystem::path SystemPlatform::nativePathOf(const std::u16string& path) const {
    auto native = nativePath(path, driveMap_);
    if (!native) throw RuntimeError(err::badFileName);
    return *native;
}

bool SystemPlatform::isOpen(int fileNumber) const {
    return fileNumber >= 1 && fileNumber <= maxFileNumber &&
           openFiles_[static_cast<std::size_t>(fileNumber)].has_value();
}

SystemPlatform::OpenFile& SystemPlatform::openFile(int fileNumber) {
    if (!isOpen(fileNumber)) throw RuntimeError(err::badFileName);
    return *openFiles_[static_cast<std::size_t>(fileNumber)];
}

void SystemPlatform::makeDirectory(const std::u16string& path) {
    const std::filesystem::path native = nativePathOf(path);
    tagErrorsWithPath(native, [&] {
        files_->createDirectory(native);
        files_->syncFolder(native.has_parent_path() ? native.parent_path() : std::filesystem::path("."), std::nullopt);
    });
}

void SystemPlatform::open(int fileNumber, const std::u16string& path, FileMode mode) {
    if (fileNumber < 1 || fileNumber > maxFileNumber) throw RuntimeError(err::badFileName);
    if (isOpen(fileNumber)) throw RuntimeError(err::fileAlreadyOpen);
    std::filesystem::path native = nativePathOf(path);
    const Handle handle = [&] {
        try {
            return tagErrorsWithPath(native, [&] {
                switch (mode) {
                    case FileMode::Input:
                        return files_->openInput(native);
                    case FileMode::Output:
                        return files_->openOutput(native);
                    case FileMode::Append:
                        break;
                }
                return files_->openLog(native);
            });
        } catch (const RuntimeError& error) {
            // The folder may be gone, and the journal kept open in it with it.
            if (journal_) journal_->letGoOfJournals();
            throw namingWhatIsAtFault(error, native);
        }
    }();
    openFiles_[static_cast<std::size_t>(fileNumber)] =
        OpenFile{.handle = handle, .mode = mode, .native = std::move(native), .readOffset = 0, .lines = {}};
}

void SystemPlatform::write(int fileNumber, std::string_view bytes) {
    const OpenFile& file = openFile(fileNumber);
    if (file.mode == FileMode::Input) throw RuntimeError(err::badFileMode);
    if (bytes.empty()) return;
    tagErrorsWithPath(file.native, [&] { appendLocked(*files_, file.handle, file.native, bytes, lockWait_); });
}

void SystemPlatform::appendRecords(std::span<const RecordAppend> records) {
    std::vector<AppendTarget> targets;
    for (const RecordAppend& record : records) {
        const OpenFile& file = openFile(record.fileNumber);
        if (file.mode != FileMode::Append) throw RuntimeError(err::badFileMode);
        targets.push_back({record.fileNumber, file.native, file.handle, record.bytes});
    }
    if (!journal_) {
        if (stateFolder_.empty()) stateFolder_ = userStateFolder();
        journal_.emplace(*files_, stateFolder_, lockWait_);
        // Without a home of its own the user has nowhere private to keep it
        // when the logs' folder cannot: error 76, saying why.
        if (stateFolder_.empty()) journal_->useMissingStateFolderReason(missingStateFolderReason());
    }
    tagErrorsWithPath(folderHoldingAllLogs(targets), [&] { journal_->append(targets); });
}

std::string SystemPlatform::lineInput(int fileNumber) {
    OpenFile& file = openFile(fileNumber);
    if (file.mode != FileMode::Input) throw RuntimeError(err::badFileMode);
    auto line =
        tagErrorsWithPath(file.native, [&] { return file.lines.nextLine([this, &file] { return readChunk(file); }); });
    if (!line) throw RuntimeError(err::deviceIo);
    return *line;
}

bool SystemPlatform::endOfFile(int fileNumber) {
    OpenFile& file = openFile(fileNumber);
    if (file.mode != FileMode::Input) return true;
    return tagErrorsWithPath(file.native, [&] { return file.lines.atEnd([this, &file] { return readChunk(file); }); });
}

std::string SystemPlatform::readChunk(OpenFile& file) {
    std::string chunk = files_->readAt(file.handle, file.readOffset, readChunkSize);
    file.readOffset += chunk.size();
    return chunk;
}

void SystemPlatform::close(int fileNumber) {
    if (!isOpen(fileNumber)) return;
    auto& slot = openFiles_[static_cast<std::size_t>(fileNumber)];
    files_->closeHandle(slot->handle);
    slot.reset();
}

void SystemPlatform::closeAll() {
    for (auto& slot : openFiles_) {
        if (!slot) continue;
        files_->closeHandle(slot->handle);
        slot.reset();
    }
}

float SystemPlatform::timer() { return static_cast<float>(secondsSinceMidnight(localNow())); }

std::u16string SystemPlatform::dateText() { return dateTextOf(localNow().fields); }

std::u16string SystemPlatform::timeText() { return timeTextOf(localNow().fields); }

void SystemPlatform::randomize(float seed) { random_.seed(seed); }

float SystemPlatform::rnd() { return random_.next(); }

void SystemPlatform::endProgram() {
    closeAll();
    // A failed mark the disk would not take is tried once more.
    journal_.reset();
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    exitAtOnce();
}

}  // namespace qadrill
