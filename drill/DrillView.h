#pragma once
// What the drill's procedures see of the window: the two big text boxes and
// the drawing scale of the two picture boxes.  Box texts cross this interface
// with CR LF line breaks, whatever the toolkit uses inside.

#include <string>

namespace qadrill {

enum class PictureBoxId { Picture1, Picture2 };

class DrillView {
public:
    virtual ~DrillView() = default;

    [[nodiscard]] virtual std::u16string questionBoxText() const = 0;
    virtual void setQuestionBoxText(const std::u16string& text) = 0;
    [[nodiscard]] virtual std::u16string answerBoxText() const = 0;
    virtual void setAnswerBoxText(const std::u16string& text) = 0;

    virtual void setPictureScaleHeight(PictureBoxId box, double units) = 0;
    virtual void setPictureScaleWidth(PictureBoxId box, double units) = 0;
};

}  // namespace qadrill
