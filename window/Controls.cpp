#include "window/Controls.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTimer>
#include <algorithm>
#include <utility>
#include <vector>

#include "window/CaptionButton.h"
#include "window/PictureBox.h"
#include "window/Twips.h"

namespace qadrill {

namespace {

QString toQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QFont boxFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9.75);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

QWidget* makeTextBox(const QString& text, QWidget& form) {
    auto* box = new QPlainTextEdit(text, &form);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setTabChangesFocus(true);  // the tab key walks the tab order
    return box;
}

QWidget* makeLabel(const QString& text, QWidget& form) {
    auto* label = new QLabel(text, &form);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QWidget* makeWidget(const ControlSpec& spec, QWidget& form) {
    const QString text = toQString(spec.text);
    switch (spec.kind) {
        case ControlKind::TextBox:
            return makeTextBox(text, form);
        case ControlKind::LineBox:
            return new QLineEdit(text, &form);
        case ControlKind::Button:
            return new CaptionButton(text, &form);
        case ControlKind::Label:
            return makeLabel(text, form);
        case ControlKind::PictureBox:
            return new PictureBox(&form);
        case ControlKind::ListBox:
            return new QListWidget(&form);
        case ControlKind::Timer:
            break;
    }
    return nullptr;
}

void makeTimer(const ControlSpec& spec, QWidget& form) {
    auto* timer = new QTimer(&form);
    timer->setObjectName(controlObjectName(spec));
    timer->setInterval(timerIntervalMs);
    timer->setTimerType(Qt::PreciseTimer);
}

QWidget* makeControl(const ControlSpec& spec, QWidget& form) {
    QWidget* widget = makeWidget(spec, form);
    widget->setObjectName(controlObjectName(spec));
    if (spec.index >= 0) widget->setProperty("index", spec.index);
    widget->setGeometry(toPixels(spec.rect));
    if (spec.font == ControlFont::Arial975) widget->setFont(boxFont());
    widget->setAccessibleName(toQString(spec.accessibleName.empty() ? spec.text : spec.accessibleName));
    // Labels never take the focus; everything else takes it by tab and click.
    widget->setFocusPolicy(spec.kind == ControlKind::Label ? Qt::NoFocus : Qt::StrongFocus);
    return widget;
}

}  // namespace

QString controlObjectName(const ControlSpec& spec) {
    QString name = toQString(spec.name);
    if (spec.index >= 0) name += QLatin1Char('_') + QString::number(spec.index);
    return name;
}

void buildControls(QWidget& form) {
    std::vector<std::pair<int, QWidget*>> tabOrder;
    std::vector<QWidget*> labels;
    for (const ControlSpec& spec : controlTable()) {
        if (spec.kind == ControlKind::Timer) {
            makeTimer(spec, form);
            continue;
        }
        QWidget* widget = makeControl(spec, form);
        tabOrder.emplace_back(spec.tabIndex, widget);
        if (spec.kind == ControlKind::Label) labels.push_back(widget);
    }
    std::ranges::sort(tabOrder, {}, &std::pair<int, QWidget*>::first);
    for (std::size_t i = 1; i < tabOrder.size(); ++i) QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    for (QWidget* label : labels) label->lower();
}

}  // namespace qadrill
