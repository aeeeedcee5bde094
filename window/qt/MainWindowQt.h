#pragma once
// The main window in Qt, cmd_pend_exp: the 29 controls and the timer, built
// from the control table, handing every press, tick and the closing to the
// shared DrillWindow, which owns the drill and the window's commands.
//
// Start: construct with a Platform, call load() (the prompts appear with no
// window on the screen), then show(); the focus starts in the question box.

#include <QWidget>
#include <memory>

#include "platform/Platform.h"
#include "window/DrillWindow.h"
#include "window/WindowSurface.h"

namespace qadrill {

class MainWindow final : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(Platform& platform, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The load event: Form_Load.  Runs before the window is first shown.
    void load() { drillWindow_->load(); }

    [[nodiscard]] Drill& drill() { return drillWindow_->drill(); }
    [[nodiscard]] const Drill& drill() const { return drillWindow_->drill(); }
    void tmr_pend_exp_Timer() { drillWindow_->tick(); }

protected:
    // The window has no closing handler: closing it ends the program.
    void closeEvent(QCloseEvent* event) override;

private:
    template <typename Control>
    [[nodiscard]] Control& control(const char* name) const;
    [[nodiscard]] QSize initialClientSize() const;
    void wireEvents();

    // The parent-owned form inside the scrolled area; the controls are its children.
    QWidget* form_ = nullptr;
    std::unique_ptr<WindowSurface::Controls> surfaceControls_;
    std::unique_ptr<WindowSurface> surface_;
    std::unique_ptr<DrillWindow> drillWindow_;
};

}  // namespace qadrill
