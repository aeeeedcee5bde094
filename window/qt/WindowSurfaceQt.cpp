// The window surface over the Qt controls.
#include "window/qt/SurfaceControlsQt.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <string_view>

#include "window/qt/AccessibilityQt.h"
#include "window/qt/PictureBoxQt.h"
#include "window/qt/PictureImageQt.h"

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

QString toBoxText(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()))
        .replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

namespace {

// Logic text added at the end of the box, leaving the student's cursor,
// selection and scroll, and, as when the text is replaced, no undo step.  A
// long text goes in a piece at a time, so no second copy of it is ever made;
// a piece never ends between CR and LF, which would make two line breaks.
void appendToBox(QPlainTextEdit& box, const std::u16string& text) {
    constexpr std::size_t piece = 1 << 16;
    QTextDocument& document = *box.document();
    const int anchor = box.textCursor().anchor();
    const int position = box.textCursor().position();
    QTextCursor end(&document);
    end.movePosition(QTextCursor::End);
    const bool undoable = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    end.beginEditBlock();
    for (std::size_t from = 0; from < text.size();) {
        std::size_t to = std::min(text.size(), from + piece);
        if (to < text.size() && text[to - 1] == u'\r') ++to;
        end.insertText(toBoxText(std::u16string_view(text).substr(from, to - from)));
        from = to;
    }
    end.endEditBlock();
    document.setUndoRedoEnabled(undoable);
    // A cursor standing at the end is carried along by the insertion.
    QTextCursor student = box.textCursor();
    if (student.anchor() == anchor && student.position() == position) return;
    student.setPosition(anchor);
    student.setPosition(position, QTextCursor::KeepAnchor);
    box.setTextCursor(student);
}

}  // namespace

// The document's own modified mark tells the student's edits: the drill
// clears it after each change of its own.
std::u16string WindowSurface::questionBoxText() const { return toLogicText(controls_.question); }
void WindowSurface::setQuestionBoxText(const std::u16string& text) {
    controls_.question.setPlainText(toBoxText(text));
    controls_.question.document()->setModified(false);
}
void WindowSurface::appendQuestionBoxText(const std::u16string& text) {
    appendToBox(controls_.question, text);
    controls_.question.document()->setModified(false);
    // The new problem is read out while the focus stays on the button
    // pressed; the reader speaks the start of a long text, so only that is
    // copied.
    announce(*controls_.question.window(), toBoxText(text.substr(0, announcedLength)));
}
bool WindowSurface::questionBoxEdited() const { return controls_.question.document()->isModified(); }
std::u16string WindowSurface::answerBoxText() const { return toLogicText(controls_.answer); }
void WindowSurface::setAnswerBoxText(const std::u16string& text) { controls_.answer.setPlainText(toBoxText(text)); }

void WindowSurface::setPictureScaleHeight(PictureBoxId id, double units) { controls_.box(id).setScaleHeight(units); }
void WindowSurface::setPictureScaleWidth(PictureBoxId id, double units) { controls_.box(id).setScaleWidth(units); }

Picture WindowSurface::picture(PictureBoxId id) const { return toPicture(controls_.box(id).picture()); }
void WindowSurface::setPicture(PictureBoxId id, const Picture& picture) {
    controls_.box(id).setPicture(toImage(picture));
}

void WindowSurface::drawCircle(PictureBoxId id, double centreX, double centreY, double radius) {
    controls_.box(id).drawCircle(QPointF(centreX, centreY), radius);
}

void WindowSurface::startTimer() { controls_.timer.start(); }
bool WindowSurface::timerRunning() const { return controls_.timer.isActive(); }

}  // namespace qadrill
