#include "bank/NotesDisplay.h"

#include <string>

#include "drill/report/ErrorReport.h"
#include "logbook/CharacterReferences.h"
#include "logbook/CodePage.h"
#include "logbook/LogWriter.h"
#include "platform/RuntimeError.h"

namespace qadrill {

namespace {

// Every line of the notes log run together at the end of `text`, with the
// characters the log had to write as references shown as themselves.  Each
// line is read back on its own, so two lines run together never make a
// reference the log did not write.  The log is created by the first saved
// note, so a missing one simply holds nothing yet.
void appendNotesLog(Platform& platform, const std::u16string& path, std::u16string& text) {
    platform.close(logfile::notes);
    try {
        platform.open(logfile::notes, path, FileMode::Input);
    } catch (const RuntimeError& error) {
        if (error.number() == err::fileNotFound) return;
        throw;
    }
    while (!platform.endOfFile(logfile::notes))
        text += decodeCharacterReferences(decodeWindows1252(platform.lineInput(logfile::notes)));
    platform.close(logfile::notes);
}

}  // namespace

void cmd_display_note_file_Click(DrillState& state, Platform& platform, DrillView& view) {
    // The notes go straight into displayText, the one copy of them beside the
    // box; a failed read cuts it back, leaving displayText and both boxes as
    // they were.
    const std::size_t shown = state.displayText.size();
    try {
        appendNotesLog(platform, state.notesFile, state.displayText);
    } catch (const RuntimeError& error) {
        state.displayText.resize(shown);
        platform.close(logfile::notes);
        reportError(platform, error);
        return;
    }
    view.appendQuestionBoxText(state.displayText);
    state.displayTextShown = false;
}

}  // namespace qadrill
