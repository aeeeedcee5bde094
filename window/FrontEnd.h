#pragma once
// The one front end CMake builds for the system: Qt on Linux, Win32 on
// Windows.  Both show the same window from the shared layer.

namespace qadrill {

// Standard output and error reach the console the program was started from,
// so --help and --version print there.
void attachConsole();

// The start-up prompts, the window and its event loop; returns the exit
// status when the program ends without ending the process itself.
[[nodiscard]] int runDrillWindow(int argc, char* argv[]);

}  // namespace qadrill
