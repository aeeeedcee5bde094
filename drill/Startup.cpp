#include "drill/Startup.h"

#include <cmath>

#include "bank/QuestionBankContents.h"
#include "drill/LogFileNames.h"
#include "drill/report/ErrorReport.h"
#include "logbook/Text.h"

namespace qadrill {

namespace {

constexpr std::u16string_view promptFirst =
    u"Enter, as appropriate, an answer to the question, a critique of your answer in response to a given "
    u"answer, your insights regarding the situation at this point, notes to yourself, or just an OK.";
constexpr std::u16string_view promptSecond =
    u"Always critique your solutions by describing any insights you had or errors you makde, and by "
    u"explaining how you can make use of the insight or how you now know how to avoid certain errors.  "
    u"Also pose for the instructor any question or questions that you have related to the problem or "
    u"series of problems.";

std::u16string ask(Platform& platform, std::u16string_view prompt) { return platform.inputBox(std::u16string(prompt)); }

// The first answer must read as a number as a whole; anything else is a type mismatch.
std::u16string chooseDataDir(const std::u16string& answer) {
    const auto number = wholeNumber(answer);
    if (!number) throw RuntimeError(err::typeMismatch);
    return std::u16string(*number == 2.0 ? networkDataDir : homeDataDir);
}

void setScales(DrillView& view) {
    for (auto box : {PictureBoxId::Picture1, PictureBoxId::Picture2}) {
        view.setPictureScaleHeight(box, 1000);
        view.setPictureScaleWidth(box, 1000);
    }
}

void askAndName(DrillState& state, Platform& platform) {
    state.dataDir = chooseDataDir(ask(platform, networkPrompt));
    state.studentName = ask(platform, namePrompt);
    state.studentInitials = ask(platform, initialsPrompt);
    // The date is read once for the month and once more for the day.
    const auto month = left(platform.dateText(), 2);
    const auto day = midFrom(platform.dateText(), 4).substr(0, 2);
    auto paths = logPaths(state.dataDir, state.studentName, month, day);
    state.masterFile = std::move(paths.masterFile);
    state.sendFile = std::move(paths.sendFile);
    state.notesFile = std::move(paths.notesFile);
    state.assignmentNumber = ask(platform, assignmentPrompt);
}

void runSteps(DrillState& state, Platform& platform, DrillView& view, const BankEntries* bankFile) {
    state.codeNumber = codeNumberFor(platform.rnd());
    setScales(view);
    askAndName(state, platform);
    state.promptText = std::u16string(promptFirst) + u"\r\n\r\n" + std::u16string(promptSecond);
    state.questionTag = u" <-<-<-<-  Q/A:   ";
    state.answerTag = u" YOUR ANSWER  ->->->->  ";
    state.assignmentNumber = padAssignmentNumber(state.assignmentNumber);
    state.nextAssignment = padAssignmentNumber(numberText(leadingNumber(state.assignmentNumber) + 1));
    state.lineIndex = 0;
    if (bankFile != nullptr)
        loadQuestions(state, *bankFile);
    else
        loadQuestions(state);
}

}  // namespace

std::u16string padAssignmentNumber(std::u16string_view number) {
    if (number.size() == 1) return u"00" + std::u16string(number);
    if (number.size() == 2) return u"0" + std::u16string(number);
    return std::u16string(number);
}

float codeNumberFor(float r) {
    // In double: in single precision the largest draw would round up to 29.
    return static_cast<float>(std::floor(static_cast<double>(r) * 10.0 + 19.0));
}

void initDrill(DrillState& state, Platform& platform, DrillView& view, const BankEntries* bankFile) {
    platform.randomize(platform.timer());
    try {
        platform.makeDirectory(std::u16string(homeDataDir));
    } catch (const RuntimeError&) {
        // Usually it exists already; a real problem shows when a log is opened.
    }
    try {
        runSteps(state, platform, view, bankFile);
    } catch (const RuntimeError& error) {
        reportError(platform, error);
    }
}

}  // namespace qadrill
