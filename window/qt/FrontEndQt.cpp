#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "window/DesktopPlatform.h"
#include "window/FrontEnd.h"
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
    if (isSet("QT_QPA_PLATFORM")) {
        const std::string_view platform = std::getenv("QT_QPA_PLATFORM");
        if (platform.substr(0, 3) != "xcb" && platform.substr(0, 7) != "wayland") return true;
    }
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
}

}  // namespace

// A terminal's standard streams are the process's own here.
void attachConsole() {}

int runDrillWindow(int argc, char* argv[]) {
    if (!hasDisplay()) {
        std::fputs("qadrill: a graphical display is needed; start it from a desktop session.\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qadrill"));
    // Every window, the prompts and message boxes included, shows the drill's icon.
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/48/qadrill.png"));
    icon.addFile(QStringLiteral(":/icons/256/qadrill.png"));
    QApplication::setWindowIcon(icon);
    setInterfaceFont();

    DesktopPlatform platform;
    MainWindow window(platform);
    window.load();
    window.show();
    QApplication::exec();
    platform.endProgram();
}

}  // namespace qadrill
