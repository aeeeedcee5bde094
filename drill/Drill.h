#pragma once
// The logic half of the main window: it owns the drill state and every
// procedure of the drill.  DrillWindow (window/) owns one Drill and runs the
// load event and the question-and-answer commands here.  The start-up steps
// and the two recording commands report their own errors (reportError); the
// others pass them up to DrillWindow, which reports them.
//
// A click travels: the front end (window/qt/, window/win32/) ->
// DrillWindow::press -> Drill -> the procedure in its folder (bank/ steps and
// displays, logbook/ records, drill/ starts up and opens the assignment),
// which works on the state in drill/state/ and the system through Platform.

#include <optional>
#include <string>
#include <utility>

#include "bank/QuestionBankContents.h"
#include "drill/state/DrillState.h"
#include "drill/state/DrillView.h"
#include "platform/Platform.h"

namespace qadrill {

class Drill {
public:
    Drill(Platform& platform, DrillView& view);

    [[nodiscard]] DrillState& state() { return state_; }
    [[nodiscard]] const DrillState& state() const { return state_; }

    // Before the load event: the run's bank is these entries of a bank file
    // instead of the built-in bank.
    void useBankFile(BankEntries entries) { bankFile_ = std::move(entries); }

    // The window's load event: initDrill, then openAssignment, always both.
    void Form_Load();

    // Click handlers of the question-and-answer flow.
    void cmdNextQuestion_Click();
    void cmd_next_picture_Click();
    void cmd_display_note_file_Click();
    void cmd_displayCumulativeText_Click();
    void cmd_enter_response_Click();
    void cmd_save_as_notes_Click();

    // Public operations of the window object.
    void readNextQuestion();
    [[nodiscard]] std::u16string code(const std::u16string& aLine, float codeNbr) const;
    void codeFile();
    [[nodiscard]] std::u16string decode(const std::u16string& aLine, float codeNbr) const;
    [[nodiscard]] std::u16string remSpaces(const std::u16string& aLine) const;
    [[nodiscard]] std::u16string makeCodeLine(float codeNbr);
    void runRoutine(const std::u16string& routine);

private:
    void initDrill();
    void openAssignment();
    void loadQuestions();

    Platform& platform_;
    DrillView& view_;
    DrillState state_;
    std::optional<BankEntries> bankFile_;
};

}  // namespace qadrill
