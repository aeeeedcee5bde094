#pragma once
// The bank file named when the program starts, read before any prompt.

#include <filesystem>
#include <optional>

#include "bank/QuestionBankContents.h"
#include "platform/Platform.h"

namespace qadrill {

// The file's entries.  A file the drill cannot use gets the drill's report
// (the error's number, with the file, the line and what is wrong as the
// detail) and nothing else: nullopt, and the program ends without asking
// anything or writing a log.
[[nodiscard]] std::optional<BankEntries> openStartBank(Platform& platform, const std::filesystem::path& file);

}  // namespace qadrill
