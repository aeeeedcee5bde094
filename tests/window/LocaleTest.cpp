// The drill's numbers in the same process as the window toolkit, whose
// application object takes the C locale from the environment: started under
// a comma-decimal locale, they still read and write a point.

#include <QAbstractButton>
#include <QApplication>
#include <QPlainTextEdit>
#include <QtTest>
#include <clocale>
#include <cstring>

#include "tests/window/WindowRun.h"

using qadrill::testing::WindowRun;

class LocaleTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void numbersReadAndWriteAPoint();
};

void LocaleTest::initTestCase() {
    if (std::strcmp(std::localeconv()->decimal_point, ",") != 0)
        QSKIP("de_DE.UTF-8 is not installed (scripts/setup --test generates it)");
}

void LocaleTest::numbersReadAndWriteAPoint() {
    WindowRun run;
    run.platform.answers = {u"2.5", u"Ann Lee Smith", u"als", u"1"};
    run.window.load();
    QVERIFY2(run.window.drill().state().dataDir == u"c:\\plovenda", "2.5 is not 2: the home directory");
    run.window.drill().state().questionNumber = u"0.5";
    run.control<QPlainTextEdit>("txt_answer").setPlainText("OK");
    run.control<QAbstractButton>("cmd_enter_response").click();
    const std::string master = run.platform.fileBytes(run.window.drill().state().masterFile).value_or("");
    QVERIFY2(master.find("`questionNumber 10000.5 \r\n") != std::string::npos, master.c_str());
}

// The locale must be in the environment before the application object reads it.
int main(int argc, char* argv[]) {
    qputenv("LC_ALL", "de_DE.UTF-8");
    QApplication app(argc, argv);
    LocaleTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LocaleTest.moc"
