#pragma once
// What every system's platform shares: the table of files by number, their
// modes, line input, the one-unit write, the clock texts, the random
// sequence and the program end.  The system's own calls come from the
// SystemFiles it holds (each system defines its own), the local time from
// LocalClock.  Prompts, message boxes, clipboard and beep are left to the
// desktop (window/) and to the test platforms, which derive from this class.
//
// A write is one unit: under an exclusive lock (waited for up to lockWait,
// then error 70) the bytes go out in one append and are synced; if any of
// that fails the file is cut back to its old size, so a log never holds half
// a record.  The records of one command go through the journal (Journal.h),
// kept in the user's private state folder, so they hold across the logs and
// across a crash.

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "platform/journal/Journal.h"
#include "platform/system/DrivePath.h"
#include "platform/system/LineBuffer.h"
#include "platform/system/RandomSequence.h"
#include "platform/system/SystemFiles.h"

namespace qadrill {

class SystemPlatform : public Platform {
public:
    // Long enough for another copy of the drill to finish its command, short
    // enough that the window never freezes for seconds.
    static constexpr std::chrono::milliseconds defaultLockWait{500};

    explicit SystemPlatform(DriveMap driveMap = desktopDriveMap(), std::chrono::milliseconds lockWait = defaultLockWait,
                            std::unique_ptr<SystemFiles> files = std::make_unique<SystemFiles>());
    ~SystemPlatform() override;
    SystemPlatform(const SystemPlatform&) = delete;
    SystemPlatform& operator=(const SystemPlatform&) = delete;

    void makeDirectory(const std::u16string& path) override;
    void open(int fileNumber, const std::u16string& path, FileMode mode) override;
    void write(int fileNumber, std::string_view bytes) override;
    void appendRecords(std::span<const RecordAppend> records) override;
    [[nodiscard]] std::string lineInput(int fileNumber) override;
    [[nodiscard]] bool endOfFile(int fileNumber) override;
    void close(int fileNumber) override;
    void closeAll() override;

    [[nodiscard]] float timer() override;
    [[nodiscard]] std::u16string dateText() override;
    [[nodiscard]] std::u16string timeText() override;

    void randomize(float seed) override;
    [[nodiscard]] float rnd() override;

    // Every file closed and every stream flushed, then the process ends.
    [[noreturn]] void endProgram() override;

    // The native file a drill path names; error 52 when it has no drive letter.
    [[nodiscard]] std::filesystem::path nativePathOf(const std::u16string& path) const;
    [[nodiscard]] bool isOpen(int fileNumber) const;
    // Where the journals go instead of the user's state folder (tests, benchmarks).
    void useStateFolder(std::filesystem::path folder);

private:
    using Handle = NativeFiles::Handle;
    struct OpenFile {
        Handle handle = -1;
        FileMode mode = FileMode::Input;
        std::filesystem::path native;
        std::uint64_t readOffset = 0;
        LineBuffer lines;
    };

    [[nodiscard]] OpenFile& openFile(int fileNumber);
    [[nodiscard]] std::string readChunk(OpenFile& file);

    std::unique_ptr<SystemFiles> files_;
    DriveMap driveMap_;
    std::chrono::milliseconds lockWait_;
    std::array<std::optional<OpenFile>, maxFileNumber + 1> openFiles_;
    std::filesystem::path stateFolder_;
    std::optional<LogJournal> journal_;
    RandomSequence random_;
};

}  // namespace qadrill
