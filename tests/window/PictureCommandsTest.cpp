// The picture, clipboard and timer commands: the timer's two states, the
// circles a tick draws (where, how big, cut off where), drawing that never
// becomes a picture and is gone when the box is shown afresh, and copy
// picture with and without a picture on the clipboard.

#include <QAbstractButton>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>
#include <QWindowStateChangeEvent>
#include <QtTest>

#include "drill/report/ErrorReport.h"
#include "platform/RuntimeError.h"
#include "tests/window/WindowRun.h"
#include "window/qt/PictureBoxQt.h"

using qadrill::Picture;
using qadrill::PictureBox;
using qadrill::testing::WindowRun;

namespace {

// Picture1 is 345 x 92 pixels with a 2-pixel sunken border: its drawing area
// is 341 x 88, so (500, 500) lies at (170.5, 44) inside it and one horizontal
// unit is 0.341 pixels.
constexpr QPointF centre{2 + 170.5, 2 + 44.0};
constexpr double pixelsPerUnit = 0.341;

QColor ink(const QWidget& box) { return box.palette().color(QPalette::ButtonText); }

// True when a pixel within one pixel of the point has the drawing colour.
bool drawnNear(const QImage& image, QPointF point, const QColor& colour) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint at = point.toPoint() + QPoint(dx, dy);
            if (image.rect().contains(at) && image.pixelColor(at) == colour) return true;
        }
    }
    return false;
}

bool drawnInColumn(const QImage& image, int x, const QColor& colour) {
    for (int y = 2; y < image.height() - 2; ++y)
        if (image.pixelColor(x, y) == colour) return true;
    return false;
}

// What the screen shows of a control (the window's backing store), not a
// fresh paint of it: drawing is on the screen only.
QImage onScreen(QWidget& control) {
    const QPoint at = control.mapTo(control.window(), QPoint(0, 0));
    return control.screen()
        ->grabWindow(control.window()->winId(), at.x(), at.y(), control.width(), control.height())
        .toImage();
}

bool anythingDrawn(QWidget& box) {
    const QImage image = onScreen(box);
    for (int x = 2; x < image.width() - 2; ++x)
        if (drawnInColumn(image, x, ink(box))) return true;
    return false;
}

Picture solid(int width, int height, std::uint32_t argb) {
    return Picture{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width * height), argb)};
}

}  // namespace

class PictureCommandsTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void timerStartsDisabled();
    void pendExpEnablesTheTimer();
    void pendExpTwiceKeepsTheRhythm();
    void eachTickBeepsAndDrawsOneRandomValue();
    void circleIsRoundAboutTheCentre();
    void largeCirclesAreCutOffAtTopAndBottomOnly();
    void circlesAccumulate();
    void drawingIsNeverThePicture();
    void drawingIsGoneWhenShownAfresh_data();
    void drawingIsGoneWhenShownAfresh();
    void repaintShowsTheBackgroundAgain_data();
    void repaintShowsTheBackgroundAgain();
    void copyShowsTheClipboardsPicture();
    void copyClearsPicture2WhenTheClipboardOffersNone();
    void copyWithAHeldClipboardIsReportedAndChangesNothing();
    void copyPutsAPictureOfPicture1OnTheClipboard();
    void pictureShowsAtItsOwnSizeFromTheTopLeft();
    void clearBoxEmptiesOnlyTheAnswerBox();
};

void PictureCommandsTest::timerStartsDisabled() {
    WindowRun run;
    QVERIFY(run.show());
    QTest::qWait(60);
    QVERIFY(!run.control<QTimer>("tmr_pend_exp").isActive());
    QCOMPARE(run.platform.beeps, 0);
    QVERIFY(!anythingDrawn(run.control("Picture1")));
}

void PictureCommandsTest::pendExpEnablesTheTimer() {
    WindowRun run;
    QVERIFY(run.show());
    run.control<QAbstractButton>("cmd_pend_exp").click();
    auto& timer = run.control<QTimer>("tmr_pend_exp");
    QVERIFY(timer.isActive());
    QCOMPARE(timer.interval(), 15);
    QTRY_VERIFY(run.platform.beeps >= 2);
    QTRY_VERIFY(anythingDrawn(run.control("Picture1")));
}

void PictureCommandsTest::pendExpTwiceKeepsTheRhythm() {
    WindowRun run;
    auto& timer = run.control<QTimer>("tmr_pend_exp");
    run.control<QAbstractButton>("cmd_pend_exp").click();
    const int id = timer.timerId();
    run.control<QAbstractButton>("cmd_pend_exp").click();
    QVERIFY(timer.isActive());
    QCOMPARE(timer.timerId(), id);  // not restarted: the next tick is not put off
}

void PictureCommandsTest::eachTickBeepsAndDrawsOneRandomValue() {
    WindowRun run;
    run.platform.randomValues = {0.1F, 0.2F, 0.3F};
    run.window.tmr_pend_exp_Timer();
    run.window.tmr_pend_exp_Timer();
    QCOMPARE(run.platform.beeps, 2);
    QCOMPARE(run.platform.randomValues.size(), std::size_t{1});
}

void PictureCommandsTest::circleIsRoundAboutTheCentre() {
    WindowRun run;
    run.loadAssignmentOne();  // start-up gives the box its 1000 x 1000 scale
    QVERIFY(run.show());
    run.platform.randomValues = {0.2F};  // radius 100 units, 34.1 pixels
    run.window.tmr_pend_exp_Timer();
    QWidget& box = run.control("Picture1");
    QTRY_VERIFY(anythingDrawn(box));
    const QImage image = onScreen(box);
    const double r = 100 * pixelsPerUnit;
    for (const QPointF offset : {QPointF(r, 0), QPointF(-r, 0), QPointF(0, r), QPointF(0, -r)})
        QVERIFY2(drawnNear(image, centre + offset, ink(box)), "on the circle");
    QVERIFY2(!drawnNear(image, centre, ink(box)), "no fill");
    // Aspect 1: a circle squeezed to the box's vertical scale would pass here.
    QVERIFY(!drawnNear(image, centre + QPointF(0, -100 * 88.0 / 1000), ink(box)));
}

void PictureCommandsTest::largeCirclesAreCutOffAtTopAndBottomOnly() {
    WindowRun run;
    run.loadAssignmentOne();  // start-up gives the box its 1000 x 1000 scale
    QVERIFY(run.show());
    run.platform.randomValues = {0.9F};  // 450 units: far past 130
    run.window.tmr_pend_exp_Timer();
    QWidget& box = run.control("Picture1");
    QTRY_VERIFY(anythingDrawn(box));
    const QImage image = onScreen(box);
    const double r = 450 * pixelsPerUnit;
    const double across = std::sqrt(r * r - 44.0 * 44.0);  // where it leaves through the top
    QVERIFY(drawnNear(image, QPointF(centre.x() - across, 2), ink(box)));
    QVERIFY(drawnNear(image, QPointF(centre.x() + across, 2 + 87), ink(box)));
    QVERIFY2(!drawnInColumn(image, 2, ink(box)) && !drawnInColumn(image, 2 + 340, ink(box)),
             "no circle reaches the left or right edge");
}

void PictureCommandsTest::circlesAccumulate() {
    WindowRun run;
    run.loadAssignmentOne();  // start-up gives the box its 1000 x 1000 scale
    QVERIFY(run.show());
    run.platform.randomValues = {0.1F, 0.2F};
    run.window.tmr_pend_exp_Timer();
    QTest::qWait(20);
    run.window.tmr_pend_exp_Timer();
    QWidget& box = run.control("Picture1");
    QTRY_VERIFY(drawnNear(onScreen(box), centre + QPointF(100 * pixelsPerUnit, 0), ink(box)));
    QVERIFY(drawnNear(onScreen(box), centre + QPointF(50 * pixelsPerUnit, 0), ink(box)));
}

void PictureCommandsTest::drawingIsNeverThePicture() {
    WindowRun run;
    QVERIFY(run.show());
    run.platform.randomValues = {0.5F};
    run.window.tmr_pend_exp_Timer();
    QVERIFY(run.control<PictureBox>("Picture1").picture().isNull());
}

void PictureCommandsTest::drawingIsGoneWhenShownAfresh_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("box resized") << 0;
    QTest::newRow("box hidden and shown") << 1;
    QTest::newRow("window hidden and shown") << 2;
    QTest::newRow("window restored from minimised") << 3;
}

void PictureCommandsTest::drawingIsGoneWhenShownAfresh() {
    QFETCH(int, how);
    WindowRun run;
    run.loadAssignmentOne();  // start-up gives the box its 1000 x 1000 scale
    QVERIFY(run.show());
    auto& box = run.control<PictureBox>("Picture1");
    run.platform.randomValues = {0.2F};
    run.window.tmr_pend_exp_Timer();
    QTRY_VERIFY(anythingDrawn(box));
    if (how == 0) box.resize(box.width() - 1, box.height());
    if (how == 1) box.hide(), box.show();
    if (how == 2) run.window.hide(), run.window.show();
    if (how == 3) {
        QWindowStateChangeEvent restored(Qt::WindowMinimized);
        QCoreApplication::sendEvent(&run.window, &restored);
    }
    QTRY_VERIFY(!anythingDrawn(box));
}

void PictureCommandsTest::repaintShowsTheBackgroundAgain_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("box repainted") << 0;
    QTest::newRow("box updated") << 1;
}

// As after another window covered the box: drawing is not kept.
void PictureCommandsTest::repaintShowsTheBackgroundAgain() {
    QFETCH(int, how);
    WindowRun run;
    run.loadAssignmentOne();  // start-up gives the box its 1000 x 1000 scale
    QVERIFY(run.show());
    auto& box = run.control<PictureBox>("Picture1");
    run.platform.randomValues = {0.2F, 0.3F};
    run.window.tmr_pend_exp_Timer();
    run.window.tmr_pend_exp_Timer();
    QTRY_VERIFY(anythingDrawn(box));
    if (how == 0) box.repaint();
    if (how == 1) box.update(), QCoreApplication::processEvents();
    QVERIFY(!anythingDrawn(box));
    QCOMPARE(onScreen(box).pixelColor(box.width() / 2, box.height() / 2), QColor(Qt::white));
}

void PictureCommandsTest::copyShowsTheClipboardsPicture() {
    WindowRun run;
    run.platform.clipboard = solid(3, 2, 0xff336699);
    run.control<QAbstractButton>("cmd_copy_picture").click();
    const QImage shown = run.control<PictureBox>("Picture2").picture();
    QCOMPARE(shown.size(), QSize(3, 2));
    QCOMPARE(shown.pixel(2, 1), QRgb{0xff336699});
    QVERIFY2(run.platform.clipboard->argb == solid(3, 2, 0xff336699).argb, "clipboard left as it was");
}

void PictureCommandsTest::copyClearsPicture2WhenTheClipboardOffersNone() {
    WindowRun run;
    auto& picture2 = run.control<PictureBox>("Picture2");
    picture2.setPicture(QImage(4, 4, QImage::Format_ARGB32));
    run.control<QAbstractButton>("cmd_copy_picture").click();
    QVERIFY(picture2.picture().isNull());
    QVERIFY(!run.platform.clipboard.has_value());
}

void PictureCommandsTest::copyWithAHeldClipboardIsReportedAndChangesNothing() {
    WindowRun run;
    auto& picture2 = run.control<PictureBox>("Picture2");
    QImage before(4, 4, QImage::Format_ARGB32);
    before.fill(Qt::red);
    picture2.setPicture(before);
    run.platform.clipboard = solid(3, 3, 0xff00ff00);
    run.platform.clipboardLocked = true;
    run.control<QAbstractButton>("cmd_copy_picture").click();
    QCOMPARE(picture2.picture(), before);
    QCOMPARE(run.platform.messages.size(), std::size_t{1});
    QVERIFY(run.platform.messages[0] == qadrill::errorReportText(qadrill::err::clipboardUnavailable));
}

void PictureCommandsTest::copyPutsAPictureOfPicture1OnTheClipboard() {
    WindowRun run;
    QImage own(5, 1, QImage::Format_ARGB32);
    own.fill(QColor(0x12, 0x34, 0x56));
    run.control<PictureBox>("Picture1").setPicture(own);
    run.control<QAbstractButton>("cmd_copy_picture").click();
    QVERIFY(run.platform.clipboard.has_value());
    QCOMPARE(run.platform.clipboard->width, 5);
    QCOMPARE(run.control<PictureBox>("Picture2").picture().pixel(4, 0), own.pixel(4, 0));
}

void PictureCommandsTest::pictureShowsAtItsOwnSizeFromTheTopLeft() {
    WindowRun run;
    QVERIFY(run.show());
    run.platform.clipboard = solid(400, 10, 0xffff0000);  // wider than the box
    run.control<QAbstractButton>("cmd_copy_picture").click();
    QWidget& box = run.control("Picture2");
    const QImage image = box.grab().toImage();
    QCOMPARE(image.pixelColor(2, 2), QColor(Qt::red));
    QCOMPARE(image.pixelColor(2 + 332, 2 + 9), QColor(Qt::red));  // cut off at the right
    QCOMPARE(image.pixelColor(2, 2 + 10), QColor(Qt::white));
    QVERIFY2(image.pixelColor(0, 5) != QColor(Qt::red) && image.pixelColor(box.width() - 1, 5) != QColor(Qt::red),
             "the border is not painted over");
}

void PictureCommandsTest::clearBoxEmptiesOnlyTheAnswerBox() {
    WindowRun run;
    run.loadAssignmentOne();
    run.control<QAbstractButton>("cmdNextQuestion").click();
    run.control<QPlainTextEdit>("txt_answer").setPlainText("my answer");
    const QString question = run.control<QPlainTextEdit>("txt_question").toPlainText();
    const auto files = run.files();
    const auto prompt = run.window.drill().state().promptText;
    run.control<QAbstractButton>("cmd_clear_answer_box").click();
    QCOMPARE(run.control<QPlainTextEdit>("txt_answer").toPlainText(), QString());
    QCOMPARE(run.control<QPlainTextEdit>("txt_question").toPlainText(), question);
    QVERIFY(run.files() == files);
    QVERIFY(run.window.drill().state().promptText == prompt);
    run.control<QAbstractButton>("cmd_clear_answer_box").click();  // on an empty box
    QCOMPARE(run.control<QPlainTextEdit>("txt_answer").toPlainText(), QString());
}

QTEST_MAIN(PictureCommandsTest)
#include "PictureCommandsTest.moc"
