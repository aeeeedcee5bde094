#include "window/qt/BoxView.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include "window/qt/PictureBox.h"

namespace qadrill {

std::u16string toLogicText(const QPlainTextEdit& box) {
    // The raw text keeps no-break spaces, which the plain-text view would turn
    // into ordinary ones; paragraph ends and Shift+Enter breaks both count as
    // line breaks.
    QString text = box.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    text.replace(QChar::LineSeparator, QLatin1String("\r\n"));
    return text.toStdU16String();
}

QString toBoxText(const std::u16string& text) {
    return QString::fromStdU16String(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

BoxView::BoxView(QPlainTextEdit& question, QPlainTextEdit& answer, PictureBox& picture1, PictureBox& picture2)
    : question_(question), answer_(answer), picture1_(picture1), picture2_(picture2) {}

std::u16string BoxView::questionBoxText() const { return toLogicText(question_); }
void BoxView::setQuestionBoxText(const std::u16string& text) { question_.setPlainText(toBoxText(text)); }
std::u16string BoxView::answerBoxText() const { return toLogicText(answer_); }
void BoxView::setAnswerBoxText(const std::u16string& text) { answer_.setPlainText(toBoxText(text)); }

void BoxView::setPictureScaleHeight(PictureBoxId box, double units) { picture(box).setScaleHeight(units); }
void BoxView::setPictureScaleWidth(PictureBoxId box, double units) { picture(box).setScaleWidth(units); }

PictureBox& BoxView::picture(PictureBoxId box) const { return box == PictureBoxId::Picture1 ? picture1_ : picture2_; }

}  // namespace qadrill
