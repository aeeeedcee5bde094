#include "logbook/ResponseRecords.h"

#include <array>
#include <string>

#include "logbook/LogWriter.h"
#include "logbook/Text.h"
#include "logbook/TextCoding.h"

namespace qadrill {

namespace {

constexpr std::u16string_view openingSeparator = u"......!!!!!!!!...................................";
constexpr std::u16string_view closingLine = u".................................................";
constexpr std::u16string_view responseTag = u"RESPONSE -->  ";
constexpr std::u16string_view notesTag = u"NOTES -------> ";
constexpr std::u16string_view questionNumberTag = u"`questionNumber";
constexpr std::size_t indentWidth = 36;

const std::u16string& indent() {
    static const std::u16string spaces(indentWidth, u' ');
    return spaces;
}

// The record number: assignment × 10000 + question, from their leading numbers.
double recordNumber(const DrillState& state) {
    return leadingNumber(state.assignmentNumber) * 10000.0 + leadingNumber(state.questionNumber);
}

// One line to each record in turn, so the clock is read per line and per file
// in the order the logs are written.
template <std::size_t N, typename Line>
void eachLog(std::array<LogRecord*, N>& records, Line line) {
    for (LogRecord* record : records) line(*record);
}

void clearBoxes(DrillState& state, DrillView& view) {
    view.setQuestionBoxText(u"");
    state.displayTextShown = false;
    view.setAnswerBoxText(u"");
}

void writeResponseRecords(const DrillState& state, Platform& platform, const std::u16string& answer) {
    OpenLogs logs(platform, {{logfile::master, state.masterFile}, {logfile::send, state.sendFile}});
    LogRecord master;
    LogRecord send;
    std::array<LogRecord*, 2> both{&master, &send};
    eachLog(both, [&](LogRecord& r) { r.text(openingSeparator).lineEnd(); });
    eachLog(both, [&](LogRecord& r) { r.text(indent()).text(platform.timeText()).lineEnd(); });
    master.lineEnd().lineEnd().text(questionNumberTag).number(recordNumber(state)).lineEnd();
    eachLog(both, [&](LogRecord& r) { r.text(code(state.currentLine, state.codeNumber)).lineEnd(); });
    eachLog(both, [&](LogRecord& r) { r.text(openingSeparator).lineEnd(); });
    eachLog(both, [&](LogRecord& r) { r.text(responseTag).lineEnd(); });
    eachLog(both, [&](LogRecord& r) { r.text(code(answer, state.codeNumber)).lineEnd(); });
    eachLog(both, [&](LogRecord& r) { r.text(closingLine).lineEnd(); });
    appendRecords(platform, {{logfile::master, master}, {logfile::send, send}});
}

void writeNotesRecords(const DrillState& state, Platform& platform, const std::u16string& tagged) {
    OpenLogs logs(
        platform,
        {{logfile::master, state.masterFile}, {logfile::send, state.sendFile}, {logfile::notes, state.notesFile}});
    LogRecord master;
    LogRecord send;
    LogRecord notes;
    std::array<LogRecord*, 3> all{&master, &send, &notes};
    eachLog(all, [&](LogRecord& r) { r.text(openingSeparator).lineEnd(); });
    eachLog(all, [&](LogRecord& r) { r.text(indent()).text(platform.timeText()).lineEnd(); });
    eachLog(all, [&](LogRecord& r) { r.text(indent()).text(platform.dateText()).text(platform.timeText()).lineEnd(); });
    eachLog(all, [&](LogRecord& r) { r.text(code(state.currentLine, state.codeNumber)).lineEnd(); });
    eachLog(all, [&](LogRecord& r) { r.text(openingSeparator).lineEnd(); });
    eachLog(all, [&](LogRecord& r) { r.text(code(tagged, state.codeNumber)).lineEnd(); });
    master.text(closingLine).lineEnd();
    send.text(closingLine).zoneAdvance();
    notes.text(closingLine).zoneAdvance();
    appendRecords(platform, {{logfile::master, master}, {logfile::send, send}, {logfile::notes, notes}});
}

}  // namespace

void cmd_enter_response_Click(DrillState& state, Platform& platform, DrillView& view) {
    const std::u16string answer = view.answerBoxText();
    if (answer != state.promptText) {
        writeResponseRecords(state, platform, answer);
        state.promptDue = false;
        state.displayText = answer;
        state.cumulativeText.putInFront(state.answerTag, answer);
    }
    clearBoxes(state, view);
}

void cmd_save_as_notes_Click(DrillState& state, Platform& platform, DrillView& view) {
    const std::u16string answer = view.answerBoxText();
    if (answer != state.promptText) {
        const std::u16string tagged = std::u16string(notesTag) + answer;
        writeNotesRecords(state, platform, tagged);
        state.promptDue = false;
        state.displayText = tagged;
        state.cumulativeText.putInFront(state.answerTag, tagged);
    }
    clearBoxes(state, view);
}

}  // namespace qadrill
