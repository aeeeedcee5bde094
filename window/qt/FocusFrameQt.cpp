#include "window/qt/FocusFrameQt.h"

#include <QAbstractButton>
#include <QPaintEvent>
#include <QPainter>

#include "window/FocusRing.h"
#include "window/qt/PictureBoxQt.h"

namespace qadrill {

namespace {

QRegion ringBand(const QWidget& control) {
    const QRect outer = control.rect();
    const int width = focusRingPixels;
    return QRegion(outer) - QRegion(outer.adjusted(width, width, -width, -width));
}

QColor backgroundOf(const QWidget& control) {
    if (qobject_cast<const PictureBox*>(&control) != nullptr) return control.palette().color(QPalette::Window);
    if (qobject_cast<const QAbstractButton*>(&control) != nullptr) return control.palette().color(QPalette::Button);
    return control.palette().color(QPalette::Base);
}

void paintRing(QWidget& control) {
    const QColor background = backgroundOf(control);
    const Rgb ink = focusRingInk({background.red(), background.green(), background.blue()});
    QPainter painter(&control);
    painter.setClipRegion(ringBand(control));
    painter.fillRect(control.rect(), QColor(ink.red, ink.green, ink.blue));
}

}  // namespace

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
    auto& control = static_cast<QWidget&>(*watched);
    switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            control.update(ringBand(control));
            break;
        case QEvent::Paint:
            if (!control.hasFocus()) break;
            watched->event(event);  // the control itself first, the ring on top
            paintRing(control);
            return true;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

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
