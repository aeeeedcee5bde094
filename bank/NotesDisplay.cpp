#include "bank/NotesDisplay.h"

#include <string>

#include "drill/report/ErrorReport.h"
#include "logbook/CharacterReferences.h"
#include "logbook/CodePage.h"
#include "logbook/LogWriter.h"
#include "platform/RuntimeError.h"

namespace qadrill {

namespace {

// Every line of the notes log, run together, with the characters the log had
// to write as references shown as themselves.  Each line is read back on its
// own, so two lines run together never make a reference the log did not
// write.  The log is created by the first saved note, so a missing one simply
// holds nothing yet.
[[nodiscard]] std::u16string readNotesLog(Platform& platform, const std::u16string& path) {
    platform.close(logfile::notes);
    try {
        platform.open(logfile::notes, path, FileMode::Input);
    } catch (const RuntimeError& error) {
        if (error.number() == err::fileNotFound) return {};
        throw;
    }
    std::u16string notes;
    while (!platform.endOfFile(logfile::notes))
        notes += decodeCharacterReferences(decodeWindows1252(platform.lineInput(logfile::notes)));
    platform.close(logfile::notes);
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
        platform.close(logfile::notes);
        reportError(platform, error);
        return;
    }
    state.displayText += notes;
    view.appendQuestionBoxText(state.displayText);
}

}  // namespace qadrill
