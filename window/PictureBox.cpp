#include "window/PictureBox.h"

#include <QPainter>
#include <QResizeEvent>

#include "window/Twips.h"

namespace qadrill {

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFocusPolicy(Qt::StrongFocus);
    // paintEvent covers every pixel; nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setScaleWidth(double units) { scaleWidth_ = units; }
void PictureBox::setScaleHeight(double units) { scaleHeight_ = units; }

double PictureBox::scaleWidth() const {
    return scaleWidth_ != 0.0 ? scaleWidth_ : contentsRect().width() * double{twipsPerPixel};
}

double PictureBox::scaleHeight() const {
    return scaleHeight_ != 0.0 ? scaleHeight_ : contentsRect().height() * double{twipsPerPixel};
}

double PictureBox::pixelsPerUnitX() const { return contentsRect().width() / scaleWidth(); }
double PictureBox::pixelsPerUnitY() const { return contentsRect().height() / scaleHeight(); }

void PictureBox::setPicture(const QImage& picture) {
    picture_ = picture;
    forgetDrawing();
}

void PictureBox::drawCircle(QPointF centre, double radius) {
    if (screenLayer_.isNull()) return;  // never shown: nothing on the screen to draw on
    const QPointF at(centre.x() * pixelsPerUnitX(), centre.y() * pixelsPerUnitY());
    const double pixels = radius * pixelsPerUnitX();
    {
        QPainter painter(&screenLayer_);
        painter.setPen(QPen(palette().color(QPalette::ButtonText), 0));  // one device pixel
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(at, pixels, pixels);
    }
    const QRectF bounds(at.x() - pixels - 1, at.y() - pixels - 1, 2 * pixels + 3, 2 * pixels + 3);
    update(bounds.toAlignedRect().translated(contentsRect().topLeft()) & contentsRect());
}

void PictureBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.fillRect(area, Qt::white);
    painter.setClipRect(area);
    if (!picture_.isNull()) painter.drawImage(area.topLeft(), picture_);
    if (!screenLayer_.isNull()) painter.drawImage(area.topLeft(), screenLayer_);
    painter.setClipping(false);
    drawFrame(&painter);
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    forgetDrawing();
}

void PictureBox::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    forgetDrawing();
}

void PictureBox::hideEvent(QHideEvent* event) {
    QFrame::hideEvent(event);
    forgetDrawing();
}

// A fresh, transparent layer at the screen's own resolution.  The repaint
// matters on restore from minimised: the backing store still holds the old
// drawing.
void PictureBox::forgetDrawing() {
    update();
    const QSize size = contentsRect().size();
    if (size.isEmpty()) {
        screenLayer_ = QImage();
        return;
    }
    const qreal ratio = devicePixelRatioF();
    if (screenLayer_.size() != size * ratio || screenLayer_.devicePixelRatio() != ratio) {
        screenLayer_ = QImage(size * ratio, QImage::Format_ARGB32_Premultiplied);
        screenLayer_.setDevicePixelRatio(ratio);
    }
    screenLayer_.fill(Qt::transparent);
}

}  // namespace qadrill
