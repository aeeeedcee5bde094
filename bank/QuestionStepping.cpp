#include "bank/QuestionStepping.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "bank/ControlLines.h"
#include "bank/QuestionReader.h"
#include "drill/report/ErrorReport.h"
#include "logbook/Text.h"
#include "logbook/Unicode.h"
#include "platform/RuntimeError.h"

namespace qadrill {

namespace {

// Past either end of the bank there is no routine line to run.
[[nodiscard]] bool isRoutineLineAt(const QuestionBank& bank, long index) {
    if (index < 0 || index > QuestionBank::lastIndex) return false;
    return isRoutineLine(bank.at(index));
}

void showNextQuestion(DrillState& state, Platform& platform, DrillView& view) {
    readNextQuestion(state, platform, view);
    // A bare keyword names no routine here: it is shown as text.
    if (state.questionText.size() > routineKeyword.size() && isRoutineLine(state.questionText)) {
        runRoutine(platform, routineName(state.questionText));
        state.questionText.clear();
        readNextQuestion(state, platform, view);
    }
    std::u16string shown = view.questionBoxText();
    shown += state.questionText;
    state.displayText = std::move(shown);
    view.appendQuestionBoxText(state.questionText);
    state.questionText.clear();
}

}  // namespace

void cmdNextQuestion_Click(DrillState& state, Platform& platform, DrillView& view) {
    reportingErrors(platform, [&] { showNextQuestion(state, platform, view); });
}

void runRoutine(Platform& platform, const std::u16string& routine) {
    if (isGraphRoutine(routine)) return;
    platform.endProgram();
}

void cmd_next_picture_Click(DrillState& state, Platform& platform, DrillView& /*view*/) {
    // The second look is taken from wherever the first one left the cursor.
    for (long offset = 1; offset <= 2; ++offset) {
        const long index = state.lineIndex + offset;
        if (!isRoutineLineAt(state.questionBank, index)) continue;
        runRoutine(platform, routineName(state.questionBank.at(index)));
        state.lineIndex += offset;
    }
}

void cmd_displayCumulativeText_Click(DrillState& state, Platform& /*platform*/, DrillView& view) {
    view.setQuestionBoxText(state.cumulativeText);
}

}  // namespace qadrill
