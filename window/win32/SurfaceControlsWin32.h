#pragma once
// The Win32 window as the shared window layer sees it: the two big edit
// boxes, the two picture boxes with their drawing scales, and the timer.
// The edit boxes break lines with CR LF already, as the logic does.

#include <windows.h>

#include "window/WindowSurface.h"

namespace qadrill {

struct SurfaceWindows {
    HWND form = nullptr;  // owns the timer
    HWND question = nullptr;
    HWND answer = nullptr;
    HWND picture1 = nullptr;
    HWND picture2 = nullptr;
};

inline constexpr UINT_PTR drillTimerId = 1;

class Win32Surface final : public WindowSurface {
public:
    explicit Win32Surface(const SurfaceWindows& windows) : windows_(windows) {}

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
    [[nodiscard]] bool timerRunning() const override { return timerRunning_; }

private:
    struct Scale {
        double width = 0.0;  // 0: the drawing area's size in twips
        double height = 0.0;
    };
    [[nodiscard]] HWND box(PictureBoxId id) const;
    [[nodiscard]] Scale& scale(PictureBoxId id);

    SurfaceWindows windows_;
    Scale scale1_;
    Scale scale2_;
    bool timerRunning_ = false;
};

[[nodiscard]] std::u16string windowText(HWND window);
void setWindowText(HWND window, const std::u16string& text);

}  // namespace qadrill
