#pragma once
// The one place where the system's error values become the drill's run-time
// error numbers: errno on POSIX (ErrorTable.cpp), GetLastError on Windows
// (ErrorTableWin32.cpp); CMake compiles the one of the system built for.  The
// operation matters: a missing name is a missing file when reading but a
// missing folder when creating.

#include <string>

#include "platform/Platform.h"

namespace qadrill {

// The system calls behind the file operations; also the keys under which the
// scripted test platform injects faults.
enum class FileOperation { open, lock, write, fsync, read, makeDirectory, truncate, remove };

[[nodiscard]] int runtimeErrorFor(int systemError, FileOperation operation, FileMode mode = FileMode::Append);
// The system's own words for an error value (UTF-8), for the student to act on.
[[nodiscard]] std::string systemErrorReason(int systemError);

}  // namespace qadrill
