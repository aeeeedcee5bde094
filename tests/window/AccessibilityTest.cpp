// What a screen reader hears, through the toolkit's accessibility interface
// in-process: roles, names, descriptions and the labelled-by relations.

#include <QAccessible>
#include <QtTest>

#include "tests/window/WindowRun.h"

using qadrill::testing::WindowRun;

namespace {

QAccessibleInterface& accessibleOf(QWidget& widget) {
    QAccessibleInterface* found = QAccessible::queryAccessibleInterface(&widget);
    if (found == nullptr) qFatal("no accessible interface for %s", qPrintable(widget.objectName()));
    return *found;
}

}  // namespace

class AccessibilityTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void presentation_data();
    void presentation();
    void labelsNameTheirControls_data();
    void labelsNameTheirControls();
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

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
