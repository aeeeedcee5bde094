#pragma once
// The one place where the system's errno values become the drill's run-time
// error numbers.  The operation matters: a missing name is a missing file when
// reading but a missing folder when creating.

#include "platform/Platform.h"

namespace qadrill {

// The system calls behind the file operations; also the keys under which the
// scripted test platform injects faults.
enum class FileOperation { open, lock, write, fsync, read, makeDirectory, truncate, remove };

[[nodiscard]] int runtimeErrorFor(int errnoValue, FileOperation operation, FileMode mode = FileMode::Append);

}  // namespace qadrill
