#pragma once
// The form at its fixed size inside a scroll area that fills the window.  On
// a screen smaller than the form (a high scale factor on a small screen) the
// window opens as large as the screen allows and the form scrolls inside it;
// the controls keep their positions on the form.  Moving the focus scrolls
// the focused control into view.

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

// The window's client size, each way: the form's where the screen holds it,
// else what the screen leaves beside the window's frame.
[[nodiscard]] QSize clientSizeFor(const QSize& formSize, const QSize& screenSpace, const QSize& frame);

}  // namespace qadrill
