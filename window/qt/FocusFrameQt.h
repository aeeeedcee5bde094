#pragma once
// A dotted focus frame for controls whose style draws none of its own: the
// picture boxes, and a list without items (the style marks only the current
// item, and List1 never has one).  Over every focusable control, a solid
// focus ring (window/FocusRing.h) that shows in any theme and at any scale.

#include <QColor>
#include <QListWidget>
#include <QRect>

class QPainter;

namespace qadrill {

// One-pixel dotted rectangle just inside `area`.
void drawFocusFrame(QPainter& painter, const QRect& area, const QColor& colour);

// Draws the ring over whichever watched control has the focus: after the
// control has painted itself, along its outer edge, where the style draws its
// border.  One ring for every kind of control, so no control class changes.
class FocusRing final : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    void watch(QWidget& control) { control.installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

class FocusFramedList final : public QListWidget {
    Q_OBJECT

public:
    using QListWidget::QListWidget;

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace qadrill
