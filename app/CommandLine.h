#pragma once
// The command line, answered before a window or a display is needed:
// --help, --version and --check-bank print and end; --bank names the bank
// the drill starts with; anything else gets one usage line on standard error.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qadrill {

struct StartRequest {
    // Set when the command line was answered here: end with this status (0
    // after --help, --version or an accepted bank, 1 for a refused bank, 2
    // for a usage error).
    std::optional<int> exitStatus;
    // The bank file to drill from; none for the built-in bank.
    std::optional<std::filesystem::path> bankFile;
};

// The arguments after the program's name, as UTF-8 (the bytes as given on Linux).
[[nodiscard]] StartRequest answerCommandLine(const std::vector<std::string>& arguments);

}  // namespace qadrill
