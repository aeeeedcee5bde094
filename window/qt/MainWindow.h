#pragma once
// The main window, cmd_pend_exp: the 29 controls and the timer, built from the
// control table (ControlTable), and the Drill that owns the drill state and
// the question-and-answer procedures.
//
// Who owns what: window/ owns the widgets, the event wiring, the picture,
// clipboard and timer commands and the desktop platform; drill/ owns the
// state and the load and question/record handlers.  A click travels: button
// -> clicked signal -> MainWindow (the four commands of its own) or Drill
// (the six question/record handlers) -> the boxes through BoxView, the system
// through Platform.
//
// Start: construct with a Platform, call load() (the prompts appear with no
// window on the screen), then show(); the focus starts in the question box.

#include <QWidget>
#include <functional>
#include <memory>

#include "drill/Drill.h"
#include "platform/Platform.h"

class QPlainTextEdit;
class QTimer;

namespace qadrill {

class BoxView;
class PictureBox;

class MainWindow final : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(Platform& platform, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The load event: Form_Load.  Runs before the window is first shown.
    void load();

    [[nodiscard]] Drill& drill() { return *drill_; }
    [[nodiscard]] const Drill& drill() const { return *drill_; }

    // The commands of this window's own.
    void cmd_clear_answer_box_Click();
    void cmd_copy_picture_Click();  // throws RuntimeError; a click reports it
    void cmd_pend_exp_Click();
    void tmr_pend_exp_Timer();
    void cmd_quit_Click();  // ends the program; never returns

protected:
    // The window has no closing handler: closing it ends the program.
    void closeEvent(QCloseEvent* event) override;

private:
    template <typename Control>
    [[nodiscard]] Control& control(const char* name) const;
    [[nodiscard]] QSize initialClientSize() const;
    void wireEvents();
    void runReported(const std::function<void()>& handler);
    void runDrill(void (Drill::*handler)());

    Platform& platform_;
    // Parent-owned form and controls, bound once they are built.
    QWidget* form_ = nullptr;
    QPlainTextEdit* answer_ = nullptr;
    PictureBox* picture1_ = nullptr;
    PictureBox* picture2_ = nullptr;
    QTimer* timer_ = nullptr;
    std::unique_ptr<BoxView> view_;
    std::unique_ptr<Drill> drill_;
};

}  // namespace qadrill
