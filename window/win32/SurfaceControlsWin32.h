#pragma once
// The Win32 controls behind the window surface: the two big edit boxes, the
// two picture boxes with their drawing scales, and the timer.  The edit boxes
// break lines with CR LF already, as the logic does.

#include <windows.h>

#include <string>

#include "window/WindowSurface.h"

namespace qadrill {

inline constexpr UINT_PTR drillTimerId = 1;

struct WindowSurface::Controls {
    struct Scale {
        double width = 0.0;  // 0: the drawing area's size in twips
        double height = 0.0;
    };

    HWND form = nullptr;  // owns the timer
    HWND question = nullptr;
    HWND answer = nullptr;
    HWND picture1 = nullptr;
    HWND picture2 = nullptr;
    Scale scale1;
    Scale scale2;
    bool timerRunning = false;

    [[nodiscard]] HWND box(PictureBoxId id) const { return id == PictureBoxId::Picture1 ? picture1 : picture2; }
    [[nodiscard]] Scale& scale(PictureBoxId id) { return id == PictureBoxId::Picture1 ? scale1 : scale2; }
};

[[nodiscard]] std::u16string windowText(HWND window);
void setWindowText(HWND window, const std::u16string& text);

}  // namespace qadrill
