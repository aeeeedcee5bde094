#include "window/qt/ScrolledFormQt.h"

#include <QVBoxLayout>
#include <algorithm>

namespace qadrill {

ScrolledForm::ScrolledForm(const QSize& formSize, QWidget& window) : QScrollArea(&window) {
    setObjectName(QStringLiteral("form_scroller"));
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);  // the tab walk visits the controls only
    setWidgetResizable(false);
    auto* form = new QWidget;
    form->setObjectName(QStringLiteral("form"));
    form->setFixedSize(formSize);
    setWidget(form);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(this);
}

// The window and its frame must fit the work area (the screen less its
// panels), or the bottom of the form runs under a panel where no scroll bar
// reaches it: a side the frame would push past the work area scrolls.  A side
// that holds the form exactly gets its size, plus room for the other side's
// scroll bar when that one scrolls.
QSize clientSizeFor(const QSize& formSize, const QSize& workArea, const QSize& frame, int scrollBar) {
    const bool scrollsDown = formSize.height() + frame.height() > workArea.height();
    const bool scrollsAcross = formSize.width() + frame.width() > workArea.width();
    const auto side = [](int form, int space, int border, int bar) { return std::min(form + bar, space - border); };
    return {side(formSize.width(), workArea.width(), frame.width(), scrollsDown ? scrollBar : 0),
            side(formSize.height(), workArea.height(), frame.height(), scrollsAcross ? scrollBar : 0)};
}

}  // namespace qadrill
