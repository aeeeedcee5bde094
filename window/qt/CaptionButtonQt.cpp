#include "window/qt/CaptionButtonQt.h"

#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "window/CaptionFit.h"

namespace qadrill {

CaptionButton::CaptionButton(const QString& caption, QWidget* parent)
    : QPushButton(withoutAccessKeys(caption), parent), caption_(caption) {
    // No button answers Enter or Escape on the window's behalf.
    setAutoDefault(false);
    setDefault(false);
}

void CaptionButton::setCaption(const QString& caption) {
    caption_ = caption;
    setText(withoutAccessKeys(caption));
    update();
}

void CaptionButton::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();  // the bevel and focus frame only; the caption follows
    painter.drawControl(QStyle::CE_PushButton, option);

    // The area the interface font was chosen for (window/CaptionFit.h).
    QRect area = rect().adjusted(buttonFramePixels, buttonFramePixels, -buttonFramePixels, -buttonFramePixels);
    if (isDown()) {
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    painter.drawItemText(area, Qt::AlignCenter | Qt::TextWordWrap, palette(), isEnabled(), caption_,
                         QPalette::ButtonText);
}

// A held Enter's repeats never get here (HeldEnterFilter).
void CaptionButton::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (!enter || !plain) {
        QPushButton::keyPressEvent(event);
        return;
    }
    click();
    event->accept();
}

QString withoutAccessKeys(const QString& caption) {
    QString escaped = caption;
    return escaped.replace(QLatin1Char('&'), QLatin1String("&&"));
}

}  // namespace qadrill
