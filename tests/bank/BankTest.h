#pragma once
// A drill as the bank's commands meet it after start-up: the state with its
// fixed texts, a scripted platform over a fresh temporary folder and the two
// boxes as plain fields.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "drill/state/DrillState.h"
#include "tests/support/FakeView.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempDir.h"

namespace qadrill::testing {

inline constexpr std::u16string_view questionTag = u" <-<-<-<-  Q/A:   ";
inline constexpr std::u16string_view answerTag = u" YOUR ANSWER  ->->->->  ";
inline constexpr std::u16string_view promptText = u"Enter an answer, or just an OK.\r\nThen click Enter Response.";
inline constexpr std::u16string_view notesPath = u"c:\\plovenda\\notes_Ann_Lee_Smith.txt";

// Problem indices of the built-in bank, in the order the reader hands them out.
inline const std::vector<long> builtInProblems = {3, 5, 7, 9, 11, 13, 15, 17, 19, 21};

class BankTest : public ::testing::Test {
protected:
    BankTest();
    BankTest(const BankTest&) = delete;
    BankTest& operator=(const BankTest&) = delete;

    // Built-in bank, cursor on the title line of assignment 1.
    void startBuiltInDrill();
    // A title line at index 1, these lines from index 2 on, cursor on the title.
    void startTestBank(const std::vector<std::u16string>& lines);

    [[nodiscard]] const std::u16string& bankLine(long index) const { return state->questionBank.at(index); }
    // What "Enter Response" leaves behind, for the commands that start from it.
    void recordResponse(const std::u16string& answer);
    // The native file behind the notes log, with these bytes.
    void writeNotesLog(std::string_view bytes) const;
    [[nodiscard]] std::filesystem::path nativeNotesLog() const;

    TempDir temp;
    ScriptedPlatform platform{temp.path()};
    FakeView view;
    std::unique_ptr<DrillState> state = std::make_unique<DrillState>();
};

}  // namespace qadrill::testing
