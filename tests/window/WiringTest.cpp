// The event wiring: each wired button reaches its handler, Enter in the big
// boxes makes a new line and presses nothing, and every inert control changes
// nothing in the drill, the boxes, the timer or the logs.

#include <QAbstractButton>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <string>
#include <vector>

#include "tests/window/WindowRun.h"
#include "window/qt/PictureBoxQt.h"

using qadrill::DrillState;
using qadrill::testing::WindowRun;

namespace {

std::u16string number(double value) {
    const std::string text = std::to_string(value);
    return {text.begin(), text.end()};
}

// Every field of the drill state as text, the whole bank included.
std::vector<std::u16string> fieldsOf(const DrillState& s) {
    std::vector<std::u16string> fields{s.studentName,
                                       s.studentInitials,
                                       s.assignmentNumber,
                                       s.nextAssignment,
                                       number(double(s.codeNumber)),
                                       s.dataDir,
                                       s.masterFile,
                                       s.sendFile,
                                       s.notesFile,
                                       s.queryName,
                                       number(double(s.lineIndex)),
                                       s.currentLine,
                                       s.questionNumber,
                                       s.startQuestion ? number(*s.startQuestion) : u"-",
                                       s.questionText,
                                       s.displayText,
                                       s.cumulativeText.newestFirst(),
                                       s.promptText,
                                       s.promptDue ? u"due" : u"not due",
                                       s.questionTag,
                                       s.answerTag};
    for (long i = 0; i <= qadrill::QuestionBank::lastIndex; ++i) fields.push_back(s.questionBank.at(i));
    return fields;
}

// All that a control could change if it were wired to anything.
struct Observed {
    std::vector<std::u16string> state;
    QString question;
    QString answer;
    bool timerActive = false;
    std::map<std::string, std::string> files;
    std::vector<std::u16string> prompts;
    std::vector<std::u16string> messages;
    int beeps = 0;
    std::size_t randomLeft = 0;
    bool clipboard = false;
    QImage picture2;
    bool operator==(const Observed&) const = default;
};

Observed observe(WindowRun& run) {
    return {fieldsOf(run.window.drill().state()),
            run.control<QPlainTextEdit>("txt_question").toPlainText(),
            run.control<QPlainTextEdit>("txt_answer").toPlainText(),
            run.control<QTimer>("tmr_pend_exp").isActive(),
            run.files(),
            run.platform.prompts,
            run.platform.messages,
            run.platform.beeps,
            run.platform.randomValues.size(),
            run.platform.clipboard.has_value(),
            run.control<qadrill::PictureBox>("Picture2").picture()};
}

// A loaded drill with one question shown, something typed in each box and
// something on the clipboard, so that any stray effect would show.
void prepare(WindowRun& run) {
    run.loadAssignmentOne();
    QVERIFY(run.show());
    run.control<QAbstractButton>("cmdNextQuestion").click();
    run.control<QPlainTextEdit>("txt_answer").setPlainText("typed answer");
    run.platform.clipboard = qadrill::Picture{1, 1, {0xff000000}};
    run.platform.randomValues = {0.5F};
}

void click(WindowRun& run, const char* name) { run.control<QAbstractButton>(name).click(); }

QString questionBox(WindowRun& run) { return run.control<QPlainTextEdit>("txt_question").toPlainText(); }

bool logHolds(WindowRun& run, const std::u16string& log, const std::string& text) {
    const auto bytes = run.platform.fileBytes(log);
    return bytes.has_value() && bytes->find(text) != std::string::npos;
}

// One row per wired drill button: what the student does first, the button,
// and what shows that the button reached its own handler.
struct HandlerRow {
    const char* name;
    std::function<void(WindowRun&)> before;
    const char* button;
    std::function<bool(WindowRun&)> reached;
};

const std::vector<HandlerRow>& handlerRows() {
    static const std::vector<HandlerRow> rows{
        {"next question shows the first problem", [](WindowRun&) {}, "cmdNextQuestion",
         [](WindowRun& run) {
             const auto& line = run.window.drill().state().currentLine;
             return !line.empty() && questionBox(run) == QString::fromStdU16String(line);
         }},
        {"enter response records the answer",
         [](WindowRun& run) {
             click(run, "cmdNextQuestion");
             QTest::keyClicks(&run.control("txt_answer"), "v = 3 m/s");
         },
         "cmd_enter_response",
         [](WindowRun& run) {
             return logHolds(run, run.window.drill().state().masterFile, "v = 3 m/s") &&
                    run.control<QPlainTextEdit>("txt_answer").toPlainText().isEmpty();
         }},
        {"save as notes writes the notes log",
         [](WindowRun& run) {
             click(run, "cmdNextQuestion");
             QTest::keyClicks(&run.control("txt_answer"), "remember units");
         },
         "cmd_save_as_notes",
         [](WindowRun& run) { return logHolds(run, run.window.drill().state().notesFile, "remember units"); }},
        // A note from an earlier run: in the log, never in this run's transcript.
        {"display notes shows the notes log",
         [](WindowRun& run) {
             std::ofstream(run.platform.nativePathOf(run.window.drill().state().notesFile)) << "old note\r\n";
             click(run, "cmdNextQuestion");
         },
         "cmd_display_note_file", [](WindowRun& run) { return questionBox(run).contains("old note"); }},
        {"display everything shows the transcript",
         [](WindowRun& run) {
             click(run, "cmdNextQuestion");
             click(run, "cmdNextQuestion");
             run.control<QPlainTextEdit>("txt_question").clear();
         },
         "cmd_displayCumulativeText",
         [](WindowRun& run) {
             const auto transcript = run.window.drill().state().cumulativeText.newestFirst();
             return !transcript.empty() &&
                    questionBox(run) == QString::fromStdU16String(transcript).replace("\r\n", "\n");
         }},
        {"next picture runs the routine after the cursor",
         [](WindowRun& run) {
             auto& state = run.window.drill().state();
             state.questionBank.set(state.lineIndex + 1, u"`routine graph1");
         },
         "cmd_next_picture",
         [](WindowRun& run) {
             const auto& state = run.window.drill().state();
             return state.questionBank.at(state.lineIndex) == u"`routine graph1";
         }},
    };
    return rows;
}

}  // namespace

class WiringTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadRunsTheStartUpDialogue();
    void eachButtonReachesItsHandler_data();
    void eachButtonReachesItsHandler();
    void inertControlsChangeNothing_data();
    void inertControlsChangeNothing();
    void enterInABoxMakesANewLine_data();
    void enterInABoxMakesANewLine();
};

void WiringTest::loadRunsTheStartUpDialogue() {
    WindowRun run;
    run.loadAssignmentOne();
    QCOMPARE(run.platform.prompts.size(), std::size_t{4});
    QVERIFY(run.window.drill().state().studentName == u"Ann Lee Smith");
    QVERIFY2(!run.window.isVisible(), "load shows no window");
}

void WiringTest::eachButtonReachesItsHandler_data() {
    QTest::addColumn<std::size_t>("row");
    for (std::size_t row = 0; row < handlerRows().size(); ++row) QTest::newRow(handlerRows()[row].name) << row;
}

void WiringTest::eachButtonReachesItsHandler() {
    QFETCH(std::size_t, row);
    const HandlerRow& handler = handlerRows()[row];
    WindowRun run;
    run.loadAssignmentOne();
    handler.before(run);
    click(run, handler.button);
    QVERIFY(handler.reached(run));
}

void WiringTest::inertControlsChangeNothing_data() {
    QTest::addColumn<QString>("name");
    for (const char* name :
         {"cmd_Make_Paragraph_question", "cmd_Make_paragraph", "cmd_timerTrigger", "txt_paragraph_goback",
          "lbl_paragraph_goback", "txt_parameter_0", "txt_parameter_1", "txt_parameter_2", "txt_parameter_3",
          "lbl_parameter_0", "lbl_parameter_1", "lbl_parameter_2", "lbl_parameter_3", "List1", "lbl_only_if_prompted",
          "Picture1", "Picture2"}) {
        QTest::newRow(name) << QString(name);
    }
}

// Pressed with the mouse, then with the keyboard, then typed into.
void WiringTest::inertControlsChangeNothing() {
    QFETCH(QString, name);
    WindowRun run;
    prepare(run);
    const Observed before = observe(run);
    QWidget& control = run.control(name);
    QTest::mouseClick(&control, Qt::LeftButton);
    if (control.focusPolicy() != Qt::NoFocus) {
        control.setFocus();
        QTest::keyClick(&control, Qt::Key_Space);
        QTest::keyClick(&control, Qt::Key_Down);
        QTest::keyClicks(&control, "7");
        QTest::keyClick(&control, Qt::Key_Return);
    }
    QTest::qWait(40);  // long enough for a tick, had anything started the timer
    QVERIFY(observe(run) == before);
}

void WiringTest::enterInABoxMakesANewLine_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("question box") << "txt_question";
    QTest::newRow("answer box") << "txt_answer";
}

void WiringTest::enterInABoxMakesANewLine() {
    QFETCH(QString, name);
    WindowRun run;
    prepare(run);
    auto& box = run.control<QPlainTextEdit>(name);
    box.clear();
    int presses = 0;
    for (QAbstractButton* button : run.window.findChildren<QAbstractButton*>())
        connect(button, &QAbstractButton::clicked, this, [&presses] { ++presses; });
    Observed before = observe(run);

    box.setFocus();
    QTest::keyClicks(&box, "a");
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClick(&box, Qt::Key_Enter);
    QTest::keyClicks(&box, "b");

    QCOMPARE(box.toPlainText(), QString("a\n\nb"));
    QCOMPARE(presses, 0);
    (name == "txt_question" ? before.question : before.answer) = box.toPlainText();
    QVERIFY2(observe(run) == before, "nothing else changed");
}

QTEST_MAIN(WiringTest)
#include "WiringTest.moc"
