#pragma once
// The window as the logic sees it, as plain fields.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "drill/state/DrillView.h"

namespace qadrill::testing {

class FakeView final : public DrillView {
public:
    std::u16string question;
    std::u16string answer;
    // (box, "height"/"width") -> units, in the order they were set.
    std::vector<std::pair<PictureBoxId, std::string>> scaleCalls;
    std::map<std::pair<PictureBoxId, std::string>, double> scales;

    [[nodiscard]] std::u16string questionBoxText() const override { return question; }
    void setQuestionBoxText(const std::u16string& text) override { question = written_ = text; }
    void appendQuestionBoxText(const std::u16string& text) override {
        question += text;
        written_ = question;
    }
    // A test that sets `question` itself plays the student typing.
    [[nodiscard]] bool questionBoxEdited() const override { return question != written_; }
    [[nodiscard]] std::u16string answerBoxText() const override { return answer; }
    void setAnswerBoxText(const std::u16string& text) override { answer = text; }

    void setPictureScaleHeight(PictureBoxId box, double units) override { record(box, "height", units); }
    void setPictureScaleWidth(PictureBoxId box, double units) override { record(box, "width", units); }

private:
    std::u16string written_;
    void record(PictureBoxId box, const std::string& what, double units) {
        scaleCalls.emplace_back(box, what);
        scales[{box, what}] = units;
    }
};

}  // namespace qadrill::testing
