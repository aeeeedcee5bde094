#include <QApplication>
#include <QIcon>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "drill/StartBank.h"
#include "window/DesktopPlatform.h"
#include "window/FrontEnd.h"
#include "window/qt/AccessibilityQt.h"
#include "window/qt/ControlsQt.h"
#include "window/qt/MainWindowQt.h"

namespace qadrill {

namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Without a display the toolkit aborts with a trace; say it plainly instead.
// Only X11 and Wayland need one named in the environment.
bool hasDisplay() {
    if (const char* chosen = std::getenv("QT_QPA_PLATFORM"); chosen != nullptr && *chosen != '\0') {
        const std::string_view platform = chosen;
        if (platform.substr(0, 3) != "xcb" && platform.substr(0, 7) != "wayland") return true;
    }
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
}

}  // namespace

std::vector<std::string> programArguments(int argc, char** argv) { return {argv + std::min(argc, 1), argv + argc}; }

// A terminal's standard streams are the process's own here.
void attachConsole() {}

int runDrillWindow(int argc, char** argv, const std::optional<std::filesystem::path>& bankFile) {
    if (!hasDisplay()) {
        std::fputs("qadrill: a graphical display is needed; start it from a desktop session.\n", stderr);
        return 2;
    }
    // The toolkit sees only the program's name: a bank file's name is never
    // taken for one of its own options.
    int toolkitArgc = std::min(argc, 1);
    QApplication app(toolkitArgc, argv);
    installAccessibleRoles();  // before any window or control exists
    QApplication::setApplicationName(QStringLiteral("qadrill"));
    // Every window, the prompts and message boxes included, shows the drill's icon.
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/48/qadrill.png"));
    icon.addFile(QStringLiteral(":/icons/256/qadrill.png"));
    QApplication::setWindowIcon(icon);
    setInterfaceFont();

    DesktopPlatform platform;
    std::optional<BankEntries> bank;
    if (bankFile) {
        bank = openStartBank(platform, *bankFile);
        if (!bank) return 1;
    }
    MainWindow window(platform);
    if (bank) window.drill().useBankFile(std::move(*bank));
    window.load();
    window.show();
    QApplication::exec();
    platform.endProgram();
}

}  // namespace qadrill
