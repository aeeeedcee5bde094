#include "app/CommandLine.h"

#include <cstdio>
#include <string_view>

#include "bank/BankCheck.h"
#include "bank/BankFile.h"
#include "platform/RuntimeError.h"
#include "platform/system/SystemFiles.h"

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
    "  -h, --help         Show this help and exit.\n"
    "  -v, --version      Show the version and exit.\n"
    "  --bank FILE        Drill from the question bank in FILE instead of the built-in one.\n"
    "  --check-bank FILE  List the assignments of the bank in FILE and what the drill would\n"
    "                     refuse in it, then exit (0 when the drill can use it, 1 when not).\n";

constexpr std::string_view usageLine = "Usage: qadrill [--bank FILE | --check-bank FILE | --help | --version]";

// The arguments sorted as the usual parsers do: options until "--", and
// everything after it an ordinary argument.
struct Arguments {
    bool help = false;
    bool version = false;
    std::optional<std::string> bank;  // empty: --bank with no file
    std::optional<std::string> checkBank;
    std::optional<std::string> unknownOption;  // the first, with its dashes
    std::optional<std::string> missingValue;   // the first option given without its file
    std::optional<std::string> stray;          // the first argument that is no option
};

// "--name FILE" or "--name=FILE": the file, taking the next argument when it
// is the separate form.
std::optional<std::string> valueOf(std::string_view name, const std::vector<std::string>& arguments, std::size_t& i) {
    const std::string_view arg = arguments[i];
    if (arg.starts_with(name) && arg.size() > name.size() && arg[name.size()] == '=') {
        return std::string(arg.substr(name.size() + 1));
    }
    if (i + 1 < arguments.size()) return arguments[++i];
    return std::nullopt;
}

Arguments sortArguments(const std::vector<std::string>& arguments) {
    Arguments found;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view arg = arguments[i];
        const auto is = [&](std::string_view name) {
            return arg == name || (arg.starts_with(name) && arg.size() > name.size() && arg[name.size()] == '=');
        };
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (optionsEnded || arg.size() <= 1 || arg.front() != '-') {
            if (!found.stray) found.stray = std::string(arg);
        } else if (arg == "-h" || arg == "--help") {
            found.help = true;
        } else if (arg == "-v" || arg == "--version") {
            found.version = true;
        } else if (is("--bank")) {
            // Last and without a file is how the menu entry starts the
            // drill when no bank file is opened: the built-in bank.
            found.bank = valueOf("--bank", arguments, i).value_or("");
        } else if (is("--check-bank")) {
            found.checkBank = valueOf("--check-bank", arguments, i);
            if (!found.checkBank && !found.missingValue) found.missingValue = "--check-bank";
        } else if (!found.unknownOption) {
            // Of a bundle of short options ("-xv") only the first letter is the unknown one.
            found.unknownOption = std::string(arg.starts_with("--") ? arg : arg.substr(0, 2));
        }
    }
    return found;
}

std::filesystem::path pathOf(const std::string& argument) { return {std::u8string(argument.begin(), argument.end())}; }

// The instructor's look at a bank: its listing on standard output, or the
// one refusal on standard error.
int checkBankFile(const std::string& file) {
    try {
        SystemFiles files;
        const ParsedBank parsed = parseBank(readBankFile(files, pathOf(file)));
        if (parsed.fault) {
            std::fprintf(stderr, "qadrill: %s: line %zu: %s\n", file.c_str(), parsed.fault->line,
                         parsed.fault->what.c_str());
            return 1;
        }
        const std::string listing = describeBank(file, parsed.entries.size(), checkBank(parsed.entries));
        std::fwrite(listing.data(), 1, listing.size(), stdout);
        return 0;
    } catch (const RuntimeError& error) {
        std::fprintf(stderr, "qadrill: %s: %s\n", file.c_str(),
                     error.reason().empty() ? error.what() : error.reason().c_str());
        return 1;
    }
}

}  // namespace

StartRequest answerCommandLine(const std::vector<std::string>& arguments) {
    const Arguments found = sortArguments(arguments);
    std::string refusal;
    if (found.unknownOption) {
        refusal = "Unknown option '" + *found.unknownOption + "'. ";
    } else if (found.missingValue) {
        refusal = "Option '" + *found.missingValue + "' needs a file name. ";
    } else if (found.stray) {
        refusal = "Unexpected argument '" + *found.stray + "'. ";
    } else if (found.bank && found.checkBank) {
        refusal = "Give --bank or --check-bank, not both. ";
    } else if (found.help) {
        std::fwrite(helpText.data(), 1, helpText.size(), stdout);
        return {0, {}};
    } else if (found.version) {
        std::printf("qadrill %s\n", QADRILL_VERSION);
        return {0, {}};
    } else if (found.checkBank) {
        return {checkBankFile(*found.checkBank), {}};
    } else if (found.bank) {
        if (found.bank->empty()) return {};
        return {std::nullopt, pathOf(*found.bank)};
    } else if (arguments.empty()) {
        return {};
    }
    std::fprintf(stderr, "qadrill: %s%s\n", refusal.c_str(), std::string(usageLine).c_str());
    return {2, {}};
}

}  // namespace qadrill
