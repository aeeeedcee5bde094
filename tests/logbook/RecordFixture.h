#pragma once
// A drill ready to record: Ann Lee Smith's three logs under c:\plovenda in a
// temporary root, assignment 012, a question line read, the instruction text
// due in the answer box, and the clock at 12-07-2026 23:05:36.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "drill/state/DrillState.h"
#include "tests/support/FakeView.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempDir.h"

namespace qadrill::testing {

inline const std::u16string promptTextOfDrill =
    u"Enter, as appropriate, an answer to the question, a critique of your answer in response to a "
    u"given answer, your insights regarding the situation at this point, notes to yourself, or just an "
    u"OK.\r\n\r\nAlways critique your solutions by describing any insights you had or errors you makde, "
    u"and by explaining how you can make use of the insight or how you now know how to avoid certain "
    u"errors.  Also pose for the instructor any question or questions that you have related to the "
    u"problem or series of problems.";

inline const std::u16string questionLine =
    u"3.  A cart rolls 12 m down a ramp in 3 s \u2013 what\u2019s its average speed?";

enum class Log { master, send, notes };

struct RecordSetup {
    RecordSetup() : platform(dir.path()) {
        std::filesystem::create_directories(dir.path() / "c" / "plovenda");
        state.dataDir = u"c:\\plovenda";
        state.masterFile = u"c:\\plovenda\\masterFile_Ann_Lee_Smith.txt";
        state.sendFile = u"c:\\plovenda\\send_1207Ann_Lee_Smith.txt";
        state.notesFile = u"c:\\plovenda\\notes_Ann_Lee_Smith.txt";
        state.assignmentNumber = u"012";
        state.codeNumber = 23.0F;
        state.currentLine = questionLine;
        state.promptText = promptTextOfDrill;
        state.promptDue = true;
        state.answerTag = u" YOUR ANSWER  ->->->->  ";
        state.questionTag = u" <-<-<-<-  Q/A:   ";
        state.cumulativeText.putInFront(state.questionTag, questionLine);
        view.question = questionLine;
        view.answer = promptTextOfDrill;
    }

    [[nodiscard]] const std::u16string& pathOf(Log log) const {
        switch (log) {
            case Log::master:
                return state.masterFile;
            case Log::send:
                return state.sendFile;
            case Log::notes:
                break;
        }
        return state.notesFile;
    }
    [[nodiscard]] std::optional<std::string> bytesOf(Log log) const { return platform.fileBytes(pathOf(log)); }
    [[nodiscard]] std::filesystem::path nativeOf(Log log) const { return platform.nativePathOf(pathOf(log)); }

    TempDir dir;
    ScriptedPlatform platform;
    FakeView view;
    DrillState state;
};

class RecordFixture : public ::testing::Test, public RecordSetup {};

}  // namespace qadrill::testing
