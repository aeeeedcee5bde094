#include "drill/StartBank.h"

#include "bank/BankFile.h"
#include "drill/report/ErrorReport.h"
#include "platform/RuntimeError.h"
#include "platform/system/SystemFiles.h"
#include "platform/unicode/Utf8.h"

namespace qadrill {

std::optional<BankEntries> openStartBank(Platform& platform, const std::filesystem::path& file) {
    try {
        SystemFiles files;
        return loadBankFile(files, file);
    } catch (const RuntimeError& error) {
        // Shown, never ended through the report: a refused bank ends the
        // program whatever its number, with a failing status.
        platform.messageBoxWithDetail(errorReportText(error.number()), fromUtf8(error.detail()));
        return std::nullopt;
    }
}

}  // namespace qadrill
