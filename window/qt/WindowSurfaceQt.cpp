#include "window/qt/BoxView.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include "window/qt/PictureBox.h"
#include "window/qt/PictureImage.h"

namespace qadrill {

std::u16string toLogicText(const QPlainTextEdit& box) {
    // The raw text keeps no-break spaces, which the plain-text view would turn
    // into ordinary ones; paragraph ends and Shift+Enter breaks both count as
    // line breaks.  A box of thousands of lines is read on every question
    // step, so the text goes straight into its place, a line at a time.
    QString raw = box.document()->toRawText();
    if (raw.contains(QChar::LineSeparator)) raw.replace(QChar::LineSeparator, QChar::ParagraphSeparator);
    std::u16string text;
    text.reserve(static_cast<std::size_t>(raw.size() + raw.size() / 16));
    const auto append = [&](qsizetype from, qsizetype to) {
        text.append(reinterpret_cast<const char16_t*>(raw.constData() + from), static_cast<std::size_t>(to - from));
    };
    qsizetype from = 0;
    for (qsizetype at = raw.indexOf(QChar::ParagraphSeparator); at >= 0;
         from = at + 1, at = raw.indexOf(QChar::ParagraphSeparator, from)) {
        append(from, at);
        text += u"\r\n";
    }
    append(from, raw.size());
    return text;
}

QString toBoxText(const std::u16string& text) {
    return QString::fromStdU16String(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

namespace {

// Logic text added at the end of the box.  The student's cursor, selection and
// scroll position stay where they were, and, as when the text is replaced,
// the addition is no step that undo could take back out.
void appendToBox(QPlainTextEdit& box, const std::u16string& text) {
    QTextDocument& document = *box.document();
    const int anchor = box.textCursor().anchor();
    const int position = box.textCursor().position();
    QTextCursor end(&document);
    end.movePosition(QTextCursor::End);
    const bool undoable = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    end.insertText(toBoxText(text));
    document.setUndoRedoEnabled(undoable);
    // A cursor standing at the end is carried along by the insertion.
    QTextCursor student = box.textCursor();
    if (student.anchor() == anchor && student.position() == position) return;
    student.setPosition(anchor);
    student.setPosition(position, QTextCursor::KeepAnchor);
    box.setTextCursor(student);
}

}  // namespace

BoxView::BoxView(QPlainTextEdit& question, QPlainTextEdit& answer, PictureBox& picture1, PictureBox& picture2,
                 QTimer& timer)
    : question_(question), answer_(answer), picture1_(picture1), picture2_(picture2), timer_(timer) {}

std::u16string BoxView::questionBoxText() const { return toLogicText(question_); }
void BoxView::setQuestionBoxText(const std::u16string& text) { question_.setPlainText(toBoxText(text)); }
void BoxView::appendQuestionBoxText(const std::u16string& text) { appendToBox(question_, text); }
std::u16string BoxView::answerBoxText() const { return toLogicText(answer_); }
void BoxView::setAnswerBoxText(const std::u16string& text) { answer_.setPlainText(toBoxText(text)); }

void BoxView::setPictureScaleHeight(PictureBoxId id, double units) { box(id).setScaleHeight(units); }
void BoxView::setPictureScaleWidth(PictureBoxId id, double units) { box(id).setScaleWidth(units); }

Picture BoxView::picture(PictureBoxId id) const { return toPicture(box(id).picture()); }
void BoxView::setPicture(PictureBoxId id, const Picture& picture) { box(id).setPicture(toImage(picture)); }

void BoxView::drawCircle(PictureBoxId id, double centreX, double centreY, double radius) {
    box(id).drawCircle(QPointF(centreX, centreY), radius);
}

void BoxView::startTimer() { timer_.start(); }
bool BoxView::timerRunning() const { return timer_.isActive(); }

PictureBox& BoxView::box(PictureBoxId id) const { return id == PictureBoxId::Picture1 ? picture1_ : picture2_; }

}  // namespace qadrill
