#include "window/qt/AccessibilityQt.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QWidget>

#include "window/AccessibleControls.h"
#include "window/ControlTable.h"
#include "window/qt/ControlsQt.h"

namespace qadrill {

namespace {

QString toQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QAccessible::Role pictureRole(const QObject& picture) {
    const auto row = accessibleRowOf(picture.objectName().toStdString(), -1);
    if (row && row->role == AccessibleRole::DrawingArea) return QAccessible::Canvas;
    return QAccessible::Graphic;
}

QAccessibleInterface* accessibleFor(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr) return nullptr;
    if (className == QLatin1String("qadrill::PictureBox")) return new QAccessibleWidget(widget, pictureRole(*object));
    if (className == QLatin1String("qadrill::Announcement"))
        return new QAccessibleWidget(widget, QAccessible::Notification);
    // A plain widget as the top-level window would otherwise present as a filler.
    if (className == QLatin1String("qadrill::MainWindow")) return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

QWidget* controlOn(QWidget& form, std::string_view name, int index) {
    const ControlRow row{name, index, ControlKind::Label, {}, {}, -1, ControlFont::Default, {}};
    return form.findChild<QWidget*>(controlObjectName(row));
}

}  // namespace

Announcement::Announcement(QWidget& window) : QWidget(&window) {
    setObjectName(QStringLiteral("announcement"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 1, 1);  // draws nothing
}

void announce(QWidget& window, const QString& text) {
    auto* announcement = window.findChild<Announcement*>(QString(), Qt::FindDirectChildrenOnly);
    if (announcement == nullptr) announcement = new Announcement(window);
    announcement->hide();
    // A notes log shown at once can be megabytes; the reader speaks the
    // start, and the student reads on in the box.
    announcement->setAccessibleName(text.left(static_cast<qsizetype>(announcedLength)));
    announcement->show();
}

void installAccessibleRoles() { QAccessible::installFactory(&accessibleFor); }

void describeControls(QWidget& form) {
    form.window()->setAccessibleDescription(toQString(formDescription));
    for (const AccessibleRow& row : accessibleTable()) {
        if (QWidget* control = controlOn(form, row.name, row.index))
            control->setAccessibleDescription(toQString(row.description));
    }
    for (const LabelPair& pair : labelPairs()) {
        auto* label = qobject_cast<QLabel*>(controlOn(form, pair.label, pair.index));
        QWidget* control = controlOn(form, pair.control, pair.index);
        if (label != nullptr && control != nullptr) label->setBuddy(control);
    }
}

}  // namespace qadrill
