#include "window/qt/MainWindow.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <array>
#include <functional>
#include <utility>

#include "bank/ErrorReport.h"
#include "platform/RuntimeError.h"
#include "window/qt/BoxView.h"
#include "window/qt/Controls.h"
#include "window/qt/PictureBox.h"
#include "window/qt/PictureImage.h"
#include "window/qt/ScrolledForm.h"
#include "window/qt/Twips.h"

namespace qadrill {

template <typename Control>
Control& MainWindow::control(const char* name) const {
    auto* found = form_->findChild<Control*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    Q_ASSERT_X(found != nullptr, "MainWindow::control", name);
    return *found;
}

MainWindow::MainWindow(Platform& platform, QWidget* parent) : QWidget(parent), platform_(platform) {
    setObjectName(QStringLiteral("cmd_pend_exp"));
    setWindowTitle(QStringLiteral("Form1"));
    form_ = &(new ScrolledForm(formSizePixels(), *this))->form();
    resize(initialClientSize());
    buildControls(*form_);

    auto& question = control<QPlainTextEdit>("txt_question");
    answer_ = &control<QPlainTextEdit>("txt_answer");
    picture1_ = &control<PictureBox>("Picture1");
    picture2_ = &control<PictureBox>("Picture2");
    timer_ = &control<QTimer>("tmr_pend_exp");
    view_ = std::make_unique<BoxView>(question, *answer_, *picture1_, *picture2_);
    drill_ = std::make_unique<Drill>(platform_, *view_);

    wireEvents();
    question.setFocus();  // taken when the window is first shown
}

MainWindow::~MainWindow() = default;

// The frame is not known before the window system shows the window; the
// style's title bar and border stand in for it.
QSize MainWindow::initialClientSize() const {
    const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
    const QSize frame(2 * border, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this) + 2 * border);
    return clientSizeFor(formSizePixels(), screen()->availableGeometry().size(), frame);
}

void MainWindow::load() { runDrill(&Drill::Form_Load); }

void MainWindow::wireEvents() {
    const std::array<std::pair<const char*, void (Drill::*)()>, 6> drillClicks{{
        {"cmdNextQuestion", &Drill::cmdNextQuestion_Click},
        {"cmd_next_picture", &Drill::cmd_next_picture_Click},
        {"cmd_display_note_file", &Drill::cmd_display_note_file_Click},
        {"cmd_displayCumulativeText", &Drill::cmd_displayCumulativeText_Click},
        {"cmd_enter_response", &Drill::cmd_enter_response_Click},
        {"cmd_save_as_notes", &Drill::cmd_save_as_notes_Click},
    }};
    for (const auto& [name, handler] : drillClicks) {
        connect(&control<QAbstractButton>(name), &QAbstractButton::clicked, this,
                [this, handler = handler] { runDrill(handler); });
    }
    const std::array<std::pair<const char*, void (MainWindow::*)()>, 4> ownClicks{{
        {"cmd_clear_answer_box", &MainWindow::cmd_clear_answer_box_Click},
        {"cmd_copy_picture", &MainWindow::cmd_copy_picture_Click},
        {"cmd_pend_exp", &MainWindow::cmd_pend_exp_Click},
        {"cmd_quit", &MainWindow::cmd_quit_Click},
    }};
    for (const auto& [name, handler] : ownClicks) {
        connect(&control<QAbstractButton>(name), &QAbstractButton::clicked, this,
                [this, handler = handler] { runReported([this, handler] { (this->*handler)(); }); });
    }
    connect(timer_, &QTimer::timeout, this, &MainWindow::tmr_pend_exp_Timer);
}

// An error that a handler does not trap itself must not unwind through the
// toolkit's event dispatch; it gets the drill's own report instead.
void MainWindow::runReported(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const RuntimeError& error) {
        reportError(platform_, error.number());
    }
}

void MainWindow::runDrill(void (Drill::*handler)()) {
    runReported([this, handler] { (drill_.get()->*handler)(); });
}

void MainWindow::cmd_clear_answer_box_Click() { view_->setAnswerBoxText({}); }

// Picture1 never has a picture of its own (drawing is not a picture), so the
// clipboard usually stays as it is and Picture2 shows whatever it offers.  A
// clipboard another program holds throws before Picture2 changes.
void MainWindow::cmd_copy_picture_Click() {
    if (!picture1_->picture().isNull()) platform_.setClipboardPicture(toPicture(picture1_->picture()));
    const std::optional<Picture> offered = platform_.clipboardPicture();
    picture2_->setPicture(offered ? toImage(*offered) : QImage());
}

// Enabling an enabled timer leaves its rhythm alone.
void MainWindow::cmd_pend_exp_Click() {
    if (!timer_->isActive()) timer_->start();
}

void MainWindow::tmr_pend_exp_Timer() {
    platform_.beep();
    const float radius = platform_.rnd() * 500.0F;
    picture1_->drawCircle(QPointF(500.0, 500.0), double{radius});
}

void MainWindow::cmd_quit_Click() { platform_.endProgram(); }

void MainWindow::closeEvent(QCloseEvent* /*event*/) { platform_.endProgram(); }

}  // namespace qadrill
