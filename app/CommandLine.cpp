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

bool isOption(std::string_view arg, std::string_view shortName, std::string_view longName) {
    return arg == shortName || arg == longName;
}

// Why the arguments are refused, if they are: the first unknown option, else
// the first argument that is not an option.
std::optional<std::string> refusalOf(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (isOption(arg, "-h", "--help") || isOption(arg, "-v", "--version")) continue;
        if (arg.size() > 1 && arg.front() == '-') {
            const std::string_view name = arg.substr(arg.starts_with("--") ? 2 : 1);
            return "Unknown option '" + std::string(arg.starts_with("--") ? name : name.substr(0, 1)) + "'.";
        }
    }
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.size() <= 1 || arg.front() != '-') return "Unexpected argument '" + std::string(arg) + "'.";
    }
    return std::nullopt;
}

bool anyOf(int argc, char* argv[], std::string_view shortName, std::string_view longName) {
    for (int i = 1; i < argc; ++i) {
        if (isOption(argv[i], shortName, longName)) return true;
    }
    return false;
}

}  // namespace

int answerCommandLine(int argc, char* argv[]) {
    if (const auto refusal = refusalOf(argc, argv)) {
        std::fprintf(stderr, "qadrill: %s Usage: qadrill [--help | --version]\n", refusal->c_str());
        return 2;
    }
    if (anyOf(argc, argv, "-h", "--help")) {
        std::fwrite(helpText.data(), 1, helpText.size(), stdout);
        return 0;
    }
    std::printf("qadrill %s\n", QADRILL_VERSION);
    return 0;
}

}  // namespace qadrill
