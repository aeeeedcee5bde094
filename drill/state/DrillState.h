#pragma once
// The one record of a run's values.  The window object owns the only
// instance; every procedure of the drill reads and writes it by these names.
// Header-only so every logic folder can take it by reference without linking
// upwards.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The run's transcript, read newest entry first.  The entries are kept in the
// order they came, so adding one costs the same however long the run has
// been; the newest-first text is made only when it is shown.
class Transcript {
public:
    // A new entry, tag then text, in front of every entry so far.
    void putInFront(std::u16string_view tag, std::u16string_view text) {
        entries_ += tag;
        entries_ += text;
        ends_.push_back(entries_.size());
    }

    // Every entry, newest first, with nothing between them.
    [[nodiscard]] std::u16string newestFirst() const {
        std::u16string text;
        text.reserve(entries_.size());
        for (std::size_t i = ends_.size(); i > 0; --i) {
            const std::size_t begin = i > 1 ? ends_[i - 2] : 0;
            text.append(entries_, begin, ends_[i - 1] - begin);
        }
        return text;
    }

    bool operator==(const Transcript&) const = default;

private:
    std::u16string entries_;         // oldest first
    std::vector<std::size_t> ends_;  // where each entry ends in entries_
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
    // displayText is the question box's text as the drill last left it, so
    // the next question can extend both without reading the box back.
    bool displayTextShown = false;
    Transcript cumulativeText;
    std::u16string promptText;
    bool promptDue = false;
    std::u16string questionTag;
    std::u16string answerTag;
};

}  // namespace qadrill
