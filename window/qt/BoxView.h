#pragma once
// The window as the drill's logic sees it.  The logic speaks CR LF; the text
// boxes break lines their own way, so every text is converted at this border.

#include <QString>
#include <string>

#include "drill/DrillView.h"

class QPlainTextEdit;

namespace qadrill {

class PictureBox;

// Box text to logic text: each line break becomes CR LF.
[[nodiscard]] std::u16string toLogicText(const QPlainTextEdit& box);
// Logic text to box text: each CR LF becomes the box's line break.
[[nodiscard]] QString toBoxText(const std::u16string& text);

class BoxView final : public DrillView {
public:
    BoxView(QPlainTextEdit& question, QPlainTextEdit& answer, PictureBox& picture1, PictureBox& picture2);

    [[nodiscard]] std::u16string questionBoxText() const override;
    void setQuestionBoxText(const std::u16string& text) override;
    void appendQuestionBoxText(const std::u16string& text) override;
    [[nodiscard]] std::u16string answerBoxText() const override;
    void setAnswerBoxText(const std::u16string& text) override;

    void setPictureScaleHeight(PictureBoxId box, double units) override;
    void setPictureScaleWidth(PictureBoxId box, double units) override;

private:
    [[nodiscard]] PictureBox& picture(PictureBoxId box) const;

    QPlainTextEdit& question_;
    QPlainTextEdit& answer_;
    PictureBox& picture1_;
    PictureBox& picture2_;
};

}  // namespace qadrill
