#include "window/qt/KeyboardQt.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>

namespace qadrill {

namespace {

bool isEnter(const QEvent& event) {
    const auto& key = static_cast<const QKeyEvent&>(event);
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

}  // namespace

HeldEnterFilter::HeldEnterFilter(QObject* parent) : QObject(parent) {
    QCoreApplication::instance()->installEventFilter(this);
}

// Events without a time (synthesised ones carry 0) are never taken for a
// repeat by their time.
bool HeldEnterFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    if (!isEnter(*event)) return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (event->type() == QEvent::KeyRelease) {
        if (key.timestamp() != 0) lastRelease_ = key.timestamp();
        return false;
    }
    const bool followsRelease = key.timestamp() != 0 && lastRelease_ == key.timestamp();
    if (!isHeldEnter({key.isAutoRepeat(), followsRelease})) return false;
    return qobject_cast<QPlainTextEdit*>(watched) == nullptr;  // the big boxes take every new line
}

AnswerEntryFilter::AnswerEntryFilter(QPlainTextEdit& box, std::function<AnswerEntry()> entry)
    : QObject(&box), box_(box), viewport_(box.viewport()), entry_(std::move(entry)) {
    box.installEventFilter(this);
    box.viewport()->installEventFilter(this);
}

// The toolkit gives the focus before it hands the click that brought it to
// the box; that click must not put the caret into the selected instruction.
bool AnswerEntryFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &box_ && event->type() == QEvent::FocusIn) {
        const bool select = entry_() == AnswerEntry::SelectWhole;
        if (select) box_.selectAll();
        clickSelected_ = select && static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
        return false;
    }
    if (watched == viewport_ && event->type() == QEvent::MouseButtonPress) {
        const bool swallow = clickSelected_ && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        clickSelected_ = false;
        return swallow;
    }
    return false;
}

}  // namespace qadrill
