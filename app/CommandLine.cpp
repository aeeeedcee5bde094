#include "app/CommandLine.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace qadrill {

namespace {

constexpr std::string_view helpText =
    "Usage: qadrill [options]\n"
    "Q&A Drill: a question-and-answer drill for a mathematics and physics course.\n"
    "Started without options it asks four questions (home or college network, full name,\n"
    "initials, assignment number) and opens its window. Responses and notes are appended\n"
    "to plain-text logs in ~/plovenda (c:\\plovenda on Windows). See qadrill(1).\n"
    "\n"
    "Options:\n"
    "  -h, --help     Show this help and exit.\n"
    "  -v, --version  Show the version and exit.\n";

// The arguments sorted as the usual parsers do: options until "--", and
// everything after it an ordinary argument.
struct Arguments {
    bool help = false;
    bool version = false;
    std::optional<std::string> unknownOption;  // the first, with its dashes
    std::optional<std::string> stray;          // the first argument that is no option
};

Arguments sortArguments(int argc, char* argv[]) {
    Arguments found;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (optionsEnded || arg.size() <= 1 || arg.front() != '-') {
            if (!found.stray) found.stray = std::string(arg);
        } else if (arg == "-h" || arg == "--help") {
            found.help = true;
        } else if (arg == "-v" || arg == "--version") {
            found.version = true;
        } else if (!found.unknownOption) {
            // Of a bundle of short options ("-xv") only the first letter is the unknown one.
            found.unknownOption = std::string(arg.starts_with("--") ? arg : arg.substr(0, 2));
        }
    }
    return found;
}

}  // namespace

int answerCommandLine(int argc, char* argv[]) {
    const Arguments arguments = sortArguments(argc, argv);
    std::string refusal;
    if (arguments.unknownOption) {
        refusal = "Unknown option '" + *arguments.unknownOption + "'. ";
    } else if (arguments.stray) {
        refusal = "Unexpected argument '" + *arguments.stray + "'. ";
    } else if (arguments.help) {
        std::fwrite(helpText.data(), 1, helpText.size(), stdout);
        return 0;
    } else if (arguments.version) {
        std::printf("qadrill %s\n", QADRILL_VERSION);
        return 0;
    }
    std::fprintf(stderr, "qadrill: %sUsage: qadrill [--help | --version]\n", refusal.c_str());
    return 2;
}

}  // namespace qadrill
