// The desktop's prompts, message box and clipboard as the drill uses them.

#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryFile>
#include <QTimer>
#include <QtTest>
#include <cstdio>
#include <functional>

#include "window/DesktopPlatform.h"
#include "window/qt/PictureImageQt.h"

using qadrill::Picture;

namespace {

// Runs `answer` on the modal dialog as soon as it is up.
void whenModal(std::function<void(QWidget&)> answer) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, qApp, [poll, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        answer(*modal);
    });
    poll->start(10);
}

QLineEdit& editOf(QWidget& dialog) { return *dialog.findChild<QLineEdit*>(); }

}  // namespace

class DesktopPlatformTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void inputBoxGivesTheTextAsTyped();
    void inputBoxCancelGivesEmpty();
    void inputBoxShowsThePromptAsPlainText();
    void messageBoxHasTheTextAndOneOk();
    void messageBoxRepeatsTheTextOnStandardError();
    void messageBoxShowsTheDetailOnRequest();
    void inputBoxIsTitled();
    void clipboardCarriesAPicture();
    void emptyClipboardOffersNoPicture();
    void picturesConvert_data();
    void picturesConvert();
};

void DesktopPlatformTest::inputBoxGivesTheTextAsTyped() {
    qadrill::DesktopPlatform platform;
    QString preset = "unset";
    whenModal([&preset](QWidget& dialog) {
        preset = editOf(dialog).text();
        QTest::keyClicks(&editOf(dialog), "  Ann Lee Smith ");
        QTest::keyClick(&editOf(dialog), Qt::Key_Return);
    });
    QCOMPARE(QString::fromStdU16String(platform.inputBox(u"Your full name:  ")), QString("  Ann Lee Smith "));
    QCOMPARE(preset, QString());
}

void DesktopPlatformTest::inputBoxCancelGivesEmpty() {
    qadrill::DesktopPlatform platform;
    whenModal([](QWidget& dialog) {
        QTest::keyClicks(&editOf(dialog), "2");
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    });
    QVERIFY(platform.inputBox(u"Enter 1 for home user, 2 for ORVY LAN user").empty());
}

void DesktopPlatformTest::inputBoxShowsThePromptAsPlainText() {
    qadrill::DesktopPlatform platform;
    QString shown;
    whenModal([&shown](QWidget& dialog) {
        auto* label = dialog.findChild<QLabel*>();
        shown = label->textFormat() == Qt::PlainText ? label->text() : "not plain";
        QTest::keyClick(&editOf(dialog), Qt::Key_Escape);
    });
    (void)platform.inputBox(u"<b>Assignment</b> Number:  ");
    QCOMPARE(shown, QString("<b>Assignment</b> Number:  "));
}

void DesktopPlatformTest::messageBoxHasTheTextAndOneOk() {
    qadrill::DesktopPlatform platform;
    QString text;
    int buttons = 0;
    bool noIcon = false;
    whenModal([&](QWidget& dialog) {
        auto& box = static_cast<QMessageBox&>(dialog);
        text = box.textFormat() == Qt::PlainText ? box.text() : "not plain";
        buttons = int(box.buttons().size());
        noIcon = box.icon() == QMessageBox::NoIcon;
        box.button(QMessageBox::Ok)->click();
    });
    platform.messageBox(u"The error is:  13");
    QCOMPARE(text, QString("The error is:  13"));
    QCOMPARE(buttons, 1);
    QVERIFY(noIcon);
}

void DesktopPlatformTest::messageBoxRepeatsTheTextOnStandardError() {
    qadrill::DesktopPlatform platform;
    QCoreApplication::setApplicationName("qadrill");
    QTemporaryFile captured;
    QVERIFY(captured.open());
    std::fflush(stderr);
    const int savedStderr = dup(STDERR_FILENO);
    dup2(captured.handle(), STDERR_FILENO);
    whenModal([](QWidget& dialog) { static_cast<QMessageBox&>(dialog).button(QMessageBox::Ok)->click(); });
    platform.messageBox(u"first line\r\nsecond  line");
    whenModal([](QWidget& dialog) { static_cast<QMessageBox&>(dialog).button(QMessageBox::Ok)->click(); });
    platform.messageBoxWithDetail(u"The error is:  75", u"/home/ann/plovenda/notes.txt: Permission denied");
    std::fflush(stderr);
    dup2(savedStderr, STDERR_FILENO);
    close(savedStderr);
    captured.seek(0);
    QCOMPARE(QString::fromUtf8(captured.readAll()),
             QString("qadrill: first line second  line\n"
                     "qadrill: The error is:  75 (/home/ann/plovenda/notes.txt: Permission denied)\n"));
}

// The specified text stays as it is; where and why open under the details.
void DesktopPlatformTest::messageBoxShowsTheDetailOnRequest() {
    qadrill::DesktopPlatform platform;
    QString text;
    QString detail;
    whenModal([&](QWidget& dialog) {
        auto& box = static_cast<QMessageBox&>(dialog);
        text = box.text();
        detail = box.detailedText();
        box.button(QMessageBox::Ok)->click();
    });
    platform.messageBoxWithDetail(u"The error is:  61", u"/home/ann/plovenda/send.txt: No space left on device");
    QCOMPARE(text, QString("The error is:  61"));
    QCOMPARE(detail, QString("/home/ann/plovenda/send.txt: No space left on device"));
}

void DesktopPlatformTest::inputBoxIsTitled() {
    qadrill::DesktopPlatform platform;
    QString title;
    whenModal([&title](QWidget& dialog) {
        title = dialog.windowTitle();
        QTest::keyClick(&editOf(dialog), Qt::Key_Escape);
    });
    (void)platform.inputBox(u"Enter your full name");
    QCOMPARE(title, QString("Q&A Drill"));
}

void DesktopPlatformTest::clipboardCarriesAPicture() {
    qadrill::DesktopPlatform platform;
    const Picture picture{2, 2, {0xff000000, 0xffff0000, 0xff00ff00, 0xff0000ff}};
    platform.setClipboardPicture(picture);
    const auto offered = platform.clipboardPicture();
    QVERIFY(offered.has_value());
    QVERIFY(offered->argb == picture.argb);
}

void DesktopPlatformTest::emptyClipboardOffersNoPicture() {
    qadrill::DesktopPlatform platform;
    QGuiApplication::clipboard()->setText("only text");
    QVERIFY(!platform.clipboardPicture().has_value());
}

void DesktopPlatformTest::picturesConvert_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<bool>("image");
    QTest::newRow("3 x 2, row by row") << 3 << 2 << 6 << true;
    QTest::newRow("no picture") << 0 << 0 << 0 << false;
    QTest::newRow("pixels missing") << 3 << 2 << 5 << false;
}

void DesktopPlatformTest::picturesConvert() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, pixels);
    QFETCH(bool, image);
    Picture picture{width, height, {}};
    for (int i = 0; i < pixels; ++i) picture.argb.push_back(0x80000000U | std::uint32_t(i));
    const QImage converted = qadrill::toImage(picture);
    QCOMPARE(!converted.isNull(), image);
    if (!image) return;
    QCOMPARE(converted.pixel(2, 0), QRgb{0x80000002});
    QCOMPARE(converted.pixel(0, 1), QRgb{0x80000003});
    QVERIFY(qadrill::toPicture(converted).argb == picture.argb);
}

QTEST_MAIN(DesktopPlatformTest)
#include "DesktopPlatformTest.moc"
