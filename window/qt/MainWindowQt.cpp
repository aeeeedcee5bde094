#include "window/qt/MainWindowQt.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include "window/qt/ControlsQt.h"
#include "window/qt/PictureBoxQt.h"
#include "window/qt/ScrolledFormQt.h"
#include "window/qt/SurfaceControlsQt.h"
#include "window/qt/TwipsQt.h"

namespace qadrill {

template <typename Control>
Control& MainWindow::control(const char* name) const {
    auto* found = form_->findChild<Control*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    Q_ASSERT_X(found != nullptr, "MainWindow::control", name);
    return *found;
}

MainWindow::MainWindow(Platform& platform, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("cmd_pend_exp"));
    setWindowTitle(QStringLiteral("Form1"));
    form_ = &(new ScrolledForm(formSizePixels(), *this))->form();
    resize(initialClientSize());
    buildControls(*form_);

    auto& question = control<QPlainTextEdit>("txt_question");
    surfaceControls_ = std::make_unique<WindowSurface::Controls>(
        WindowSurface::Controls{question, control<QPlainTextEdit>("txt_answer"), control<PictureBox>("Picture1"),
                                control<PictureBox>("Picture2"), control<QTimer>("tmr_pend_exp")});
    surface_ = std::make_unique<WindowSurface>(*surfaceControls_);
    drillWindow_ = std::make_unique<DrillWindow>(platform, *surface_);

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

void MainWindow::wireEvents() {
    for (QAbstractButton* button : form_->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
        const std::string name = button->objectName().toStdString();
        if (!DrillWindow::isWired(name)) continue;
        connect(button, &QAbstractButton::clicked, this, [this, name] { drillWindow_->press(name); });
    }
    connect(&control<QTimer>("tmr_pend_exp"), &QTimer::timeout, this, [this] { drillWindow_->tick(); });
}

void MainWindow::closeEvent(QCloseEvent* /*event*/) { drillWindow_->close(); }

}  // namespace qadrill
