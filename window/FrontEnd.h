#pragma once
// The one front end CMake builds for the system: Qt on Linux, Win32 on
// Windows.  Both show the same window from the shared layer.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qadrill {

// The arguments after the program's name as UTF-8: on Windows from the wide
// command line, since the narrow one loses what the code page cannot hold;
// on Linux the bytes as given, which is what a file name is there.
[[nodiscard]] std::vector<std::string> programArguments(int argc, char** argv);

// Standard output and error reach the console the program was started from,
// so --help and --version print there.
void attachConsole();

// The start-up prompts, the window and its event loop, over the built-in
// bank or the given bank file, which is read first: a file the drill cannot
// use gets its report before any prompt and the status is 1.  Returns the
// exit status when the program ends without ending the process itself.
[[nodiscard]] int runDrillWindow(int argc, char** argv, const std::optional<std::filesystem::path>& bankFile);

}  // namespace qadrill
