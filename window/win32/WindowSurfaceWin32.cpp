#include "window/win32/Win32Surface.h"

#include <cmath>

#include "window/ControlTable.h"
#include "window/PixelLayout.h"
#include "window/win32/PictureBoxWin32.h"

namespace qadrill {

std::u16string windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    return {text.begin(), text.begin() + got};
}

void setWindowText(HWND window, const std::u16string& text) {
    SetWindowTextW(window, std::wstring(text.begin(), text.end()).c_str());
}

std::u16string Win32Surface::questionBoxText() const { return windowText(windows_.question); }
void Win32Surface::setQuestionBoxText(const std::u16string& text) { setWindowText(windows_.question, text); }
// Appended where the text ends, without reading the box out; the student's
// selection stays, and the append is no step the student can undo.
void Win32Surface::appendQuestionBoxText(const std::u16string& text) {
    DWORD selectionStart = 0;
    DWORD selectionEnd = 0;
    SendMessageW(windows_.question, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart),
                 reinterpret_cast<LPARAM>(&selectionEnd));
    const std::wstring wide(text.begin(), text.end());
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(windows_.question));
    SendMessageW(windows_.question, EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageW(windows_.question, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));
    SendMessageW(windows_.question, EM_SETSEL, selectionStart, static_cast<LPARAM>(selectionEnd));
}

std::u16string Win32Surface::answerBoxText() const { return windowText(windows_.answer); }
void Win32Surface::setAnswerBoxText(const std::u16string& text) { setWindowText(windows_.answer, text); }

void Win32Surface::setPictureScaleHeight(PictureBoxId id, double units) { scale(id).height = units; }
void Win32Surface::setPictureScaleWidth(PictureBoxId id, double units) { scale(id).width = units; }

Picture Win32Surface::picture(PictureBoxId id) const { return pictureOf(box(id)); }
void Win32Surface::setPicture(PictureBoxId id, const Picture& picture) { setPictureOf(box(id), picture); }

// The scale spans the client area, the drawing area inside the sunken border.
void Win32Surface::drawCircle(PictureBoxId id, double centreX, double centreY, double radius) {
    RECT client{};
    GetClientRect(box(id), &client);
    const double width = client.right;
    const double height = client.bottom;
    const Scale units = scale(id);
    const double perUnitX = width / (units.width != 0.0 ? units.width : width * twipsPerPixel);
    const double perUnitY = height / (units.height != 0.0 ? units.height : height * twipsPerPixel);
    drawCircleOn(box(id), static_cast<int>(std::lround(centreX * perUnitX)),
                 static_cast<int>(std::lround(centreY * perUnitY)), static_cast<int>(std::lround(radius * perUnitX)));
}

void Win32Surface::startTimer() {
    SetTimer(windows_.form, drillTimerId, timerIntervalMs, nullptr);
    timerRunning_ = true;
}

HWND Win32Surface::box(PictureBoxId id) const {
    return id == PictureBoxId::Picture1 ? windows_.picture1 : windows_.picture2;
}

Win32Surface::Scale& Win32Surface::scale(PictureBoxId id) { return id == PictureBoxId::Picture1 ? scale1_ : scale2_; }

}  // namespace qadrill
