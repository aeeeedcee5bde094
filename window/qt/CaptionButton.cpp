#include "window/qt/CaptionButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace qadrill {

CaptionButton::CaptionButton(const QString& caption, QWidget* parent)
    : QPushButton(withoutAccessKeys(caption), parent), caption_(caption) {
    // No button answers Enter or Escape on the window's behalf.
    setAutoDefault(false);
    setDefault(false);
}

void CaptionButton::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();  // the bevel and focus frame only; the caption follows
    painter.drawControl(QStyle::CE_PushButton, option);

    QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (isDown()) {
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    painter.drawItemText(area, Qt::AlignCenter | Qt::TextWordWrap, palette(), isEnabled(), caption_,
                         QPalette::ButtonText);
}

QString withoutAccessKeys(const QString& caption) {
    QString escaped = caption;
    return escaped.replace(QLatin1Char('&'), QLatin1String("&&"));
}

}  // namespace qadrill
