#include "drill/AssignmentOpening.h"

#include <cmath>

#include "drill/report/ErrorReport.h"
#include "logbook/LogWriter.h"
#include "logbook/Text.h"
#include "logbook/TextCoding.h"

namespace qadrill {

namespace {

// Leaves lineIndex on the first line whose first four characters are the
// assignment number and a point; past the bank's end the bank raises error 9.
std::u16string findTitleLine(DrillState& state) {
    const std::u16string target = state.assignmentNumber + u".";
    state.lineIndex = 0;
    std::u16string line;
    while (left(line, 4) != target) {
        ++state.lineIndex;
        line = state.questionBank.at(state.lineIndex);
    }
    return line;
}

void copyStartQuestion(DrillState& state) {
    const double k = std::nearbyint(leadingNumber(state.assignmentNumber));  // ties to even
    if (k < 0 || k > StartQuestionTable::lastRow) throw RuntimeError(err::subscriptOutOfRange);
    state.startQuestion = state.startQuestionTable.at(static_cast<long>(k), StartQuestionTable::lastColumn);
}

// A one-line field keeps its line: CR and LF are written as character
// references, as the log encoder writes what it must not write raw.
std::u16string lineBreaksEscaped(std::u16string_view field) {
    std::u16string out;
    out.reserve(field.size());
    for (const char16_t c : field) {
        if (c == u'\r')
            out += u"&#13;";
        else if (c == u'\n')
            out += u"&#10;";
        else
            out += c;
    }
    return out;
}

// The six header lines; only the date line differs between the two logs.
LogRecord headerBlock(const DrillState& state, Platform& platform, const std::u16string& codeLine,
                      const std::u16string& titleLine, std::u16string_view dateTimeSeparator) {
    const float n = state.codeNumber;
    LogRecord record;
    record.text(codeLine).lineEnd();
    record.text(code(u"Student Name:  " + lineBreaksEscaped(state.studentName), n)).lineEnd();
    record.text(code(u"assignment #" + lineBreaksEscaped(state.assignmentNumber), n)).lineEnd();
    record.text(code(titleLine, n)).lineEnd();
    record.text(u"Initials:  " + lineBreaksEscaped(state.studentInitials)).lineEnd();
    const auto date = platform.dateText();
    record.text(u"Date and Time " + date + std::u16string(dateTimeSeparator) + platform.timeText()).lineEnd();
    return record;
}

void writeHeaders(DrillState& state, Platform& platform, const std::u16string& titleLine) {
    const auto codeLine = makeCodeLine(platform, state.codeNumber);
    const LogRecord master = headerBlock(state, platform, codeLine, titleLine, u"");
    const LogRecord send = headerBlock(state, platform, codeLine, titleLine, u" ");
    appendRecords(platform, {{logfile::master, master}, {logfile::send, send}});
}

}  // namespace

void openAssignment(DrillState& state, Platform& platform) {
    try {
        const auto titleLine = findTitleLine(state);
        // Opened once, before the range check: the master log exists, empty,
        // even when no header is written.
        OpenLogs master(platform, {{logfile::master, state.masterFile}});
        copyStartQuestion(state);
        OpenLogs send(platform, {{logfile::send, state.sendFile}});
        writeHeaders(state, platform, titleLine);
        master.closeAll();  // file 1, then file 2

    } catch (const RuntimeError& error) {
        // Leave no log open, so the recording commands can open them later.
        platform.close(logfile::master);
        platform.close(logfile::send);
        reportError(platform, error);
    }
}

}  // namespace qadrill
