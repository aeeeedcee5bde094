// The window as the control table lays it out: every control's name, kind,
// text, rectangle at 96 dpi, focus, font and accessible name, the tab walk,
// the overlaps and the strips cut off at the initial size.

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTimer>
#include <QtTest>

#include "tests/window/WindowRun.h"
#include "window/qt/CaptionButtonQt.h"

using qadrill::testing::WindowRun;

namespace {

QString textOf(const QWidget& control) {
    if (const auto* box = qobject_cast<const QPlainTextEdit*>(&control)) return box->toPlainText();
    if (const auto* line = qobject_cast<const QLineEdit*>(&control)) return line->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(&control)) return label->text();
    return {};
}

// Height in pixels of the rows that hold dark (text) pixels.
int inkHeight(QWidget& control) {
    const QImage image = control.grab().toImage();
    int first = -1;
    int last = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 3; x < image.width() - 3; ++x) {
            if (qGray(image.pixel(x, y)) < 100) {
                if (first < 0) first = y;
                last = y;
                break;
            }
        }
    }
    return first < 0 ? 0 : last - first + 1;
}

const QStringList tabWalk{"txt_question",
                          "txt_answer",
                          "cmdNextQuestion",
                          "cmd_enter_response",
                          "Picture1",
                          "Picture2",
                          "cmd_save_as_notes",
                          "cmd_Make_paragraph",
                          "cmd_Make_Paragraph_question",
                          "txt_paragraph_goback",
                          "cmd_timerTrigger",
                          "List1",
                          "txt_parameter_0",
                          "txt_parameter_1",
                          "txt_parameter_2",
                          "txt_parameter_3",
                          "cmd_displayCumulativeText",
                          "cmd_display_note_file",
                          "cmd_quit",
                          "cmd_pend_exp",
                          "cmd_next_picture",
                          "cmd_copy_picture",
                          "cmd_clear_answer_box"};

}  // namespace

class ControlTableTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void controls_data();
    void controls();
    void windowItself();
    void onlyTheTableIsBuilt();
    void tabWalksTheTableSkippingLabels();
    void focusStartsInTheQuestionBox();
    void labelsLieBeneathWhatOverlapsThem();
    void stripsPastTheEdgeAreCutOff();
    void resizingLaysNothingOut();
    void noDefaultButtonNoAccessKey();
    void ampersandInACaptionIsNoAccessKey();
    void captionsWrap_data();
    void captionsWrap();
    void captionsFitWithTheInterfaceFont_data();
    void captionsFitWithTheInterfaceFont();
};

void ControlTableTest::controls_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<bool>("takesFocus");
    QTest::addColumn<bool>("arial");
    QTest::addColumn<QString>("accessibleName");
    const QString box = "QPlainTextEdit", line = "QLineEdit", button = "qadrill::CaptionButton", label = "QLabel",
                  picture = "qadrill::PictureBox", list = "qadrill::FocusFramedList";
    auto row = [](const char* name, const QString& kind, const QString& text, QRect rect, bool focus, bool arial,
                  const QString& accessible) {
        QTest::newRow(name) << kind << text << rect << focus << arial << accessible;
    };
    row("txt_question", box, "", {16, 48, 345, 350}, true, true, "question box");
    row("txt_answer", box, "", {376, 48, 337, 350}, true, true, "answer box");
    row("cmdNextQuestion", button, "Next Question / Answer", {16, 0, 65, 49}, true, false, "Next Question / Answer");
    row("cmd_enter_response", button, "Enter Response", {376, 16, 57, 33}, true, false, "Enter Response");
    row("Picture1", picture, "", {16, 405, 345, 92}, true, false, "Picture1");
    row("Picture2", picture, "", {376, 405, 337, 92}, true, false, "Picture2");
    row("cmd_save_as_notes", button, "Save as Notes", {432, 16, 57, 33}, true, false, "Save as Notes");
    row("cmd_Make_paragraph", button, "Make Paragraph", {488, 16, 65, 33}, true, false, "Make Paragraph");
    row("cmd_Make_Paragraph_question", button, "Make Paragraph", {80, 16, 57, 33}, true, false, "Make Paragraph");
    row("txt_paragraph_goback", line, "1", {208, 16, 33, 33}, true, false, "# sentences previous");
    row("lbl_paragraph_goback", label, "# sentences previous", {144, 16, 73, 33}, false, false, "# sentences previous");
    row("cmd_timerTrigger", button, "Trigger Timer", {160, 504, 49, 33}, true, false, "Trigger Timer");
    row("List1", list, "", {208, 512, 113, 56}, true, false, "List1");
    row("lbl_parameter_0", label, "Parameter 1", {376, 512, 60, 13}, false, false, "Parameter 1");
    row("txt_parameter_0", line, "1", {448, 512, 20, 19}, true, false, "Parameter 1");
    row("lbl_parameter_1", label, "Parameter 2", {376, 544, 57, 13}, false, false, "Parameter 2");
    row("txt_parameter_1", line, "1", {448, 544, 20, 19}, true, false, "Parameter 2");
    row("lbl_parameter_2", label, "Parameter 3", {480, 512, 67, 13}, false, false, "Parameter 3");
    row("txt_parameter_2", line, "1", {547, 512, 20, 19}, true, false, "Parameter 3");
    row("lbl_parameter_3", label, "Parameter 4", {480, 544, 60, 13}, false, false, "Parameter 4");
    row("txt_parameter_3", line, "1", {547, 544, 20, 19}, true, false, "Parameter 4");
    row("cmd_displayCumulativeText", button, "display everything", {240, 16, 57, 33}, true, false,
        "display everything");
    row("cmd_display_note_file", button, "display notes", {296, 16, 65, 33}, true, false, "display notes");
    row("cmd_quit", button, "quit program", {680, 0, 49, 33}, true, false, "quit program");
    row("cmd_pend_exp", button, "pend exp", {576, 504, 33, 25}, true, false, "pend exp");
    row("cmd_next_picture", button, "next picture", {80, 504, 57, 33}, true, false, "next picture");
    row("lbl_only_if_prompted", label, "click only if prompted", {16, 504, 57, 33}, false, false,
        "click only if prompted");
    row("cmd_copy_picture", button, "copy picture", {80, 544, 57, 33}, true, false, "copy picture");
    row("cmd_clear_answer_box", button, "clear box", {552, 16, 57, 33}, true, false, "clear box");
}

void ControlTableTest::controls() {
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QRect, rect);
    QFETCH(bool, takesFocus);
    QFETCH(bool, arial);
    QFETCH(QString, accessibleName);
    WindowRun run;
    QWidget& control = run.control(QTest::currentDataTag());

    QCOMPARE(control.metaObject()->className(), kind);
    QCOMPARE(textOf(control), text);
    QCOMPARE(control.geometry(), rect);
    QCOMPARE(control.focusPolicy(), takesFocus ? Qt::StrongFocus : Qt::NoFocus);
    QCOMPARE(control.accessibleName(), accessibleName);
    if (arial) {
        QCOMPARE(control.font().family(), QString("Arial"));
        QCOMPARE(control.font().pointSizeF(), 9.75);
        QCOMPARE(control.font().weight(), QFont::Normal);
        QVERIFY(!control.font().italic() && !control.font().underline() && !control.font().strikeOut());
        QCOMPARE(QFontInfo(control.font()).family(), QString("Liberation Sans"));  // Arial's metrics
    } else {
        QVERIFY2(control.font() == qadrill::interfaceFont(), "the interface font, its own");
    }
    const QString name = QTest::currentDataTag();
    if (name.contains("_parameter_")) QCOMPARE(control.property("index").toInt(), name.right(1).toInt());
}

void ControlTableTest::windowItself() {
    WindowRun run;
    QCOMPARE(run.window.objectName(), QString("cmd_pend_exp"));
    QCOMPARE(run.window.windowTitle(), QString("Form1"));
    QCOMPARE(run.window.size(), QSize(725, 573));
    QVERIFY(run.form().layout() == nullptr);
    QVERIFY2(run.window.minimumSize().width() < 725 && run.window.maximumSize().width() > 725, "resizable");
}

void ControlTableTest::onlyTheTableIsBuilt() {
    WindowRun run;
    QCOMPARE(run.form().findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(), 29);
    const auto timers = run.form().findChildren<QTimer*>(Qt::FindDirectChildrenOnly);
    QCOMPARE(timers.size(), 1);
    QCOMPARE(timers[0]->objectName(), QString("tmr_pend_exp"));
    QCOMPARE(timers[0]->interval(), 15);
    QVERIFY(!timers[0]->isActive());
    QVERIFY2(run.window.findChild<QWidget*>("cmd_pend_exp") != &run.window, "button and window are two objects");
}

void ControlTableTest::tabWalksTheTableSkippingLabels() {
    WindowRun run;
    QVERIFY(run.show());
    QVERIFY(QTest::qWaitForWindowActive(&run.window));
    QStringList walked;
    for (int i = 0; i < tabWalk.size(); ++i) {
        walked << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(walked, tabWalk);
    QCOMPARE(QApplication::focusWidget()->objectName(), QString("txt_question"));  // round again
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QString("cmd_clear_answer_box"));
}

void ControlTableTest::focusStartsInTheQuestionBox() {
    WindowRun run;
    QVERIFY(run.show());
    QVERIFY(QTest::qWaitForWindowActive(&run.window));
    QCOMPARE(QApplication::focusWidget(), &run.control("txt_question"));
}

void ControlTableTest::labelsLieBeneathWhatOverlapsThem() {
    WindowRun run;
    // txt_paragraph_goback covers the label's right-hand 135 twips (9 pixels).
    QWidget* top = run.form().childAt(212, 30);
    QVERIFY(top != nullptr);
    QVERIFY(top == &run.control("txt_paragraph_goback") || run.control("txt_paragraph_goback").isAncestorOf(top));
    QCOMPARE(run.form().childAt(150, 30), &run.control("lbl_paragraph_goback"));
}

void ControlTableTest::stripsPastTheEdgeAreCutOff() {
    WindowRun run;
    QVERIFY(run.show());
    QCOMPARE(run.control("cmd_quit").visibleRegion().boundingRect(), QRect(0, 0, 45, 33));
    QCOMPARE(run.control("cmd_copy_picture").visibleRegion().boundingRect(), QRect(0, 0, 57, 29));
}

void ControlTableTest::resizingLaysNothingOut() {
    WindowRun run;
    QVERIFY(run.show());
    std::map<QString, QRect> before;
    for (QWidget* control : run.form().findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        before[control->objectName()] = control->geometry();
    for (const QSize size : {QSize(300, 200), QSize(1000, 800), QSize(725, 573)}) {
        run.window.resize(size);
        QTRY_COMPARE(run.window.size(), size);
        for (QWidget* control : run.form().findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QCOMPARE(control->geometry(), before[control->objectName()]);
    }
}

void ControlTableTest::noDefaultButtonNoAccessKey() {
    WindowRun run;
    for (QPushButton* button : run.window.findChildren<QPushButton*>()) {
        QVERIFY2(!button->isDefault() && !button->autoDefault(), qPrintable(button->objectName()));
        QVERIFY2(QKeySequence::mnemonic(button->text()).isEmpty(), qPrintable(button->objectName()));
    }
}

void ControlTableTest::ampersandInACaptionIsNoAccessKey() {
    const qadrill::CaptionButton button("Save &Notes", nullptr);
    QVERIFY(QKeySequence::mnemonic(button.text()).isEmpty());
    QVERIFY(!QKeySequence::mnemonic("Save &Notes").isEmpty());  // what it would be unescaped
}

void ControlTableTest::captionsWrap_data() {
    QTest::addColumn<bool>("stockButton");
    QTest::newRow("cmdNextQuestion") << false;
    QTest::newRow("lbl_paragraph_goback") << false;
    QTest::newRow("lbl_only_if_prompted") << false;
    // The measure itself: a stock push button of the same size keeps one line.
    QTest::newRow("cmdNextQuestion as a stock button") << true;
}

void ControlTableTest::captionsWrap() {
    QFETCH(bool, stockButton);
    WindowRun run;
    QVERIFY(run.show());
    QWidget* control = &run.control(QString(QTest::currentDataTag()).section(' ', 0, 0));
    QPushButton stock(textOf(*control), &run.window);
    if (stockButton) {
        stock.setGeometry(control->geometry());
        stock.show();
        control = &stock;
    }
    const int lineHeight = control->fontMetrics().height();
    const int ink = inkHeight(*control);
    const QString measured = QString("ink %1 px, line %2 px").arg(ink).arg(lineHeight);
    QVERIFY2(ink > 0, "the caption is drawn");
    QVERIFY2((ink > lineHeight * 3 / 2) != stockButton, qPrintable(measured));
}

void ControlTableTest::captionsFitWithTheInterfaceFont_data() {
    QTest::addColumn<QString>("themeFont");
    QTest::newRow("the interface font") << QString();
    // As a platform theme does once the program runs: the desktop's font for
    // the whole application.
    QTest::newRow("a theme's font set afterwards") << QString("DejaVu Serif,11");
}

// The captions keep the interface font they were fitted with, whatever font a
// theme sets afterwards; whether they show whole in it, the conformance suite
// judges from the pixels.
void ControlTableTest::captionsFitWithTheInterfaceFont() {
    QFETCH(QString, themeFont);
    WindowRun run;
    const QFont before = QApplication::font();
    if (!themeFont.isEmpty()) {
        QFont font;
        QVERIFY(font.fromString(themeFont));
        QApplication::setFont(font);
        QCoreApplication::processEvents();  // the change reaches the widgets as an event
    }
    const auto restore = qScopeGuard([&before] { QApplication::setFont(before); });
    const QFont box = run.control("txt_answer").font();
    QVERIFY2(box.family() == "Arial" && box.pointSizeF() == 9.75, "the text boxes keep their font");
    for (QWidget* control : run.form().findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<QPushButton*>(control) == nullptr && qobject_cast<QLabel*>(control) == nullptr) continue;
        QCOMPARE(QFontInfo(control->font()).family(), QString("Liberation Sans"));
        QCOMPARE(control->font(), qadrill::interfaceFont());
    }
}

QTEST_MAIN(ControlTableTest)
#include "ControlTableTest.moc"
