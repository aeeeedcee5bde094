#include "drill/Drill.h"

#include "bank/NotesDisplay.h"
#include "bank/QuestionBankContents.h"
#include "bank/QuestionReader.h"
#include "bank/QuestionStepping.h"
#include "drill/AssignmentOpening.h"
#include "drill/Startup.h"
#include "drill/report/ErrorReport.h"
#include "logbook/ResponseRecords.h"
#include "logbook/TextCoding.h"

namespace qadrill {

Drill::Drill(Platform& platform, DrillView& view) : platform_(platform), view_(view) {}

void Drill::Form_Load() {
    initDrill();
    openAssignment();
}

void Drill::initDrill() { ::qadrill::initDrill(state_, platform_, view_, bankFile_ ? &*bankFile_ : nullptr); }
void Drill::openAssignment() { ::qadrill::openAssignment(state_, platform_); }
void Drill::loadQuestions() {
    if (bankFile_)
        ::qadrill::loadQuestions(state_, *bankFile_);
    else
        ::qadrill::loadQuestions(state_);
}

void Drill::cmdNextQuestion_Click() { ::qadrill::cmdNextQuestion_Click(state_, platform_, view_); }
void Drill::cmd_next_picture_Click() { ::qadrill::cmd_next_picture_Click(state_, platform_, view_); }
void Drill::cmd_display_note_file_Click() { ::qadrill::cmd_display_note_file_Click(state_, platform_, view_); }
void Drill::cmd_displayCumulativeText_Click() { ::qadrill::cmd_displayCumulativeText_Click(state_, platform_, view_); }

// The recording commands pass a log failure up with the boxes untouched; the
// student sees it here, can copy the answer and try again.
void Drill::cmd_enter_response_Click() {
    reportingErrors(platform_, [this] { ::qadrill::cmd_enter_response_Click(state_, platform_, view_); });
}

void Drill::cmd_save_as_notes_Click() {
    reportingErrors(platform_, [this] { ::qadrill::cmd_save_as_notes_Click(state_, platform_, view_); });
}

void Drill::readNextQuestion() { ::qadrill::readNextQuestion(state_, platform_, view_); }

std::u16string Drill::code(const std::u16string& aLine, float codeNbr) const { return ::qadrill::code(aLine, codeNbr); }

void Drill::codeFile() { ::qadrill::codeFile(state_, platform_); }

std::u16string Drill::decode(const std::u16string& aLine, float codeNbr) const {
    return ::qadrill::decode(aLine, codeNbr);
}

std::u16string Drill::remSpaces(const std::u16string& aLine) const { return ::qadrill::remSpaces(aLine); }

std::u16string Drill::makeCodeLine(float codeNbr) { return ::qadrill::makeCodeLine(platform_, codeNbr); }

void Drill::runRoutine(const std::u16string& routine) { ::qadrill::runRoutine(platform_, routine); }

}  // namespace qadrill
