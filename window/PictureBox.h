#pragma once
// A picture box: white, sunken, with a user drawing scale and an optional
// picture shown at its own size from the top-left corner.  Drawing goes to the
// screen only: it never becomes the picture, and it is gone once the box is
// shown afresh (resized, hidden and shown, restored from minimised).  The
// screen's share is one image the size of the box, so drawing costs no memory
// however long the timer runs.

#include <QFrame>
#include <QImage>
#include <QPointF>

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
    // the button-text colour.
    void drawCircle(QPointF centre, double radius);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    [[nodiscard]] double pixelsPerUnitX() const;
    [[nodiscard]] double pixelsPerUnitY() const;
    void forgetDrawing();

    QImage picture_;
    QImage screenLayer_;       // what has been drawn since the box was last shown afresh
    double scaleWidth_ = 0.0;  // 0: the drawing area's size in twips
    double scaleHeight_ = 0.0;
};

}  // namespace qadrill
