#pragma once
// What a front end gives the shared window layer: the boxes the drill reads
// and writes (DrillView), plus the pictures and the timer the window's own
// commands use.  Qt and Win32 each implement it over their own controls.

#include "drill/DrillView.h"
#include "platform/Platform.h"

namespace qadrill {

class WindowSurface : public DrillView {
public:
    // The picture assigned to the box; a null picture when it has none.
    [[nodiscard]] virtual Picture picture(PictureBoxId box) const = 0;
    // A null picture takes the box's picture away.
    virtual void setPicture(PictureBoxId box, const Picture& picture) = 0;
    // A circle's outline on the screen only, centre and radius in the box's
    // scale units (radius in horizontal units), aspect 1.
    virtual void drawCircle(PictureBoxId box, double centreX, double centreY, double radius) = 0;

    // The timer ticks every timerIntervalMs once started; starting a running
    // timer leaves its rhythm alone.
    virtual void startTimer() = 0;
    [[nodiscard]] virtual bool timerRunning() const = 0;
};

}  // namespace qadrill
