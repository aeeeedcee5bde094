// A dark theme: the picture boxes keep white paper and black ink, read back
// from the screen after the timer has drawn; the rest follows the theme.  In
// every theme the focus stands out from each control's background.

#include <QAbstractButton>
#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <map>

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

// The dark palette the Fusion style is commonly paired with.
QPalette fusionDarkPalette() {
    QPalette dark;
    for (const auto role : {QPalette::Window, QPalette::Button, QPalette::AlternateBase})
        dark.setColor(role, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) dark.setColor(role, Qt::white);
    dark.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    return dark;
}

// Measured here, apart from the program's own rule, so the test cannot agree
// with a wrong formula.
double luminance(const QColor& colour) {
    const auto linear = [](float channel) {
        const auto value = static_cast<double>(channel);
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

double contrast(const QColor& first, const QColor& second) {
    const double a = luminance(first);
    const double b = luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QRgb mostCommon(const std::map<QRgb, int>& counts) {
    return std::ranges::max_element(counts, {}, &std::pair<const QRgb, int>::second)->first;
}

// What the focus changes in the control's pixels, as one sees it: the colour
// most of the changed pixels take, against the colour most of the control
// shows unfocused.  Fewer changed pixels than half a one-pixel outline (a
// dotted frame) is no visible focus at all (1:1).
double focusContrast(QWidget& form, QWidget& control, QWidget& elsewhere) {
    elsewhere.setFocus(Qt::TabFocusReason);
    const QImage unfocused = form.grab(control.geometry()).toImage();
    control.setFocus(Qt::TabFocusReason);
    const QImage focused = form.grab(control.geometry()).toImage();
    std::map<QRgb, int> background;
    std::map<QRgb, int> indicator;
    int changed = 0;
    for (int y = 0; y < unfocused.height(); ++y) {
        for (int x = 0; x < unfocused.width(); ++x) {
            ++background[unfocused.pixel(x, y)];
            if (focused.pixel(x, y) == unfocused.pixel(x, y)) continue;
            ++indicator[focused.pixel(x, y)];
            ++changed;
        }
    }
    if (changed < unfocused.width() + unfocused.height()) return 1.0;
    return contrast(QColor(mostCommon(indicator)), QColor(mostCommon(background)));
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
    void focusStandsOut_data();
    void focusStandsOut();
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

void ThemeTest::focusStandsOut_data() {
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << QApplication::style()->standardPalette();
    QTest::newRow("Fusion dark") << fusionDarkPalette();
    QTest::newRow("dark") << darkPalette();
}

// Every control that takes the focus shows it at 3:1 or more.
void ThemeTest::focusStandsOut() {
    QFETCH(QPalette, palette);
    const QPalette before = QApplication::palette();
    const auto restore = qScopeGuard([&before] { QApplication::setPalette(before); });
    QApplication::setPalette(palette);
    WindowRun run;
    QVERIFY(run.show());
    QVERIFY(QTest::qWaitForWindowActive(&run.window));
    // As after the student's first Tab: some styles show the focus only then.
    run.window.setAttribute(Qt::WA_KeyboardFocusChange);
    QWidget& quit = run.control("cmd_quit");
    QStringList faint;
    double least = 21.0;
    for (QWidget* control : run.form().findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control->focusPolicy() == Qt::NoFocus) continue;
        QWidget& elsewhere = control == &quit ? run.control("cmd_pend_exp") : quit;
        const double measured = focusContrast(run.form(), *control, elsewhere);
        least = std::min(least, measured);
        if (measured < 3.0) faint << control->objectName() + ": " + QString::number(measured, 'f', 2);
    }
    qInfo("%s: least focus contrast %.2f:1", QTest::currentDataTag(), least);
    QVERIFY2(faint.isEmpty(), qPrintable(faint.join(", ")));
}

QTEST_MAIN(ThemeTest)
#include "ThemeTest.moc"
