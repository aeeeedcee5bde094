// What a screen reader hears, through the toolkit's accessibility interface
// in-process: roles, names, descriptions, the labelled-by relations and the
// new problem.  ctest runs each row in a process of its own, on a display
// whose accessibility bus is on as when a reader listens
// (with_reader_bus.sh): the interfaces the toolkit keeps from one row cannot
// hide a fault in the next.

#include <QAbstractButton>
#include <QAccessible>
#include <QPlainTextEdit>
#include <QtTest>
#include <vector>

#include "tests/window/WindowRun.h"

using qadrill::testing::WindowRun;

namespace {

QAccessibleInterface& accessibleOf(QWidget& widget) {
    QAccessibleInterface* found = QAccessible::queryAccessibleInterface(&widget);
    if (found == nullptr) qFatal("no accessible interface for %s", qPrintable(widget.objectName()));
    return *found;
}

struct Insertion {
    QObject* object;
    QString text;
};
std::vector<Insertion> insertions;

QStringList notifications;

void recordInsertion(QAccessibleEvent* event) {
    if (event->type() == QAccessible::TextInserted)
        insertions.push_back({event->object(), static_cast<QAccessibleTextInsertEvent*>(event)->textInserted()});
    QAccessibleInterface* shown = event->accessibleInterface();
    if (event->type() == QAccessible::ObjectShow && shown != nullptr && shown->role() == QAccessible::Notification)
        notifications << shown->text(QAccessible::Name);
}

}  // namespace

class AccessibilityTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void presentation_data();
    void presentation();
    void labelsNameTheirControls_data();
    void labelsNameTheirControls();
    void newProblemIsAnnounced();
};

void AccessibilityTest::presentation_data() {
    QTest::addColumn<QString>("control");  // empty: the main window
    QTest::addColumn<QAccessible::Role>("role");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("described");  // a word the description holds
    QTest::newRow("main window, not a filler") << "" << QAccessible::Window << "Form1"
                                               << "Q&A Drill";
    QTest::newRow("Picture1, a drawing area") << "Picture1" << QAccessible::Canvas << "Picture1"
                                              << "circles";
    QTest::newRow("Picture2, an image") << "Picture2" << QAccessible::Graphic << "Picture2"
                                        << "picture";
    QTest::newRow("Make Paragraph of the question box")
        << "cmd_Make_Paragraph_question" << QAccessible::Button << "Make Paragraph"
        << "question box";
    QTest::newRow("Make Paragraph of the answer box") << "cmd_Make_paragraph" << QAccessible::Button << "Make Paragraph"
                                                      << "answer box";
    QTest::newRow("List1") << "List1" << QAccessible::List << "List1"
                           << "empty";
}

void AccessibilityTest::presentation() {
    QFETCH(QString, control);
    QFETCH(QAccessible::Role, role);
    QFETCH(QString, name);
    QFETCH(QString, described);
    WindowRun run;
    QVERIFY(run.show());
    QAccessibleInterface& accessible = accessibleOf(control.isEmpty() ? run.window : run.control(control));
    QCOMPARE(accessible.role(), role);
    QCOMPARE(accessible.text(QAccessible::Name), name);
    const QString description = accessible.text(QAccessible::Description);
    QVERIFY2(description.contains(described), qPrintable(description));
}

void AccessibilityTest::labelsNameTheirControls_data() {
    QTest::addColumn<QString>("label");
    QTest::newRow("txt_paragraph_goback") << "lbl_paragraph_goback";
    for (int i = 0; i < 4; ++i) {
        const QString index = QString::number(i);
        QTest::newRow(qPrintable("txt_parameter_" + index)) << "lbl_parameter_" + index;
    }
    QTest::newRow("cmd_next_picture") << "lbl_only_if_prompted";
}

void AccessibilityTest::labelsNameTheirControls() {
    QFETCH(QString, label);
    WindowRun run;
    QVERIFY(run.show());
    QAccessibleInterface& control = accessibleOf(run.control(QTest::currentDataTag()));
    QAccessibleInterface& expected = accessibleOf(run.control(label));
    QStringList labelledBy;
    for (const auto& [other, relation] : control.relations(QAccessible::Label))
        labelledBy << other->text(QAccessible::Name);
    QCOMPARE(labelledBy, QStringList{expected.text(QAccessible::Name)});
}

// The appended problem reaches the reader as inserted text of the question
// box, and as a notification shown, which a reader speaks wherever the focus
// is; the focus stays on the button the student pressed.
void AccessibilityTest::newProblemIsAnnounced() {
    WindowRun run;
    run.loadAssignmentOne();
    QVERIFY(run.show());
    auto& question = run.control<QPlainTextEdit>("txt_question");
    auto& next = run.control<QAbstractButton>("cmdNextQuestion");
    next.setFocus();
    const QString before = question.toPlainText();
    insertions.clear();
    notifications.clear();
    // The bridge switches on once it has reached the accessibility bus.
    QTRY_VERIFY2_WITH_TIMEOUT(QAccessible::isActive(), "no accessibility bridge: run on a display with a session bus",
                              10000);
    const auto previous = QAccessible::installUpdateHandler(&recordInsertion);
    QTest::keyClick(&next, Qt::Key_Return);
    QAccessible::installUpdateHandler(previous);
    const QString appended = question.toPlainText().mid(before.size());
    QVERIFY(!appended.isEmpty());
    QStringList announced;
    for (const Insertion& insertion : insertions)
        if (insertion.object == &question) announced << insertion.text;
    QCOMPARE(announced.join(QString()).replace(QChar::ParagraphSeparator, QLatin1Char('\n')), appended);
    QCOMPARE(notifications, QStringList{appended});
    QCOMPARE(run.window.focusWidget(), &next);
}

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
