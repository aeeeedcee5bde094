#pragma once
// The one place where the system's error values become the drill's run-time
// error numbers: errno on POSIX (ErrorTablePosix.cpp), GetLastError on
// Windows (ErrorTableWin32.cpp); CMake compiles the one of the system built
// for.  The operation matters: a missing name is a missing file when reading
// but a missing folder when creating.

#include <algorithm>
#include <array>
#include <span>
#include <string>

#include "platform/Platform.h"

namespace qadrill {

// The system calls behind the file operations; also the keys under which the
// scripted test platform injects faults.
enum class FileOperation { open, lock, write, fsync, read, makeDirectory, truncate, remove };

// The system's error values that all mean one drill number, whatever the
// operation; unused places are 0, which is no error on either system.
struct ErrorGroup {
    int drillError;
    std::array<int, 8> systemErrors;
};

// The drill number of the group holding the value, or 0.
[[nodiscard]] constexpr int drillErrorIn(std::span<const ErrorGroup> groups, int systemError) {
    if (systemError == 0) return 0;
    for (const ErrorGroup& group : groups) {
        if (std::ranges::find(group.systemErrors, systemError) != group.systemErrors.end()) return group.drillError;
    }
    return 0;
}

[[nodiscard]] int runtimeErrorFor(int systemError, FileOperation operation, FileMode mode = FileMode::Append);
// The system's own words for an error value (UTF-8), for the student to act on.
[[nodiscard]] std::string systemErrorReason(int systemError);

}  // namespace qadrill
