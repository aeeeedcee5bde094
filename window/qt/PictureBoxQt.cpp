#include "window/qt/PictureBoxQt.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWindow>

#include "window/PictureScale.h"
#include "window/qt/FocusFrameQt.h"

namespace qadrill {

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFocusPolicy(Qt::StrongFocus);
    // White paper and black ink under any theme: a dark theme's light
    // button-text colour would draw the circles white on white.
    QPalette paper = palette();
    paper.setColor(QPalette::Window, Qt::white);
    paper.setColor(QPalette::Base, Qt::white);
    paper.setColor(QPalette::ButtonText, Qt::black);
    paper.setColor(QPalette::WindowText, Qt::black);
    setPalette(paper);
    // paintEvent covers every pixel; nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setScaleWidth(double units) { scaleWidth_ = units; }
void PictureBox::setScaleHeight(double units) { scaleHeight_ = units; }

// In the toolkit's device-independent pixels, which are 96 dpi ones.
double PictureBox::scaleWidth() const { return scaleUnits(scaleWidth_, contentsRect().width()); }
double PictureBox::scaleHeight() const { return scaleUnits(scaleHeight_, contentsRect().height()); }
double PictureBox::pixelsPerUnitX() const { return pixelsPerUnit(scaleWidth_, contentsRect().width()); }
double PictureBox::pixelsPerUnitY() const { return pixelsPerUnit(scaleHeight_, contentsRect().height()); }

void PictureBox::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

// Painted at once over what the screen shows, and forgotten.
void PictureBox::drawCircle(QPointF centre, double radius) {
    if (!isVisible()) return;  // nothing on the screen to draw on
    const QPointF at(centre.x() * pixelsPerUnitX(), centre.y() * pixelsPerUnitY());
    const double pixels = radius * pixelsPerUnitX();
    const QRectF bounds(at.x() - pixels - 1, at.y() - pixels - 1, 2 * pixels + 3, 2 * pixels + 3);
    drawing_ = Circle{at, pixels, bounds.toAlignedRect().translated(contentsRect().topLeft()) & contentsRect()};
    repaint(drawing_->bounds);
    drawing_.reset();
}

// The background and the picture everywhere, except under a circle being
// drawn: there the screen keeps what it shows and the circle goes on top.
void PictureBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = contentsRect();
    const QRegion afresh = event->region() - (drawing_ ? QRegion(drawing_->bounds) : QRegion());
    painter.setClipRegion(afresh & area);
    painter.fillRect(area, palette().color(QPalette::Window));
    if (!picture_.isNull()) painter.drawImage(area.topLeft(), picture_);
    if (drawing_) {
        painter.setClipRect(area);
        painter.translate(area.topLeft());
        painter.setPen(QPen(palette().color(QPalette::ButtonText), 0));  // one device pixel
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(drawing_->centre, drawing_->radius, drawing_->radius);
        painter.resetTransform();
    }
    if (hasFocus()) {
        painter.setClipRegion(afresh & area);
        drawFocusFrame(painter, area, palette().color(QPalette::ButtonText));
    }
    painter.setClipRegion(afresh);
    drawFrame(&painter);
}

// Only the frame's strip is painted afresh, so the circles inside stay; the
// toolkit's own handling would repaint the whole box.
void PictureBox::focusInEvent(QFocusEvent* /*event*/) { update(focusFrameStrip()); }

void PictureBox::focusOutEvent(QFocusEvent* /*event*/) { update(focusFrameStrip()); }

QRegion PictureBox::focusFrameStrip() const {
    const QRect area = contentsRect();
    return QRegion(area) - QRegion(area.adjusted(2, 2, -2, -2));
}

// The window system shows the window's stored image again after another
// window uncovered it; the box must show its background there instead.
void PictureBox::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    update();  // restored from minimised, the stored image still holds the drawing
    if (QWindow* handle = window()->windowHandle()) handle->installEventFilter(this);
}

bool PictureBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && watched == window()->windowHandle()) update();
    return QFrame::eventFilter(watched, event);
}

}  // namespace qadrill
