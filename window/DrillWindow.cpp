#include "window/DrillWindow.h"

#include <algorithm>
#include <array>
#include <variant>

#include "drill/report/ErrorReport.h"
#include "platform/RuntimeError.h"

namespace qadrill {

namespace {

using DrillHandler = void (Drill::*)();
using WindowHandler = void (DrillWindow::*)();

struct Wire {
    std::string_view control;
    std::variant<DrillHandler, WindowHandler> handler;
};

// The click of each wired button; every other control has no handler.
constexpr std::array<Wire, 10> wiring{{
    {"cmdNextQuestion", &Drill::cmdNextQuestion_Click},
    {"cmd_next_picture", &Drill::cmd_next_picture_Click},
    {"cmd_display_note_file", &Drill::cmd_display_note_file_Click},
    {"cmd_displayCumulativeText", &Drill::cmd_displayCumulativeText_Click},
    {"cmd_enter_response", &Drill::cmd_enter_response_Click},
    {"cmd_save_as_notes", &Drill::cmd_save_as_notes_Click},
    {"cmd_clear_answer_box", &DrillWindow::cmd_clear_answer_box_Click},
    {"cmd_copy_picture", &DrillWindow::cmd_copy_picture_Click},
    {"cmd_pend_exp", &DrillWindow::cmd_pend_exp_Click},
    {"cmd_quit", &DrillWindow::cmd_quit_Click},
}};

const Wire* wireOf(std::string_view control) {
    const auto found = std::ranges::find(wiring, control, &Wire::control);
    return found == wiring.end() ? nullptr : &*found;
}

}  // namespace

DrillWindow::DrillWindow(Platform& platform, WindowSurface& surface)
    : platform_(platform), surface_(surface), drill_(platform, surface) {}

void DrillWindow::load() {
    runReported([this] { drill_.Form_Load(); });
}

bool DrillWindow::isWired(std::string_view control) { return wireOf(control) != nullptr; }

void DrillWindow::press(std::string_view control) {
    const Wire* wire = wireOf(control);
    if (wire == nullptr) return;
    runReported([this, wire] {
        if (const auto* drillHandler = std::get_if<DrillHandler>(&wire->handler)) {
            (drill_.*(*drillHandler))();
        } else {
            (this->*std::get<WindowHandler>(wire->handler))();
        }
    });
}

AnswerEntry DrillWindow::answerBoxEntered() const {
    return answerEntry(surface_.answerBoxText(), drill_.state().promptText);
}

void DrillWindow::tick() { tmr_pend_exp_Timer(); }

void DrillWindow::close() { platform_.endProgram(); }

// An error that a handler does not trap itself must not unwind through the
// toolkit's event dispatch; it gets the drill's own report instead.
template <typename Handler>
void DrillWindow::runReported(Handler handler) {
    try {
        handler();
    } catch (const RuntimeError& error) {
        reportError(platform_, error);
    }
}

void DrillWindow::cmd_clear_answer_box_Click() { surface_.setAnswerBoxText({}); }

// Picture1 never has a picture of its own (drawing is not a picture), so the
// clipboard usually stays as it is and Picture2 shows whatever it offers.  A
// clipboard another program holds throws before Picture2 changes.
void DrillWindow::cmd_copy_picture_Click() {
    const Picture own = surface_.picture(PictureBoxId::Picture1);
    if (!own.isNull()) platform_.setClipboardPicture(own);
    const std::optional<Picture> offered = platform_.clipboardPicture();
    surface_.setPicture(PictureBoxId::Picture2, offered ? *offered : Picture{});
}

void DrillWindow::cmd_pend_exp_Click() {
    if (!surface_.timerRunning()) surface_.startTimer();
}

void DrillWindow::tmr_pend_exp_Timer() {
    platform_.beep();
    const float radius = platform_.rnd() * 500.0F;
    surface_.drawCircle(PictureBoxId::Picture1, 500.0, 500.0, static_cast<double>(radius));
}

void DrillWindow::cmd_quit_Click() { platform_.endProgram(); }

}  // namespace qadrill
