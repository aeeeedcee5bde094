#include "tests/bank/BankTest.h"

#include <fstream>
#include <string>

#include "bank/QuestionBankContents.h"

namespace qadrill::testing {

BankTest::BankTest() {
    state->questionTag = questionTag;
    state->answerTag = answerTag;
    state->promptText = promptText;
    state->assignmentNumber = u"001";
    state->nextAssignment = u"002";
    state->notesFile = notesPath;
    std::filesystem::create_directories(nativeNotesLog().parent_path());
}

void BankTest::startBuiltInDrill() {
    loadQuestions(*state);
    state->lineIndex = 1;
}

void BankTest::startTestBank(const std::vector<std::u16string>& lines) {
    state->questionBank.set(1, u"001.  Test bank");
    long index = 1;
    for (const auto& line : lines) state->questionBank.set(++index, line);
    state->lineIndex = 1;
}

void BankTest::recordResponse(const std::u16string& answer) {
    state->promptDue = false;
    state->displayText = answer;
    state->cumulativeText.putInFront(state->answerTag, answer);
    view.question.clear();
    view.answer.clear();
}

std::filesystem::path BankTest::nativeNotesLog() const {
    return platform.root() / "c" / "plovenda" / "notes_Ann_Lee_Smith.txt";
}

void BankTest::writeNotesLog(std::string_view bytes) const {
    std::ofstream out(nativeNotesLog(), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace qadrill::testing
