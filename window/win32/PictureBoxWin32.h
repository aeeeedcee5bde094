#pragma once
// A picture box as a Win32 child window: white, sunken, taking the focus by
// tab and click and showing it with a dotted frame, showing its picture at
// its own size from the top-left corner.  Drawing goes to the screen only, so
// any repaint shows the white background and the picture again.

#include <windows.h>

#include "platform/Platform.h"

namespace qadrill {

inline constexpr const wchar_t* pictureBoxClass = L"QadrillPictureBox";

void registerPictureBoxClass(HINSTANCE instance);

// The picture shown by a box made with pictureBoxClass.
[[nodiscard]] const Picture& pictureOf(HWND box);
void setPictureOf(HWND box, const Picture& picture);

// One-pixel outline in black, whatever the desktop's colours (the box is
// always white), in client pixels.
void drawCircleOn(HWND box, int centreX, int centreY, int radius);

// A picture's pixels as a top-down 32-bit bitmap header and rows.
[[nodiscard]] BITMAPINFOHEADER topDownHeader(const Picture& picture);

}  // namespace qadrill
