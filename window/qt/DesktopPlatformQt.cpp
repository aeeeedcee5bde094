// The desktop platform in Qt: dialogs, message boxes, the clipboard and the beep.
#include "window/DesktopPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

#include "window/ControlTable.h"
#include "window/ReportLine.h"
#include "window/qt/PictureImageQt.h"

namespace qadrill {

std::u16string DesktopPlatform::inputBox(const std::u16string& prompt) {
    QInputDialog dialog;
    dialog.setWindowTitle(QString::fromUtf8(promptTitle.data(), static_cast<qsizetype>(promptTitle.size())));
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
    box.setIcon(QMessageBox::NoIcon);
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdU16String(text));
    box.setDetailedText(QString::fromStdU16String(detail));  // empty: no details button
    box.setStandardButtons(QMessageBox::Ok);
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
