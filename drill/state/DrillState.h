#pragma once
// The one record of a run's values.  The window object owns the only
// instance; every procedure of the drill reads and writes it by these names.
// Header-only so every logic folder can take it by reference without linking
// upwards.

#include <array>
#include <optional>
#include <string>

#include "platform/RuntimeError.h"

namespace qadrill {

// Fixed array of lines, indices 0..5000; any other index raises error 9
// without touching the array.
class QuestionBank {
public:
    static constexpr long lastIndex = 5000;

    [[nodiscard]] const std::u16string& at(long index) const { return lines_[checked(index)]; }
    void set(long index, std::u16string line) { lines_[checked(index)] = std::move(line); }

private:
    static std::size_t checked(long index) {
        if (index < 0 || index > lastIndex) throw RuntimeError(err::subscriptOutOfRange);
        return static_cast<std::size_t>(index);
    }
    std::array<std::u16string, lastIndex + 1> lines_{};
};

// A number that may be empty; empty reads as 0 in arithmetic and "" as text.
using NumberOrEmpty = std::optional<double>;

// 101 x 51 cells, first index 0..100, second 0..50; nothing fills it.
class StartQuestionTable {
public:
    static constexpr long lastRow = 100;
    static constexpr long lastColumn = 50;

    [[nodiscard]] const NumberOrEmpty& at(long row, long column) const {
        if (row < 0 || row > lastRow || column < 0 || column > lastColumn) throw RuntimeError(err::subscriptOutOfRange);
        return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    }

private:
    std::array<std::array<NumberOrEmpty, lastColumn + 1>, lastRow + 1> cells_{};
};

struct DrillState {
    // Identity of the run.
    std::u16string studentName;
    std::u16string studentInitials;
    std::u16string assignmentNumber;
    std::u16string nextAssignment;
    float codeNumber = 0.0F;

    // Files: the drill's own paths, never open handles.
    std::u16string dataDir;
    std::u16string masterFile;
    std::u16string sendFile;
    std::u16string notesFile;
    std::u16string queryName;

    // Question bank and cursor.
    QuestionBank questionBank;
    long lineIndex = 0;
    std::u16string currentLine;
    std::u16string questionNumber;
    StartQuestionTable startQuestionTable;
    NumberOrEmpty startQuestion;

    // Display buffers and fixed texts.
    std::u16string questionText;
    std::u16string displayText;
    std::u16string cumulativeText;
    std::u16string promptText;
    bool promptDue = false;
    std::u16string questionTag;
    std::u16string answerTag;
};

}  // namespace qadrill
