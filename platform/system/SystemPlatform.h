#pragma once
// What every system's platform shares: the table of files by number, their
// modes, line input, the one-unit write, the clock texts and the random
// sequence.  A system's part (PosixPlatform, Win32Platform) adds only its
// calls: the native file operations, opening for input or output, making a
// folder, the local time and the program end.
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
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "platform/journal/Journal.h"
#include "platform/journal/NativeFiles.h"
#include "platform/system/DrivePath.h"
#include "platform/system/LineBuffer.h"
#include "platform/system/RandomSequence.h"

namespace qadrill {

class SystemPlatform : public Platform, protected NativeFiles {
public:
    static constexpr std::chrono::milliseconds defaultLockWait{2000};

    SystemPlatform(DriveMap driveMap, std::chrono::milliseconds lockWait);
    ~SystemPlatform() override = default;
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

    // The native file a drill path names; error 52 when it has no drive letter.
    [[nodiscard]] std::filesystem::path nativePathOf(const std::u16string& path) const;
    [[nodiscard]] bool isOpen(int fileNumber) const;
    // Where the journals go instead of the user's state folder (tests, benchmarks).
    void useStateFolder(std::filesystem::path folder);

protected:
    // An existing file for reading; error 53 when it is missing.
    [[nodiscard]] virtual Handle openInput(const std::filesystem::path& path) = 0;
    // The file emptied, or created, for writing from its start.
    [[nodiscard]] virtual Handle openOutput(const std::filesystem::path& path) = 0;
    virtual void createDirectory(const std::filesystem::path& path) = 0;

    // A derived class's destructor calls this while its system calls still work.
    void closeAllFiles() noexcept;

private:
    struct OpenFile {
        Handle handle = -1;
        FileMode mode = FileMode::Input;
        std::filesystem::path native;
        std::uint64_t readOffset = 0;
        LineBuffer lines;
    };

    [[nodiscard]] OpenFile& openFile(int fileNumber);
    [[nodiscard]] std::string readChunk(OpenFile& file);

    DriveMap driveMap_;
    std::chrono::milliseconds lockWait_;
    std::array<std::optional<OpenFile>, maxFileNumber + 1> files_;
    std::filesystem::path stateFolder_;
    std::optional<LogJournal> journal_;
    RandomSequence random_;
};

}  // namespace qadrill
