// The Qt main window under the conformance suite, on the offscreen platform.
// The resolution is the scale factor the process starts with, so each
// resolution is a run of its own.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <cstdlib>

#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempDir.h"
#include "tests/window/conformance/WindowProbe.h"
#include "window/qt/CaptionButtonQt.h"
#include "window/qt/ControlsQt.h"
#include "window/qt/MainWindowQt.h"
#include "window/qt/PictureBoxQt.h"

namespace qadrill::testing {

namespace {

int probeDpi() {
    const char* dpi = std::getenv("QADRILL_PROBE_DPI");
    return dpi != nullptr ? std::atoi(dpi) : baseDpi;
}

class QtProbe final : public WindowProbe {
public:
    QtProbe() {
        window_.show();
        QApplication::setActiveWindow(&window_);
        if (!QTest::qWaitForWindowActive(&window_)) throw std::runtime_error("the window did not become active");
    }

    bool exists(std::string_view name) override { return find(name) != nullptr; }

    ControlKind kind(std::string_view name) override {
        QWidget& control = at(name);
        if (qobject_cast<QPlainTextEdit*>(&control) != nullptr) return ControlKind::TextBox;
        if (qobject_cast<QLineEdit*>(&control) != nullptr) return ControlKind::LineBox;
        if (qobject_cast<QPushButton*>(&control) != nullptr) return ControlKind::Button;
        if (qobject_cast<QLabel*>(&control) != nullptr) return ControlKind::Label;
        if (qobject_cast<PictureBox*>(&control) != nullptr) return ControlKind::PictureBox;
        if (qobject_cast<QListWidget*>(&control) != nullptr) return ControlKind::ListBox;
        return ControlKind::Timer;
    }

    // The toolkit scales the logical layout; its device pixels are the edges scaled.
    PixelRect rect(std::string_view name) override {
        const QRect logical = at(name).geometry();
        const double ratio = window_.devicePixelRatioF();
        const auto edge = [ratio](int value) { return static_cast<int>(std::lround(value * ratio)); };
        const int left = edge(logical.left());
        const int top = edge(logical.top());
        return {left, top, edge(logical.left() + logical.width()) - left, edge(logical.top() + logical.height()) - top};
    }

    std::string text(std::string_view name) override {
        QWidget& control = at(name);
        if (auto* box = qobject_cast<QPlainTextEdit*>(&control)) return box->toPlainText().toStdString();
        if (auto* line = qobject_cast<QLineEdit*>(&control)) return line->text().toStdString();
        if (auto* button = qobject_cast<CaptionButton*>(&control)) return button->caption().toStdString();
        if (auto* label = qobject_cast<QLabel*>(&control)) return label->text().toStdString();
        return {};
    }

    ProbeFont font(std::string_view name) override {
        const QFont font = at(name).font();
        return {font.family().toStdString(), font.pointSizeF()};
    }

    std::string title() override { return window_.windowTitle().toStdString(); }

    Accessible accessible(std::string_view name) override {
        QAccessibleInterface* found = QAccessible::queryAccessibleInterface(&at(name));
        if (found == nullptr) return {};
        Accessible got{found->text(QAccessible::Name).toStdString(),
                       found->text(QAccessible::Description).toStdString(),
                       static_cast<long>(found->role()),
                       {}};
        for (const auto& [label, relation] : found->relations(QAccessible::Label)) {
            if (label->object() != nullptr) got.labelledBy = label->object()->objectName().toStdString();
        }
        return got;
    }

    bool takesFocus(std::string_view name) override { return at(name).focusPolicy() != Qt::NoFocus; }

    std::string nextTabStop(std::string_view name, bool backwards) override {
        return focusAfterKey(name, backwards ? Key::ShiftTab : Key::Tab);
    }

    std::string focusAfterKey(std::string_view name, Key key) override {
        at(name).setFocus(Qt::OtherFocusReason);
        if (key == Key::HeldEnter) {
            QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
            QApplication::sendEvent(QApplication::focusWidget(), &repeat);
        } else {
            const Qt::Key qtKey = key == Key::Enter    ? Qt::Key_Return
                                  : key == Key::Escape ? Qt::Key_Escape
                                  : key == Key::Tab    ? Qt::Key_Tab
                                                       : Qt::Key_Backtab;
            QTest::keyClick(QApplication::focusWidget(), qtKey,
                            key == Key::ShiftTab ? Qt::ShiftModifier : Qt::NoModifier);
        }
        if (!window_.isVisible()) throw std::logic_error("the window closed");
        const QWidget* focus = QApplication::focusWidget();
        return focus != nullptr ? focus->objectName().toStdString() : "(none)";
    }

    // Rendered as the screen would show it now, in device pixels.
    ProbeImage grab(std::string_view name) override {
        const QImage shown = at(name).grab().toImage().convertToFormat(QImage::Format_RGB32);
        ProbeImage image{shown.width(), shown.height(), {}};
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) image.rgb.push_back(shown.pixel(x, y) & 0xFFFFFFU);
        }
        return image;
    }

    void load() override {
        platform_.answers = {u"1", u"Ann Lee Smith", u"als", u"1"};
        window_.load();
    }

    void type(std::string_view name, std::string_view text) override {
        QTest::keyClicks(&at(name), QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }

    void press(std::string_view name) override { qobject_cast<QAbstractButton*>(&at(name))->click(); }

    void click(std::string_view name) override {
        QWidget& control = at(name);
        auto* area = qobject_cast<QAbstractScrollArea*>(&control);
        QWidget& target = area != nullptr ? *area->viewport() : control;
        QTest::mouseClick(&target, Qt::LeftButton, {}, target.rect().center());
    }

    void setText(std::string_view name, std::string_view text) override {
        const QString value = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        QWidget& control = at(name);
        if (auto* button = qobject_cast<CaptionButton*>(&control)) button->setCaption(value);
        if (auto* label = qobject_cast<QLabel*>(&control)) label->setText(value);
        if (auto* box = qobject_cast<QPlainTextEdit*>(&control))
            box->setPlainText(QString(value).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    }

    void setPromptText(std::string_view text) override {
        window_.drill().state().promptText =
            QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toStdU16String();
    }

private:
    QWidget* find(std::string_view name) {
        // The controls stand on the form inside the window's scrolled area.
        return window_.findChild<QWidget*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
    QWidget& at(std::string_view name) {
        QWidget* control = find(name);
        if (control == nullptr) throw std::logic_error("no control " + std::string(name));
        return *control;
    }

    TempDir dir_;
    ScriptedPlatform platform_{dir_.path()};
    MainWindow window_{platform_};
};

}  // namespace

std::unique_ptr<WindowProbe> makeProbe(int /*dpi*/) { return std::make_unique<QtProbe>(); }

std::vector<int> probeResolutions() { return {probeDpi()}; }

}  // namespace qadrill::testing

int main(int argc, char* argv[]) {
    const QByteArray factor = QByteArray::number(qadrill::testing::probeDpi() / double{qadrill::baseDpi});
    qputenv("QT_SCALE_FACTOR", factor);
    QApplication app(argc, argv);
    qadrill::setInterfaceFont();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
