#pragma once
// The files of the system the program runs on: the native operations the
// journal needs, plus opening for input or output and making a folder.
// Each system's sources (platform/posix, platform/win32) define the factory
// and the program's last step; CMake builds the one system's sources.

#include <filesystem>
#include <memory>

#include "platform/journal/NativeFiles.h"

namespace qadrill {

class SystemFiles : public NativeFiles {
public:
    // An existing file for reading; error 53 when it is missing.
    [[nodiscard]] virtual Handle openInput(const std::filesystem::path& path) = 0;
    // The file emptied, or created, for writing from its start.
    [[nodiscard]] virtual Handle openOutput(const std::filesystem::path& path) = 0;
    virtual void createDirectory(const std::filesystem::path& path) = 0;
};

// The size in which files are read: lines, a journal, a whole file.
inline constexpr std::size_t readChunkSize = 64 * 1024;

// This system's files.
[[nodiscard]] std::unique_ptr<SystemFiles> makeSystemFiles();

// Ends the process at once: no exit handlers, no destructors of a
// half-finished handler.
[[noreturn]] void exitAtOnce();

}  // namespace qadrill
