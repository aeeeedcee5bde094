#include "bank/BankCheck.h"

#include <algorithm>
#include <map>
#include <optional>

#include "bank/ControlLines.h"
#include "logbook/Text.h"
#include "platform/unicode/Utf8.h"

namespace qadrill {

namespace {

constexpr std::size_t numberDigits = 3;
// openAssignment refuses higher numbers with error 9.
constexpr int highestAssignment = 100;

int numberOf(std::u16string_view title) {
    int number = 0;
    for (const char16_t digit : title.substr(0, numberDigits)) number = number * 10 + (digit - u'0');
    return number;
}

// nextAssignment as the start-up pads it: three digits, or more past 999.
std::u16string nextAfter(int number) {
    std::u16string next = fromUtf8(std::to_string(number + 1));
    if (next.size() < numberDigits) next.insert(0, numberDigits - next.size(), u'0');
    return next;
}

class Walk {
public:
    Walk(const BankEntries& entries, std::vector<BankWarning>& warnings) : entries_(entries), warnings_(warnings) {}

    // From the title line at this line, as one Next Question press after another.
    AssignmentSummary from(std::size_t titleLine) {
        AssignmentSummary summary;
        summary.line = titleLine;
        summary.title = entries_[titleLine - 1];
        const std::u16string number = left(summary.title, numberDigits);
        const std::u16string next = nextAfter(numberOf(summary.title));
        cursor_ = titleLine;
        bool afterRoutine = false;
        while (const auto line = nextNonEmpty()) {
            const std::u16string& text = entries_[*line - 1];
            if (left(text, numberDigits) == next || left(text, endMarker.size()) == endMarker) {
                summary.end =
                    left(text, numberDigits) == next ? AssignmentEnd::NextAssignment : AssignmentEnd::EndMarker;
                summary.endLine = *line;
                return summary;
            }
            // The press runs a routine line and reads once more; what that
            // second read finds is shown, even another routine line.
            if (!afterRoutine && text.size() > routineKeyword.size() && isRoutineLine(text)) {
                const std::u16string name = routineName(text);
                if (std::find(summary.routines.begin(), summary.routines.end(), name) == summary.routines.end()) {
                    summary.routines.push_back(name);
                }
                if (!isGraphRoutine(name)) {
                    summary.end = AssignmentEnd::Routine;
                    summary.endLine = *line;
                    return summary;
                }
                afterRoutine = true;
                continue;
            }
            if (afterRoutine && isRoutineLine(text)) {
                warn(*line, "a routine line right after another is shown to the student as text");
            } else if (isTitleLine(text)) {
                warn(*line, "the title line of assignment " + toUtf8(left(text, numberDigits)) +
                                " is shown as a problem of assignment " + toUtf8(number) + ": only " + toUtf8(next) +
                                " or the end marker ends it");
            }
            afterRoutine = false;
            ++summary.problems;
        }
        return summary;
    }

private:
    std::optional<std::size_t> nextNonEmpty() {
        do {
            if (cursor_ >= entries_.size()) return std::nullopt;
            ++cursor_;
        } while (entries_[cursor_ - 1].empty());
        return cursor_;
    }

    void warn(std::size_t line, std::string what) { warnings_.push_back({line, std::move(what)}); }

    const BankEntries& entries_;
    std::vector<BankWarning>& warnings_;
    std::size_t cursor_ = 0;
};

std::string endText(const AssignmentSummary& assignment) {
    const std::string line = " (line " + std::to_string(assignment.endLine) + ")";
    switch (assignment.end) {
        case AssignmentEnd::NextAssignment:
            return "ends at the next assignment's title line" + line;
        case AssignmentEnd::EndMarker:
            return "ends at the end marker" + line;
        case AssignmentEnd::Routine:
            return "ends at the routine " + toUtf8(assignment.routines.back()) + line;
        case AssignmentEnd::OffTheBank:
            break;
    }
    return "runs off the bank after its last problem (error 9)";
}

std::string routinesText(const std::vector<std::u16string>& routines) {
    if (routines.empty()) return "none";
    std::string text;
    for (const auto& name : routines) text += (text.empty() ? "" : ", ") + toUtf8(name);
    return text;
}

}  // namespace

BankSummary checkBank(const BankEntries& entries) {
    BankSummary summary;
    for (std::size_t line = 1; line <= entries.size(); ++line) {
        const std::u16string& text = entries[line - 1];
        // A bare keyword is shown as text by Next Question.
        if (text.size() <= routineKeyword.size() || !isRoutineLine(text)) continue;
        const std::u16string name = routineName(text);
        if (name != exitRoutine && !isGraphRoutine(name)) {
            summary.warnings.push_back(
                {line, "unknown routine \"" + toUtf8(name) +
                           "\" (known: exitprog, graph1, graph2, graph3): the drill ends there"});
        }
    }
    Walk walk(entries, summary.warnings);
    // The search for an assignment stops at the first title line with its number.
    std::map<std::u16string, std::size_t> firstTitle;
    for (std::size_t line = 1; line <= entries.size(); ++line) {
        const std::u16string& text = entries[line - 1];
        if (!isTitleLine(text)) continue;
        const std::u16string number = left(text, numberDigits);
        if (const auto [first, isNew] = firstTitle.emplace(number, line); !isNew) {
            summary.warnings.push_back({line, "assignment " + toUtf8(number) + " again: the drill always opens line " +
                                                  std::to_string(first->second)});
            continue;
        }
        if (numberOf(text) > highestAssignment) {
            summary.warnings.push_back(
                {line, "assignment " + toUtf8(number) + " cannot be opened: numbers above 100 end in error 9"});
        }
        summary.assignments.push_back(walk.from(line));
    }
    std::stable_sort(summary.warnings.begin(), summary.warnings.end(),
                     [](const BankWarning& a, const BankWarning& b) { return a.line < b.line; });
    return summary;
}

std::string describeBank(const std::string& fileName, std::size_t entryCount, const BankSummary& summary) {
    std::string text = fileName + ": " + std::to_string(summary.assignments.size()) + " assignment" +
                       (summary.assignments.size() == 1 ? "" : "s") + " in " + std::to_string(entryCount) +
                       " entries\n";
    for (const auto& assignment : summary.assignments) {
        text += "assignment " + toUtf8(left(assignment.title, numberDigits)) + ", line " +
                std::to_string(assignment.line) + ": " + toUtf8(assignment.title) + "\n";
        text += "  " + std::to_string(assignment.problems) + (assignment.problems == 1 ? " problem" : " problems") +
                "; routines: " + routinesText(assignment.routines) + "; " + endText(assignment) + "\n";
    }
    for (const auto& warning : summary.warnings) {
        text += fileName + ": line " + std::to_string(warning.line) + ": warning: " + warning.what + "\n";
    }
    return text;
}

}  // namespace qadrill
