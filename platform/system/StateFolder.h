#pragma once
// Where the drill keeps what is the user's alone on this machine: the logs'
// journals.  Each system's own (DesktopDrivesPosix.cpp, DesktopDrivesWin32.cpp):
// $XDG_STATE_HOME/qadrill, by default ~/.local/state/qadrill, on POSIX;
// %LOCALAPPDATA%\qadrill on Windows.  Empty when the system names no such
// place (no home at all).

#include <filesystem>
#include <string>

namespace qadrill {

[[nodiscard]] std::filesystem::path userStateFolder();
// Why userStateFolder() is empty, in words the student can act on.
[[nodiscard]] std::string missingStateFolderReason();

}  // namespace qadrill
