// Program start: answer any argument without a window; otherwise the front
// end creates the main window, runs its load event (the start-up prompts
// appear before the window does), then shows it.

#include "app/CommandLine.h"
#include "window/FrontEnd.h"

int main(int argc, char* argv[]) {
    if (argc > 1) {
        qadrill::attachConsole();
        return qadrill::answerCommandLine(argc, argv);
    }
    return qadrill::runDrillWindow(argc, argv);
}
