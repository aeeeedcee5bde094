// Quitting and closing the window end the program at once.  The real desktop
// platform ends the process, so each case runs in a child process and the
// test reads how it ended.

#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QtTest>
#include <cstdio>

#include "window/DesktopPlatform.h"
#include "window/qt/MainWindowQt.h"

namespace {

constexpr int stillRunning = 3;

enum class Ending { QuitButton, CloseWindow };

// The exit status of a child that shows the window, optionally starts the
// timer, and then quits or closes; stillRunning if the program went on.
int exitStatusOf(Ending ending, bool timerRunning) {
    std::fflush(nullptr);  // or the child's exit would write the parent's buffers too
    const pid_t child = fork();
    if (child == 0) {
        qadrill::DesktopPlatform platform;
        qadrill::MainWindow window(platform);
        window.show();
        if (timerRunning) {
            window.findChild<QAbstractButton*>("cmd_pend_exp")->click();
            QTest::qWait(50);
        }
        if (ending == Ending::QuitButton) window.findChild<QAbstractButton*>("cmd_quit")->click();
        if (ending == Ending::CloseWindow) window.close();
        QTest::qWait(50);
        _exit(stillRunning);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

class EndProgramTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void endsAtOnce_data();
    void endsAtOnce();
};

void EndProgramTest::endsAtOnce_data() {
    QTest::addColumn<int>("ending");
    QTest::addColumn<bool>("timerRunning");
    QTest::newRow("quit program") << int(Ending::QuitButton) << false;
    QTest::newRow("quit program while the timer runs") << int(Ending::QuitButton) << true;
    QTest::newRow("window closed") << int(Ending::CloseWindow) << false;
    QTest::newRow("window closed while the timer runs") << int(Ending::CloseWindow) << true;
}

void EndProgramTest::endsAtOnce() {
    QFETCH(int, ending);
    QFETCH(bool, timerRunning);
    QCOMPARE(exitStatusOf(static_cast<Ending>(ending), timerRunning), 0);
}

QTEST_MAIN(EndProgramTest)
#include "EndProgramTest.moc"
