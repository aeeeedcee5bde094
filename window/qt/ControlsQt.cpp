#include "window/qt/ControlsQt.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <array>
#include <vector>

#include "window/CaptionFit.h"
#include "window/qt/AccessibilityQt.h"
#include "window/qt/CaptionButtonQt.h"
#include "window/qt/FocusFrameQt.h"
#include "window/qt/PictureBoxQt.h"
#include "window/qt/TwipsQt.h"

namespace qadrill {

namespace {

QString toQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QFont textBoxFont() {
    QFont font(toQString(boxFont.family));
    font.setPointSizeF(boxFont.points);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setKerning(false);
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setResolveMask(QFont::AllPropertiesResolved);
    return font;
}

// A block of this many characters or more keeps its layout data.
constexpr int largeBlock = 16'384;

// The notes log is shown as one paragraph, easily a megabyte.  Without its
// layout data kept, the text engine analyses the whole paragraph again each
// time anything asks where a character stands (the cursor, every repaint,
// every scroll step), several times per command.  Small blocks are cheap to
// analyse again and keep nothing (a block that shrinks keeps its setting).
class TextBoxLayout final : public QPlainTextDocumentLayout {
public:
    using QPlainTextDocumentLayout::QPlainTextDocumentLayout;

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override {
        const QTextBlock last = document()->findBlock(from + charsAdded);
        for (QTextBlock block = document()->findBlock(from); block.isValid(); block = block.next()) {
            if (block.length() >= largeBlock) block.layout()->setCacheEnabled(true);
            if (block == last) break;
        }
        QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
    }
};

QWidget* makeTextBox(const QString& text, QWidget& form) {
    auto* box = new QPlainTextEdit(&form);
    auto* document = new QTextDocument(box);
    document->setDocumentLayout(new TextBoxLayout(document));
    box->setDocument(document);
    box->setPlainText(text);
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

QWidget* makeWidget(const ControlRow& row, QWidget& form) {
    const QString text = toQString(row.text);
    switch (row.kind) {
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
            return new FocusFramedList(&form);
        case ControlKind::Timer:
            break;
    }
    return nullptr;
}

void makeTimer(const ControlRow& row, QWidget& form) {
    auto* timer = new QTimer(&form);
    timer->setObjectName(controlObjectName(row));
    timer->setInterval(timerIntervalMs);
    timer->setTimerType(Qt::PreciseTimer);
}

QWidget* makeControl(const ControlRow& row, QWidget& form) {
    QWidget* widget = makeWidget(row, form);
    widget->setObjectName(controlObjectName(row));
    if (row.index >= 0) widget->setProperty("index", row.index);
    widget->setGeometry(toQRect(row.rect));
    // Set on each control, so a platform theme that changes the
    // application's font later (some apply the desktop's once the program
    // runs) leaves the captions as laid out.
    widget->setFont(row.font == ControlFont::Arial975 ? textBoxFont() : interfaceFont());
    widget->setAccessibleName(toQString(accessibleNameOf(row)));
    // Labels never take the focus; everything else takes it by tab and click.
    widget->setFocusPolicy(row.kind == ControlKind::Label ? Qt::NoFocus : Qt::StrongFocus);
    return widget;
}

QFont interfaceFontAt(int hundredthsOfPoint) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(hundredthsOfPoint / 100.0);
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    font.setResolveMask(QFont::AllPropertiesResolved);
    return font;
}

// Measured in the toolkit's device-independent pixels, which are 96 dpi ones;
// a button centres its caption, a label starts it at the top left.
bool captionsFit(const QFont& font) {
    const QFontMetrics metrics(font);
    for (const ControlRow& row : controlTable()) {
        if (row.kind != ControlKind::Button && row.kind != ControlKind::Label) continue;
        const PixelRect area = captionArea(row, baseDpi);
        const Qt::Alignment alignment =
            row.kind == ControlKind::Button ? Qt::Alignment(Qt::AlignCenter) : Qt::AlignLeft | Qt::AlignTop;
        const QRect needed = metrics.boundingRect(QRect(0, 0, area.width, area.height),
                                                  int(alignment | Qt::TextWordWrap), toQString(row.text));
        if (needed.width() > area.width || needed.height() > area.height) return false;
    }
    return true;
}

}  // namespace

QString controlObjectName(const ControlRow& row) { return QString::fromStdString(controlName(row)); }

// The captions were laid out for a small interface font; the toolkit's usual
// 9-10 points would cut several of them off.  The size is the largest at
// which every caption fits its area; every property is fixed, so nothing of
// another font shows through.
QFont interfaceFont() {
    static const QFont chosen = [] {
        for (int size = largestCaptionHundredths; size > smallestCaptionHundredths; size -= captionStepHundredths) {
            if (captionsFit(interfaceFontAt(size))) return interfaceFontAt(size);
        }
        return interfaceFontAt(smallestCaptionHundredths);
    }();
    return chosen;
}

void setInterfaceFont() { QApplication::setFont(interfaceFont()); }

void buildControls(QWidget& form) {
    // Naming a control asks for its accessible interface once a reader
    // listens, and the toolkit keeps the first answer: the roles must be
    // known before the first control is made.
    installAccessibleRoles();
    std::array<QWidget*, controlCount> widgets{};
    std::vector<QWidget*> labels;
    auto* ring = new FocusRing(&form);
    for (std::size_t i = 0; i < controlTable().size(); ++i) {
        const ControlRow& row = controlTable()[i];
        if (row.kind == ControlKind::Timer) {
            makeTimer(row, form);
            continue;
        }
        widgets.at(i) = makeControl(row, form);
        if (row.kind == ControlKind::Label)
            labels.push_back(widgets.at(i));
        else
            ring->watch(*widgets.at(i));
    }
    const auto& order = tabOrder();
    for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(widgets.at(order[i - 1]), widgets.at(order[i]));
    for (QWidget* label : labels) label->lower();
    describeControls(form);
}

}  // namespace qadrill
