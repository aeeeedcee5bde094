#include <string>

#include "bank/ErrorReport.h"
#include "bank/QuestionStepping.h"
#include "logbook/CodePage.h"
#include "platform/RuntimeError.h"

namespace qadrill {

namespace {

constexpr int notesFileNumber = 3;

// Every line of the notes log, run together.  The log is created by the first
// saved note, so a missing one simply holds nothing yet.
[[nodiscard]] std::u16string readNotesLog(Platform& platform, const std::u16string& path) {
    platform.close(notesFileNumber);
    try {
        platform.open(notesFileNumber, path, FileMode::Input);
    } catch (const RuntimeError& error) {
        if (error.number() == err::fileNotFound) return {};
        throw;
    }
    std::u16string notes;
    while (!platform.endOfFile(notesFileNumber)) notes += decodeWindows1252(platform.lineInput(notesFileNumber));
    platform.close(notesFileNumber);
    return notes;
}

}  // namespace

void cmd_display_note_file_Click(DrillState& state, Platform& platform, DrillView& view) {
    // Read the whole log before touching anything, so a failed read leaves
    // displayText and both boxes as they were.
    std::u16string notes;
    try {
        notes = readNotesLog(platform, state.notesFile);
    } catch (const RuntimeError& error) {
        platform.close(notesFileNumber);
        reportError(platform, error.number());
        return;
    }
    state.displayText += notes;
    view.appendQuestionBoxText(state.displayText);
}

}  // namespace qadrill
