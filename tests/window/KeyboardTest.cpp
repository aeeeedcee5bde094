// The keyboard user's window: a focus frame where the style draws none, and
// Enter pressing the focused button.

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QScreen>
#include <QtTest>

#include "tests/window/WindowRun.h"

using qadrill::testing::WindowRun;

namespace {

// The pixels just inside the control's drawing area that have the colour.
int frameDots(QWidget& control, const QColor& colour) {
    auto* list = qobject_cast<QAbstractScrollArea*>(&control);
    QWidget& canvas = list != nullptr ? *list->viewport() : control;
    const QRect area = list != nullptr ? canvas.rect() : control.contentsRect();
    const QImage image = canvas.grab().toImage();
    int dots = 0;
    for (int x = area.left() + 1; x < area.right(); ++x)
        if (image.pixelColor(x, area.top() + 1) == colour) ++dots;
    return dots;
}

}  // namespace

class KeyboardTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void focusFrameShows_data();
    void focusFrameShows();
    void focusLeavesTheCirclesDrawn();
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
};

void KeyboardTest::focusFrameShows_data() {
    QTest::addColumn<QString>("before");  // the stop before it in the tab walk
    QTest::addColumn<QPalette::ColorRole>("ink");
    QTest::newRow("Picture1") << "cmd_enter_response" << QPalette::ButtonText;
    QTest::newRow("Picture2") << "Picture1" << QPalette::ButtonText;
    QTest::newRow("List1") << "cmd_timerTrigger" << QPalette::Text;
}

// Reached with Tab, the control shows a dotted frame along its inner edge;
// left again, the frame is gone.
void KeyboardTest::focusFrameShows() {
    QFETCH(QString, before);
    QFETCH(QPalette::ColorRole, ink);
    WindowRun run;
    QVERIFY(run.show());
    QVERIFY(QTest::qWaitForWindowActive(&run.window));
    QWidget& control = run.control(QTest::currentDataTag());
    const QColor colour = control.palette().color(ink);
    run.control(before).setFocus();
    QCOMPARE(frameDots(control, colour), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), &control);
    const int width = control.width();
    QTRY_VERIFY2(frameDots(control, colour) > width / 5, qPrintable(QString::number(frameDots(control, colour))));
    QTest::keyClick(&control, Qt::Key_Tab);
    QTRY_COMPARE(frameDots(control, colour), 0);
}

// The frame comes and goes without a repaint of the whole box, which would
// wipe the circles the timer drew.
void KeyboardTest::focusLeavesTheCirclesDrawn() {
    WindowRun run;
    run.loadAssignmentOne();
    QVERIFY(run.show());
    QVERIFY(QTest::qWaitForWindowActive(&run.window));
    QWidget& picture = run.control("Picture1");
    run.platform.randomValues = {0.2F};  // 34.1 pixels about (172.5, 46)
    run.window.tmr_pend_exp_Timer();
    const QPoint onTheCircle = picture.mapTo(&run.window, QPoint(2 + 170 + 34, 2 + 44));
    const auto circleShown = [&] {
        const QImage shown = run.window.screen()->grabWindow(run.window.winId()).toImage();
        for (int dx = -1; dx <= 1; ++dx)
            if (shown.pixelColor(onTheCircle + QPoint(dx, 0)) == Qt::black) return true;
        return false;
    };
    QVERIFY(circleShown());
    run.control("cmd_enter_response").setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QString("Picture2"));
    QTest::qWait(50);
    QVERIFY(circleShown());
}

void KeyboardTest::enterPressesTheFocusedButton_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("held");  // the key's repeats follow: 0 none, 1 marked, 2 as X reports them unmarked
    QTest::addColumn<int>("presses");
    QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << 0 << 1;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << 0 << 1;
    QTest::newRow("held Return presses once") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << 1 << 1;
    QTest::newRow("held Return, repeats as a release and a press at one instant, presses once")
        << int(Qt::Key_Return) << Qt::KeyboardModifiers() << 2 << 1;
    QTest::newRow("Ctrl+Return is not Enter")
        << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ControlModifier) << 0 << 0;
}

// Only the focused button is pressed; no other button answers Enter.  A held
// Enter presses once, however the system reports its repeats.
void KeyboardTest::enterPressesTheFocusedButton() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, held);
    QFETCH(int, presses);
    WindowRun run;
    QVERIFY(run.show());
    QVERIFY(QTest::qWaitForWindowActive(&run.window));
    auto& focused = run.control<QAbstractButton>("cmd_clear_answer_box");
    int pressed = 0;
    int others = 0;
    for (QAbstractButton* button : run.window.findChildren<QAbstractButton*>()) {
        connect(button, &QAbstractButton::clicked, this, [&, button] { ++(button == &focused ? pressed : others); });
    }
    focused.setFocus();
    const auto code = static_cast<Qt::Key>(key);
    const auto send = [&](QEvent::Type type, quint64 time, bool repeat) {
        QKeyEvent event(type, code, modifiers, QString(), repeat);
        event.setTimestamp(time);
        QApplication::sendEvent(&focused, &event);
    };
    send(QEvent::KeyPress, 1000, false);
    for (quint64 repeat = 1; held != 0 && repeat <= 3; ++repeat) {
        if (held == 2) send(QEvent::KeyRelease, 1000 + 33 * repeat, false);
        send(QEvent::KeyPress, 1000 + 33 * repeat, held == 1);
    }
    send(QEvent::KeyRelease, 1200, false);
    QCOMPARE(pressed, presses);
    send(QEvent::KeyPress, 1500, false);  // pressed again after its release
    QCOMPARE(pressed, presses == 0 ? 0 : presses + 1);
    QCOMPARE(others, 0);
}

QTEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
