#pragma once
// A dotted focus frame for controls whose style draws none of its own: the
// picture boxes, and a list without items (the style marks only the current
// item, and List1 never has one).

#include <QColor>
#include <QListWidget>
#include <QRect>

class QPainter;

namespace qadrill {

// One-pixel dotted rectangle just inside `area`.
void drawFocusFrame(QPainter& painter, const QRect& area, const QColor& colour);

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
