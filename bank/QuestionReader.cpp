#include "bank/QuestionReader.h"

#include <string>

#include "bank/ControlLines.h"
#include "drill/report/ErrorReport.h"
#include "platform/RuntimeError.h"

namespace qadrill {

namespace {

[[nodiscard]] std::u16string nextNonEmptyLine(DrillState& state) {
    std::u16string line;
    while (line.empty()) {
        ++state.lineIndex;
        line = state.questionBank.at(state.lineIndex);
    }
    return line;
}

void fetchNextLine(DrillState& state, Platform& platform, DrillView& view) {
    if (state.promptDue) view.setAnswerBoxText(state.promptText);
    state.promptDue = false;

    const std::u16string line = nextNonEmptyLine(state);
    state.currentLine = line;
    state.cumulativeText.putInFront(state.questionTag, line);
    // A routine line asks for no answer, so the answer box stays as it is.
    if (!isRoutineLine(line)) state.promptDue = true;
    // questionNumber is left alone: the bank carries no question markers.
    state.questionText = line;

    if (isEndLine(line, state.nextAssignment)) platform.endProgram();
}

}  // namespace

void readNextQuestion(DrillState& state, Platform& platform, DrillView& view) {
    reportingErrors(platform, [&] { fetchNextLine(state, platform, view); });
}

}  // namespace qadrill
