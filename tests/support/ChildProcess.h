#pragma once
// Second processes for the tests that need one, on POSIX: a forked child
// running a body or a program, and giving up root inside it so that file
// modes bind.  ChildProcessPosix.cpp; Windows tests start programs their own way.

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace qadrill::testing {

// Exit code a child uses to say it could not set itself up (or its body threw).
inline constexpr int childSetupFailed = 254;

// Starts body in a forked child, whose exit code is body's result.  The
// parent's buffered output is flushed first, or the child would write it again.
[[nodiscard]] pid_t startChild(const std::function<int()>& body);
// Starts program with arguments in a forked child; 127 when it cannot run.
[[nodiscard]] pid_t startProgram(const std::string& program, const std::vector<std::string>& arguments);
// The child's exit code, -signal when a signal ended it, -1 when there is no such child.
[[nodiscard]] int waitForChild(pid_t child);
// startChild, then waitForChild.
[[nodiscard]] int runInChild(const std::function<int()>& body);

// In a child running as root: become user and group 65534 with no extra
// groups, so file modes bind.  True when not root to begin with; false when
// giving up root is not possible.
[[nodiscard]] bool dropRoot();

}  // namespace qadrill::testing
