#pragma once
// The form at its fixed size inside a scroll area that fills the window.  On
// a work area smaller than the form and the window's frame (a high scale
// factor on a small screen, a panel) the window opens as large as the work
// area allows and the form scrolls inside it; the controls keep their
// positions on the form.  Moving the focus scrolls the focused control into
// view.

#include <QScrollArea>
#include <QSize>

namespace qadrill {

class ScrolledForm final : public QScrollArea {
    Q_OBJECT

public:
    // Fills `window`; the form has `formSize` and is empty until built.
    ScrolledForm(const QSize& formSize, QWidget& window);

    [[nodiscard]] QWidget& form() const { return *widget(); }
};

// The window's client size, each way: the form's where the work area holds
// it with the window's frame, else what the work area leaves beside the frame.
[[nodiscard]] QSize clientSizeFor(const QSize& formSize, const QSize& workArea, const QSize& frame, int scrollBar);

}  // namespace qadrill
