// A dark theme: the picture boxes keep white paper and black ink, read back
// from the screen after the timer has drawn; the rest follows the theme.

#include <QAbstractButton>
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include "tests/window/WindowRun.h"

using qadrill::testing::WindowRun;

namespace {

// As a dark scheme sets it: light text of every kind on dark grounds.
QPalette darkPalette() {
    QPalette dark;
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
        dark.setColor(role, QColor(0x30, 0x30, 0x30));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, QColor(0xF0, 0xF0, 0xF0));
    return dark;
}

QImage onScreen(QWidget& control) {
    const QPoint at = control.mapTo(control.window(), QPoint(0, 0));
    return control.screen()
        ->grabWindow(control.window()->winId(), at.x(), at.y(), control.width(), control.height())
        .toImage();
}

// Picture1's drawing area is 341 x 88 behind a 2-pixel border; a radius of
// 100 units is 34.1 pixels, so the circle crosses the centre's row at x 206.6.
constexpr QPoint onTheCircle{2 + 170 + 34, 2 + 44};
constexpr QPoint paper{12, 12};

bool blackNear(const QImage& image, QPoint point) {
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (image.pixelColor(point + QPoint(dx, dy)) == Qt::black) return true;
    return false;
}

}  // namespace

class ThemeTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void picturesKeepPaperAndInk_data();
    void picturesKeepPaperAndInk();
};

void ThemeTest::picturesKeepPaperAndInk_data() {
    QTest::addColumn<bool>("switchedWhileRunning");
    QTest::newRow("dark from the start") << false;
    QTest::newRow("dark once the window stands") << true;
}

void ThemeTest::picturesKeepPaperAndInk() {
    QFETCH(bool, switchedWhileRunning);
    const QPalette before = QApplication::palette();
    const auto restore = qScopeGuard([&before] { QApplication::setPalette(before); });
    if (!switchedWhileRunning) QApplication::setPalette(darkPalette());
    WindowRun run;
    run.loadAssignmentOne();
    if (switchedWhileRunning) QApplication::setPalette(darkPalette());
    QVERIFY(run.show());
    run.platform.randomValues = std::deque<float>(64, 0.2F);  // every circle the same
    run.control<QAbstractButton>("cmd_pend_exp").click();
    QTRY_VERIFY(run.platform.beeps >= 2);
    run.control<QTimer>("tmr_pend_exp").stop();

    const QImage picture1 = onScreen(run.control("Picture1"));
    QVERIFY2(blackNear(picture1, onTheCircle), "the circle is drawn in black");
    QCOMPARE(picture1.pixelColor(paper), QColor(Qt::white));
    const QImage picture2 = onScreen(run.control("Picture2"));
    QCOMPARE(picture2.pixelColor(paper), QColor(Qt::white));
    // The rest of the window follows the theme.
    QCOMPARE(run.control("txt_answer").palette().color(QPalette::Base), QColor(0x30, 0x30, 0x30));
}

QTEST_MAIN(ThemeTest)
#include "ThemeTest.moc"
