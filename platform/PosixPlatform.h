#pragma once
// Files, clock, random sequence and program end on a POSIX system.  Prompts,
// message boxes, clipboard and beep are left to the desktop (window/) and to
// the scripted test platform, which both derive from this class.
//
// A write is one unit: under an exclusive lock the bytes go out and are
// synced; if any of that fails the file is cut back to its old size.  The
// records of one command go through the journal, so they hold across the
// logs and across a crash.  The system calls that can fail go through
// protected hooks, which the test platform overrides to inject faults.

#include <sys/types.h>

#include <array>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/DrivePath.h"
#include "platform/ErrorTable.h"
#include "platform/LineBuffer.h"
#include "platform/Platform.h"
#include "platform/RandomSequence.h"

namespace qadrill {

class PosixPlatform : public Platform {
public:
    static constexpr std::chrono::milliseconds defaultLockWait{2000};

    explicit PosixPlatform(DriveMap driveMap = desktopDriveMap(), std::chrono::milliseconds lockWait = defaultLockWait);
    ~PosixPlatform() override;
    PosixPlatform(const PosixPlatform&) = delete;
    PosixPlatform& operator=(const PosixPlatform&) = delete;

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

    [[noreturn]] void endProgram() override;

    // The native file a drill path names; error 52 when it has no drive letter.
    [[nodiscard]] std::filesystem::path nativePathOf(const std::u16string& path) const;
    [[nodiscard]] bool isOpen(int fileNumber) const;

protected:
    // The system calls, one each, with their own return values and errno.
    virtual int systemOpen(const std::filesystem::path& path, int flags, mode_t mode);
    virtual int systemLock(int fd);  // exclusive, non-blocking
    virtual ssize_t systemWrite(int fd, const void* data, std::size_t size);
    virtual ssize_t systemWriteAt(int fd, const void* data, std::size_t size, off_t offset);
    virtual int systemTruncate(int fd, off_t size);
    virtual int systemRemove(const std::filesystem::path& path);
    virtual int systemFsync(int fd);
    virtual ssize_t systemRead(int fd, void* data, std::size_t size);
    virtual int systemMakeDirectory(const std::filesystem::path& path, mode_t mode);

private:
    class SystemFiles;

    struct OpenFile {
        int fd = -1;
        FileMode mode = FileMode::Input;
        std::filesystem::path native;
        LineBuffer lines;
    };

    [[nodiscard]] OpenFile& openFile(int fileNumber);
    [[nodiscard]] int openNative(const std::filesystem::path& native, FileMode mode);
    [[nodiscard]] int openWritable(const std::filesystem::path& native, FileMode mode);
    [[nodiscard]] std::string readChunk(int fd);

    DriveMap driveMap_;
    std::chrono::milliseconds lockWait_;
    std::array<std::optional<OpenFile>, maxFileNumber + 1> files_;
    RandomSequence random_;
};

}  // namespace qadrill
