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
    // Adds text at the end of the question box, as setting the box to its
    // text followed by `text` would.  A view that can append in place should:
    // a box that has collected thousands of questions then takes no longer
    // than an empty one, and nothing typed into it is rebuilt.
    virtual void appendQuestionBoxText(const std::u16string& text) { setQuestionBoxText(questionBoxText() + text); }
    // Whether the student has changed the question box's text since the drill
    // last set it or added to it.  A view that cannot tell says yes.
    [[nodiscard]] virtual bool questionBoxEdited() const { return true; }
    [[nodiscard]] virtual std::u16string answerBoxText() const = 0;
    virtual void setAnswerBoxText(const std::u16string& text) = 0;

    virtual void setPictureScaleHeight(PictureBoxId box, double units) = 0;
    virtual void setPictureScaleWidth(PictureBoxId box, double units) = 0;
};

}  // namespace qadrill
