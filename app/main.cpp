// Program start: answer the command line without a window where it asks
// for that; otherwise the front end creates the main window, runs its load
// event (the start-up prompts appear before the window does), then shows it.

#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "window/FrontEnd.h"

int main(int argc, char* argv[]) {
    const std::vector<std::string> arguments = qadrill::programArguments(argc, argv);
    if (!arguments.empty()) qadrill::attachConsole();
    const qadrill::StartRequest request = qadrill::answerCommandLine(arguments);
    if (request.exitStatus) return *request.exitStatus;
    return qadrill::runDrillWindow(argc, argv, request.bankFile);
}
