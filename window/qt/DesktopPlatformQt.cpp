// The desktop platform in Qt: dialogs, message boxes, the clipboard and the beep.
#include "window/DesktopPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTextEdit>
#include <string_view>

#include "window/ControlTable.h"
#include "window/ReportLine.h"
#include "window/qt/PictureImageQt.h"

namespace qadrill {

namespace {

QString toQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The box's details are a text outside the tab order with no name, and
// showing them says nothing to a screen reader.  Named, reachable by Tab and
// focused as they are shown, they are read out and can be read again line by
// line; Tab leads back to the buttons.
class DetailsReader final : public QObject {
public:
    void watch(QTextEdit& details) {
        details.setObjectName(QStringLiteral("details"));
        details.setAccessibleName(QStringLiteral("Details"));
        details.setReadOnly(true);
        details.setTabChangesFocus(true);
        details.setFocusPolicy(Qt::StrongFocus);
        details.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) static_cast<QWidget*>(watched)->setFocus(Qt::OtherFocusReason);
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

std::u16string DesktopPlatform::inputBox(const std::u16string& prompt) {
    QInputDialog dialog;
    dialog.setWindowTitle(toQString(promptTitle));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(QString::fromStdU16String(prompt));
    // The prompt is shown as typed, never read as markup, and long prompts wrap.
    if (auto* label = dialog.findChild<QLabel*>()) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.textValue().toStdU16String();
}

// Every report is also one line on standard error, so a report that flashed
// past (or a run without anyone watching) leaves a trace.
void DesktopPlatform::messageBox(const std::u16string& text) { messageBoxWithDetail(text, {}); }

void DesktopPlatform::messageBoxWithDetail(const std::u16string& text, const std::u16string& detail) {
    writeReportLine(text, detail);

    QMessageBox box;
    // The program's name, as on the prompts; the report has no caption of its own.
    box.setWindowTitle(toQString(promptTitle));
    box.setIcon(QMessageBox::NoIcon);
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdU16String(text));
    box.setDetailedText(QString::fromStdU16String(detail));  // empty: no details button
    box.setStandardButtons(QMessageBox::Ok);
    DetailsReader reader;
    if (auto* details = box.findChild<QTextEdit*>()) reader.watch(*details);
    box.exec();
}

void DesktopPlatform::setClipboardPicture(const Picture& picture) {
    QGuiApplication::clipboard()->setImage(toImage(picture));
}

std::optional<Picture> DesktopPlatform::clipboardPicture() {
    const QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull()) return std::nullopt;
    return toPicture(image);
}

void DesktopPlatform::beep() { QApplication::beep(); }

}  // namespace qadrill
