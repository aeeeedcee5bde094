#pragma once
// The Qt window as the shared window layer sees it.  The logic speaks CR LF;
// the text boxes break lines their own way, so every text is converted at
// this border.

#include <QString>
#include <string>

#include "window/WindowSurface.h"

class QPlainTextEdit;
class QTimer;

namespace qadrill {

class PictureBox;

// Box text to logic text: each line break becomes CR LF.
[[nodiscard]] std::u16string toLogicText(const QPlainTextEdit& box);
// Logic text to box text: each CR LF becomes the box's line break.
[[nodiscard]] QString toBoxText(const std::u16string& text);

class BoxView final : public WindowSurface {
public:
    BoxView(QPlainTextEdit& question, QPlainTextEdit& answer, PictureBox& picture1, PictureBox& picture2,
            QTimer& timer);

    [[nodiscard]] std::u16string questionBoxText() const override;
    void setQuestionBoxText(const std::u16string& text) override;
    void appendQuestionBoxText(const std::u16string& text) override;
    [[nodiscard]] std::u16string answerBoxText() const override;
    void setAnswerBoxText(const std::u16string& text) override;

    void setPictureScaleHeight(PictureBoxId box, double units) override;
    void setPictureScaleWidth(PictureBoxId box, double units) override;

    [[nodiscard]] Picture picture(PictureBoxId box) const override;
    void setPicture(PictureBoxId box, const Picture& picture) override;
    void drawCircle(PictureBoxId box, double centreX, double centreY, double radius) override;
    void startTimer() override;
    [[nodiscard]] bool timerRunning() const override;

private:
    [[nodiscard]] PictureBox& box(PictureBoxId box) const;

    QPlainTextEdit& question_;
    QPlainTextEdit& answer_;
    PictureBox& picture1_;
    PictureBox& picture2_;
    QTimer& timer_;
};

}  // namespace qadrill
