#pragma once
// The drill's one way of telling the student that something went wrong.

#include <string>
#include <utility>

#include "platform/Platform.h"
#include "platform/RuntimeError.h"

namespace qadrill {

extern const std::u16string_view subscriptErrorMessage;
extern const std::u16string_view generalErrorMessage;

// The message for an error number: the error-9 text alone, or the general
// text followed directly by the number.
[[nodiscard]] std::u16string errorReportText(int errorNumber);

// Shows the report and waits for OK; error 9 then ends the program.
void reportError(Platform& platform, int errorNumber);
// The same, with the error's path and the system's reason as the report's detail.
void reportError(Platform& platform, const RuntimeError& error);

// Runs a command's step; a run-time error it throws is reported, and the
// command ends there.
template <typename Step>
void reportingErrors(Platform& platform, Step&& step) {
    try {
        std::forward<Step>(step)();
    } catch (const RuntimeError& error) {
        reportError(platform, error);
    }
}

}  // namespace qadrill
