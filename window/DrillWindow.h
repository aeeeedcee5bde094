#pragma once
// The main window without a toolkit: the drill, the window's own commands,
// which control's press runs which command, and the error trap around each.
// A front end builds the controls from the control table, implements
// WindowSurface, and forwards presses, ticks and closing here.

#include <memory>
#include <string_view>

#include "drill/Drill.h"
#include "platform/Platform.h"
#include "window/Keyboard.h"
#include "window/WindowSurface.h"

namespace qadrill {

class DrillWindow {
public:
    DrillWindow(Platform& platform, WindowSurface& surface);

    // The load event: the start-up prompts, before the window is shown.
    void load();

    // A press of the named control (the control table's name); presses of
    // controls without a handler do nothing.  Never throws: an error gets the
    // drill's own report.
    void press(std::string_view control);
    // Whether the named control has a handler.
    [[nodiscard]] static bool isWired(std::string_view control);

    // The focus has entered the answer box: what happens to its text.
    [[nodiscard]] AnswerEntry answerBoxEntered() const;

    void tick();
    // Closing the window ends the program: it has no closing handler.
    void close();

    [[nodiscard]] Drill& drill() { return drill_; }
    [[nodiscard]] const Drill& drill() const { return drill_; }

    // The commands of the window's own.
    void cmd_clear_answer_box_Click();
    void cmd_copy_picture_Click();  // throws RuntimeError; a press reports it
    void cmd_pend_exp_Click();
    void tmr_pend_exp_Timer();
    void cmd_quit_Click();  // ends the program; never returns

private:
    template <typename Handler>
    void runReported(Handler handler);

    Platform& platform_;
    WindowSurface& surface_;
    Drill drill_;
};

}  // namespace qadrill
