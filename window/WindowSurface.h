#pragma once
// What a front end gives the shared window layer: the boxes the drill reads
// and writes (DrillView), plus the pictures and the timer the window's own
// commands use.  Declared once here; each front end defines it over its own
// controls (window/qt, window/win32), of which CMake builds one.

#include <string>

#include "drill/state/DrillView.h"
#include "platform/Platform.h"

namespace qadrill {

class WindowSurface final : public DrillView {
public:
    // The front end's own controls, defined in its room.
    struct Controls;

    explicit WindowSurface(Controls& controls) : controls_(controls) {}

    [[nodiscard]] std::u16string questionBoxText() const override;
    void setQuestionBoxText(const std::u16string& text) override;
    // At the end of the box, without reading it out; the student's cursor,
    // selection and scroll stay, and the addition is no step undo takes back.
    void appendQuestionBoxText(const std::u16string& text) override;
    [[nodiscard]] bool questionBoxEdited() const override;
    [[nodiscard]] std::u16string answerBoxText() const override;
    void setAnswerBoxText(const std::u16string& text) override;
    void setPictureScaleHeight(PictureBoxId box, double units) override;
    void setPictureScaleWidth(PictureBoxId box, double units) override;

    // The picture assigned to the box; a null picture when it has none.
    [[nodiscard]] Picture picture(PictureBoxId box) const;
    // A null picture takes the box's picture away.
    void setPicture(PictureBoxId box, const Picture& picture);
    // A circle's outline on the screen only, centre and radius in the box's
    // scale units (radius in horizontal units), aspect 1.
    void drawCircle(PictureBoxId box, double centreX, double centreY, double radius);

    // The timer ticks every timerIntervalMs once started; starting a running
    // timer leaves its rhythm alone.
    void startTimer();
    [[nodiscard]] bool timerRunning() const;

private:
    Controls& controls_;
};

}  // namespace qadrill
