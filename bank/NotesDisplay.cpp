#include <string>

#include "bank/ErrorReport.h"
#include "bank/QuestionStepping.h"
#include "logbook/CharacterReferences.h"
#include "logbook/CodePage.h"
#include "platform/RuntimeError.h"

namespace qadrill {

namespace {

constexpr int notesFileNumber = 3;

// Every line of the notes log, run together, with the characters the log had
// to write as references shown as themselves.  Each line is read back on its
// own, so two lines run together never make a reference the log did not
// write.  The log is created by the first saved note, so a missing one simply
// holds nothing yet.
[[nodiscard]] std::u16string readNotesLog(Platform& platform, const std::u16string& path) {
    platform.close(notesFileNumber);
    try {
        platform.open(notesFileNumber, path, FileMode::Input);
    } catch (const RuntimeError& error) {
        if (error.number() == err::fileNotFound) return {};
        throw;
    }
    std::u16string notes;
    while (!platform.endOfFile(notesFileNumber))
        notes += decodeCharacterReferences(decodeWindows1252(platform.lineInput(notesFileNumber)));
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
        reportError(platform, error);
        return;
    }
    state.displayText += notes;
    view.appendQuestionBoxText(state.displayText);
}

}  // namespace qadrill
