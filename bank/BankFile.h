#pragma once
// A question bank from a file, so an instructor can add assignments without
// rebuilding the program.  UTF-8 text (a byte-order mark allowed), one bank
// entry per line, LF or CR LF; the first line is entry 1, as the built-in bank
// is loaded.  A file the drill cannot use is refused whole, with the line and
// what is wrong there, before the student is asked anything.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "bank/QuestionBankContents.h"
#include "platform/system/SystemFiles.h"

namespace qadrill {

// Why a bank is refused: the run-time error it amounts to, the line (the
// first is 1) and what is wrong there.
struct BankFault {
    int errorNumber = 0;
    std::size_t line = 0;
    std::string what;
};

struct ParsedBank {
    BankEntries entries;
    std::optional<BankFault> fault;  // entries are incomplete when set
};

// The entries of a bank file's bytes, or the first fault found: more than the
// bank holds, a NUL, bytes that are not UTF-8, no assignment title line.
[[nodiscard]] ParsedBank parseBank(std::string_view bytes);

// The file's bytes; a file that cannot be opened or read, or is no regular
// file, throws RuntimeError naming it.  Never waits on a FIFO.
[[nodiscard]] std::string readBankFile(SystemFiles& files, const std::filesystem::path& path);

// Read and parsed; a refusal throws RuntimeError with the fault's number,
// "line N: what" as its reason and the file as its path.
[[nodiscard]] BankEntries loadBankFile(SystemFiles& files, const std::filesystem::path& path);

}  // namespace qadrill
