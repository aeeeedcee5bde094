#include "window/qt/FocusFrameQt.h"

#include <QPainter>

namespace qadrill {

void drawFocusFrame(QPainter& painter, const QRect& area, const QColor& colour) {
    painter.save();
    painter.setPen(QPen(colour, 0, Qt::DotLine));  // one device pixel
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(1, 1, -2, -2));
    painter.restore();
}

void FocusFramedList::paintEvent(QPaintEvent* event) {
    QListWidget::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(viewport());
    drawFocusFrame(painter, viewport()->rect(), palette().color(QPalette::Text));
}

void FocusFramedList::focusInEvent(QFocusEvent* event) {
    QListWidget::focusInEvent(event);
    viewport()->update();
}

void FocusFramedList::focusOutEvent(QFocusEvent* event) {
    QListWidget::focusOutEvent(event);
    viewport()->update();
}

}  // namespace qadrill
