// The window as the logic sees it: box texts cross with CR LF line breaks and
// come back exactly, appended text joins the box as if the whole were set,
// and the picture scales reach the right box.

#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest>

#include "tests/window/WindowRun.h"
#include "window/qt/PictureBoxQt.h"
#include "window/qt/SurfaceControlsQt.h"

using qadrill::PictureBoxId;
using qadrill::testing::WindowRun;

namespace {

// A surface of its own over the window's controls.
struct Surface {
    qadrill::WindowSurface::Controls controls;
    qadrill::WindowSurface view{controls};
};

Surface surfaceOf(WindowRun& run) {
    return {{run.control<QPlainTextEdit>("txt_question"), run.control<QPlainTextEdit>("txt_answer"),
             run.control<qadrill::PictureBox>("Picture1"), run.control<qadrill::PictureBox>("Picture2"),
             run.control<QTimer>("tmr_pend_exp")}};
}

}  // namespace

class WindowSurfaceTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void logicTextComesBackAsItWent_data();
    void logicTextComesBackAsItWent();
    void typedBreaksReachTheLogicAsCrLf_data();
    void typedBreaksReachTheLogicAsCrLf();
    void appendedTextJoinsAsIfTheWholeWereSet_data();
    void appendedTextJoinsAsIfTheWholeWereSet();
    void appendingLeavesTheStudentsPlaceAndTyping_data();
    void appendingLeavesTheStudentsPlaceAndTyping();
    void scalesReachTheirOwnBox();
};

void WindowSurfaceTest::logicTextComesBackAsItWent_data() {
    QTest::addColumn<QString>("logic");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("one line") << "v = 3 m/s"
                              << "v = 3 m/s";
    QTest::newRow("two lines") << "first\r\nsecond"
                               << "first\nsecond";
    QTest::newRow("blank line between") << "a\r\n\r\nb"
                                        << "a\n\nb";
    QTest::newRow("break at the end") << "a\r\n"
                                      << "a\n";
    QTest::newRow("no-break space kept") << "5\u00a0kg"
                                         << "5\u00a0kg";
    QTest::newRow("tab kept") << "x\ty"
                              << "x\ty";
    // A block this long keeps its layout data in the box.
    const QString paragraph = QString("Check the units first. ").repeated(2000);
    QTest::newRow("long paragraph between lines") << "a\r\n" + paragraph + "\r\nb"
                                                  << "a\n" + paragraph + "\nb";
}

void WindowSurfaceTest::logicTextComesBackAsItWent() {
    QFETCH(QString, logic);
    QFETCH(QString, shown);
    WindowRun run;
    auto& box = run.control<QPlainTextEdit>("txt_answer");
    Surface surface = surfaceOf(run);
    auto& view = surface.view;
    view.setAnswerBoxText(logic.toStdU16String());
    QCOMPARE(box.document()->toRawText().replace(QChar::ParagraphSeparator, '\n'), shown);
    QCOMPARE(QString::fromStdU16String(view.answerBoxText()), logic);
    view.setQuestionBoxText(logic.toStdU16String());
    QCOMPARE(QString::fromStdU16String(view.questionBoxText()), logic);
}

void WindowSurfaceTest::typedBreaksReachTheLogicAsCrLf_data() {
    QTest::addColumn<int>("modifier");
    QTest::newRow("Enter") << int(Qt::NoModifier);
    QTest::newRow("Shift+Enter") << int(Qt::ShiftModifier);
}

void WindowSurfaceTest::typedBreaksReachTheLogicAsCrLf() {
    QFETCH(int, modifier);
    WindowRun run;
    auto& box = run.control<QPlainTextEdit>("txt_question");
    QTest::keyClicks(&box, "a");
    QTest::keyClick(&box, Qt::Key_Return, Qt::KeyboardModifiers(modifier));
    QTest::keyClicks(&box, "b");
    Surface surface = surfaceOf(run);
    auto& view = surface.view;
    QCOMPARE(QString::fromStdU16String(view.questionBoxText()), QString("a\r\nb"));
}

void WindowSurfaceTest::appendedTextJoinsAsIfTheWholeWereSet_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("added");
    QTest::newRow("empty box") << ""
                               << "a\r\nb";
    QTest::newRow("run together") << "Problem A"
                                  << "Problem B";
    QTest::newRow("CR LF inside the added text") << "a"
                                                 << "b\r\nc";
    QTest::newRow("box ends with a break") << "a\r\n"
                                           << "b";
    QTest::newRow("break meets break") << "a\r\n"
                                       << "\r\nb";
    QTest::newRow("no-break space kept") << "5\u00a0"
                                         << "kg\u00a0";
    const QString paragraph = QString("Check the units first. ").repeated(2000);
    QTest::newRow("onto a long paragraph") << "a\r\n" + paragraph << paragraph + "\r\nb";
    // A long text goes in by pieces of 64 Ki characters; this CR ends the first.
    QTest::newRow("CR LF across a piece's end") << "a" << QString(65535, 'x') + "\r\nb";
}

void WindowSurfaceTest::appendedTextJoinsAsIfTheWholeWereSet() {
    QFETCH(QString, box);
    QFETCH(QString, added);
    WindowRun run;
    Surface surface = surfaceOf(run);
    auto& view = surface.view;
    view.setQuestionBoxText(box.toStdU16String());
    view.appendQuestionBoxText(added.toStdU16String());
    QCOMPARE(QString::fromStdU16String(view.questionBoxText()), box + added);
}

void WindowSurfaceTest::appendingLeavesTheStudentsPlaceAndTyping_data() {
    QTest::addColumn<int>("selected");
    QTest::newRow("cursor at the end") << 0;
    QTest::newRow("last word selected") << 4;
}

// The student typed into the box (a Shift+Enter break among it) and left the
// cursor or a selection at its end; the next question lands after it all.
void WindowSurfaceTest::appendingLeavesTheStudentsPlaceAndTyping() {
    QFETCH(int, selected);
    WindowRun run;
    QVERIFY(run.show());
    auto& box = run.control<QPlainTextEdit>("txt_question");
    box.setFocus();
    QTest::keyClicks(&box, "typed");
    QTest::keyClick(&box, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(&box, "more");
    for (int i = 0; i < selected; ++i) QTest::keyClick(&box, Qt::Key_Left, Qt::ShiftModifier);
    const int anchor = box.textCursor().anchor();
    const int position = box.textCursor().position();
    Surface surface = surfaceOf(run);
    auto& view = surface.view;
    view.appendQuestionBoxText(u"Problem B");
    QCOMPARE(box.textCursor().anchor(), anchor);
    QCOMPARE(box.textCursor().position(), position);
    // As when the box is set, undo cannot take the question back out.
    QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(QString::fromStdU16String(view.questionBoxText()), QString("typed\r\nmoreProblem B"));
}

void WindowSurfaceTest::scalesReachTheirOwnBox() {
    WindowRun run;
    auto& picture1 = run.control<qadrill::PictureBox>("Picture1");
    auto& picture2 = run.control<qadrill::PictureBox>("Picture2");
    Surface surface = surfaceOf(run);
    auto& view = surface.view;
    view.setPictureScaleHeight(PictureBoxId::Picture1, 1000);
    view.setPictureScaleWidth(PictureBoxId::Picture1, 2000);
    view.setPictureScaleHeight(PictureBoxId::Picture2, 300);
    QCOMPARE(picture1.scaleHeight(), 1000.0);
    QCOMPARE(picture1.scaleWidth(), 2000.0);
    QCOMPARE(picture2.scaleHeight(), 300.0);
    QCOMPARE(picture2.scaleWidth(), 333.0 * 15);  // unset: the drawing area in twips
}

QTEST_MAIN(WindowSurfaceTest)
#include "WindowSurfaceTest.moc"
