#pragma once
// A picture box: white with black ink under any theme, sunken, with a user
// drawing scale and an optional picture shown at its own size from the
// top-left corner; a dotted frame inside the border shows the focus.  Drawing goes to the
// screen only: it never becomes the picture and the box keeps none of it, so
// any repaint of the box (another window uncovered it, it was resized, hidden
// and shown, restored from minimised) shows the white background again, and
// drawing costs no memory however long the timer runs.

#include <QFrame>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QRegion>
#include <optional>

namespace qadrill {

class PictureBox final : public QFrame {
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent);

    // The drawing area spans this many user units across and down.
    void setScaleWidth(double units);
    void setScaleHeight(double units);
    [[nodiscard]] double scaleWidth() const;
    [[nodiscard]] double scaleHeight() const;

    // A null image takes the picture away.
    void setPicture(const QImage& picture);
    [[nodiscard]] const QImage& picture() const { return picture_; }

    // Outline of a circle, centre in user units, radius in horizontal units,
    // aspect 1: as tall on the screen as it is wide.  One pixel, no fill, in
    // black, the box's fixed ink.
    void drawCircle(QPointF centre, double radius);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Circle {
        QPointF centre;  // in pixels of the drawing area
        double radius = 0.0;
        QRect bounds;  // in widget pixels
    };

    [[nodiscard]] QRegion focusFrameStrip() const;
    [[nodiscard]] double pixelsPerUnitX() const;
    [[nodiscard]] double pixelsPerUnitY() const;

    QImage picture_;
    std::optional<Circle> drawing_;  // only while drawCircle puts it on the screen
    double scaleWidth_ = 0.0;        // 0: the drawing area's size in twips
    double scaleHeight_ = 0.0;
};

}  // namespace qadrill
