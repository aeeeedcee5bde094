#include "window/qt/ScrolledFormQt.h"

#include <QVBoxLayout>

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

// The frame is only an estimate, so it counts only where the form does not
// fit anyway: a screen that holds the form gets the form's size exactly.
QSize clientSizeFor(const QSize& formSize, const QSize& screenSpace, const QSize& frame) {
    const auto side = [](int form, int space, int border) { return form <= space ? form : space - border; };
    return {side(formSize.width(), screenSpace.width(), frame.width()),
            side(formSize.height(), screenSpace.height(), frame.height())};
}

}  // namespace qadrill
