#include "drill/report/ErrorReport.h"

#include <string>

#include "platform/RuntimeError.h"
#include "platform/unicode/Utf8.h"

namespace qadrill {

const std::u16string_view subscriptErrorMessage =
    u"You have probably not entered a valid assignment number.  Make sure the assignment number "
    u"is a number, like 1 or 8 or 15 or 27 etc., and make sure that this assignment is supposed "
    u"to be in the current kel_.  This program will end and you will need to start over.  If you "
    u"are sure you have entered a valid assignment number email the instructor and specify that "
    u"you have received a 'subscript out of range' error";

const std::u16string_view generalErrorMessage =
    u"You have encountered an error.  If you are encountering this error repeatedly you should "
    u"report the error number to the instructor and explain exactly what you were doing, "
    u"keystroke by keystroke, when the error occurred.  The error is:  ";

std::u16string errorReportText(int errorNumber) {
    if (errorNumber == err::subscriptOutOfRange) return std::u16string(subscriptErrorMessage);
    return std::u16string(generalErrorMessage) + fromUtf8(std::to_string(errorNumber));
}

void reportError(Platform& platform, int errorNumber) { reportError(platform, RuntimeError(errorNumber)); }

// The specified text stays exactly as it is; the cause rides beside it.
void reportError(Platform& platform, const RuntimeError& error) {
    const std::string detail = error.detail();
    if (detail.empty())
        platform.messageBox(errorReportText(error.number()));
    else
        platform.messageBoxWithDetail(errorReportText(error.number()), fromUtf8(detail));
    if (error.number() == err::subscriptOutOfRange) platform.endProgram();
}

}  // namespace qadrill
