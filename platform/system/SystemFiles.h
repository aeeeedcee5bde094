#pragma once
// The files of the system the program runs on: the native operations the
// journal needs, plus opening for input or output and making a folder.
//
// Declared once here, defined once for each system (platform/posix,
// platform/win32), of which CMake builds one.  The system calls that can
// fail go through the system's SystemCalls, which the test files replace to
// inject faults while the real error table, roll-back and journal still run.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "platform/journal/NativeFiles.h"

namespace qadrill {

class SystemCalls;  // each system's own, in its room

class SystemFiles final : public NativeFiles {
public:
    // On the system's real calls.
    SystemFiles();
    explicit SystemFiles(std::unique_ptr<SystemCalls> calls);
    ~SystemFiles() override;
    SystemFiles(const SystemFiles&) = delete;
    SystemFiles& operator=(const SystemFiles&) = delete;

    // An existing file for reading; error 53 when it is missing.
    [[nodiscard]] Handle openInput(const std::filesystem::path& path);
    // Anyone's regular file for reading, through links: a file handed to the
    // program by name (a question bank).  Never waits on a FIFO or a device;
    // anything but a regular file is error 75.
    [[nodiscard]] Handle openRegularInput(const std::filesystem::path& path);
    // The user's own regular file, emptied or created, for writing from its start.
    [[nodiscard]] Handle openOutput(const std::filesystem::path& path);
    void createDirectory(const std::filesystem::path& path);

    [[nodiscard]] Handle openLog(const std::filesystem::path& path) override;
    [[nodiscard]] std::optional<Handle> openExistingLog(const std::filesystem::path& path) override;
    [[nodiscard]] FileIdentity identityOf(Handle handle) override;
    [[nodiscard]] std::filesystem::path canonicalFolder(const std::filesystem::path& folder) override;
    void makePrivateFolder(const std::filesystem::path& folder) override;
    [[nodiscard]] Handle openJournal(const std::filesystem::path& path, bool& created) override;
    void closeHandle(Handle handle) noexcept override;
    void syncFolder(const std::filesystem::path& folder, std::optional<Handle> inside) override;
    [[nodiscard]] bool tryLock(Handle handle) override;
    void unlock(Handle handle) noexcept override;
    [[nodiscard]] std::uint64_t sizeOf(Handle handle) override;
    [[nodiscard]] std::string readAt(Handle handle, std::uint64_t offset, std::size_t count) override;
    [[nodiscard]] std::size_t appendBytes(Handle handle, std::string_view bytes) override;
    void writeAt(Handle handle, std::uint64_t offset, std::string_view bytes) override;
    void truncateTo(Handle handle, std::uint64_t size) override;
    void sync(Handle handle) override;

private:
    // A log-like file: opened without following a link, then checked.
    [[nodiscard]] Handle openChecked(const std::filesystem::path& path, FileMode mode);

    std::unique_ptr<SystemCalls> calls_;
};

// The size in which files are read: lines, a journal, a whole file.
inline constexpr std::size_t readChunkSize = std::size_t{64} * 1024;

// Ends the process at once: no exit handlers, no destructors of a
// half-finished handler.
[[noreturn]] void exitAtOnce();

}  // namespace qadrill
