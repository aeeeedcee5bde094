// A screen smaller than the form (run at scale factor 2 on the offscreen
// 800 x 600 screen, 400 x 300 to the window): the window opens within the
// screen, the form scrolls inside it, and Tab brings every control into view
// without moving any control on the form.  Run again at scale factor 1.03,
// the screen holds the form but not the window's frame, as a 1366 x 768
// screen at 125 % with a panel does: the window with its frame still fits.

#include <QApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QtTest>
#include <map>

#include "tests/window/WindowRun.h"

using qadrill::testing::WindowRun;

class SmallScreenTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowOpensWithinTheScreen();
    void tabScrollsEachControlIntoView();
    void windowAndFrameFitTheWorkArea();
};

void SmallScreenTest::windowOpensWithinTheScreen() {
    WindowRun run;
    const QSize screen = run.window.screen()->availableGeometry().size();
    QVERIFY2(screen.width() < 725 && screen.height() < 573, "the screen is smaller than the form");
    QVERIFY(run.show());
    QVERIFY(run.window.width() <= screen.width() && run.window.height() <= screen.height());
    QCOMPARE(run.form().size(), QSize(725, 573));
    auto& scroller = run.control<QScrollArea>("form_scroller");
    QVERIFY(scroller.horizontalScrollBar()->isVisible() && scroller.verticalScrollBar()->isVisible());
}

void SmallScreenTest::tabScrollsEachControlIntoView() {
    WindowRun run;
    QVERIFY(run.show());
    QVERIFY(QTest::qWaitForWindowActive(&run.window));
    std::map<QString, QRect> placed;
    for (QWidget* control : run.form().findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        placed[control->objectName()] = control->geometry();
    QWidget& viewport = *run.control<QScrollArea>("form_scroller").viewport();
    QStringList unseen;
    for (int i = 0; i < 24; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        // The control's top-left corner, at least, is in view.
        const QPoint corner = focused->mapTo(&viewport, QPoint(0, 0));
        if (!viewport.rect().contains(corner)) unseen << focused->objectName();
    }
    QVERIFY2(unseen.isEmpty(), qPrintable(unseen.join(", ")));
    for (QWidget* control : run.form().findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        QCOMPARE(control->geometry(), placed[control->objectName()]);
}

// The title bar and border a window manager adds, as the style draws them.
void SmallScreenTest::windowAndFrameFitTheWorkArea() {
    WindowRun run;
    QVERIFY(run.show());
    const QSize workArea = run.window.screen()->availableGeometry().size();
    QStyle& style = *run.window.style();
    const int border = style.pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &run.window);
    const int frameHeight = style.pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &run.window) + 2 * border;
    QVERIFY2(run.window.height() + frameHeight <= workArea.height(),
             qPrintable(QString("%1 + %2 > %3").arg(run.window.height()).arg(frameHeight).arg(workArea.height())));
    QVERIFY(run.window.width() + 2 * border <= workArea.width());
    auto& scroller = run.control<QScrollArea>("form_scroller");
    QCOMPARE(scroller.verticalScrollBar()->isVisible(), 573 + frameHeight > workArea.height());
    // The bottom of the form can be scrolled into view.
    scroller.verticalScrollBar()->setValue(scroller.verticalScrollBar()->maximum());
    QWidget& bottom = run.control("cmd_copy_picture");
    QVERIFY(scroller.viewport()->rect().contains(bottom.mapTo(scroller.viewport(), QPoint(0, 0))));
}

QTEST_MAIN(SmallScreenTest)
#include "SmallScreenTest.moc"
