#pragma once
// A main window on the scripted platform in a fresh temporary folder, and the
// ways the window tests look at it.

#include <QTest>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempDir.h"
#include "window/qt/ControlsQt.h"
#include "window/qt/MainWindowQt.h"

namespace qadrill::testing {

// The program's interface font, set before the window's controls are built.
struct InterfaceFontSet {
    InterfaceFontSet() { setInterfaceFont(); }
};

struct WindowRun {
    InterfaceFontSet font;
    TempDir dir;
    ScriptedPlatform platform{dir.path()};
    MainWindow window{platform};

    template <typename Control = QWidget>
    [[nodiscard]] Control& control(const QString& name) {
        auto* found = window.findChild<Control*>(name);
        if (found == nullptr) qFatal("no control %s of the expected kind", qPrintable(name));
        return *found;
    }

    // Start-up as a student answers it: at home, Ann Lee Smith, als, assignment 1.
    void loadAssignmentOne() {
        platform.answers = {u"1", u"Ann Lee Smith", u"als", u"1"};
        window.load();
    }

    // The form the controls stand on, inside the window's scroll area.
    [[nodiscard]] QWidget& form() { return control("form"); }

    [[nodiscard]] bool show() {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }

    // Every file under the platform's root, with its bytes.
    [[nodiscard]] std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> found;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path())) {
            if (!entry.is_regular_file()) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            found[entry.path().string()] = std::string(std::istreambuf_iterator<char>(in), {});
        }
        return found;
    }
};

}  // namespace qadrill::testing
