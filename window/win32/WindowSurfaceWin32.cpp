// The window surface over the Win32 controls.
#include "window/win32/SurfaceControlsWin32.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "window/ControlTable.h"
#include "window/PictureScale.h"
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

// The edit control's own modify flag tells the student's edits: the drill
// clears it after each change of its own.
std::u16string WindowSurface::questionBoxText() const { return windowText(controls_.question); }
void WindowSurface::setQuestionBoxText(const std::u16string& text) {
    setWindowText(controls_.question, text);
    SendMessageW(controls_.question, EM_SETMODIFY, FALSE, 0);
}
bool WindowSurface::questionBoxEdited() const { return SendMessageW(controls_.question, EM_GETMODIFY, 0, 0) != 0; }
void WindowSurface::appendQuestionBoxText(const std::u16string& text) {
    DWORD selectionStart = 0;
    DWORD selectionEnd = 0;
    SendMessageW(controls_.question, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart),
                 reinterpret_cast<LPARAM>(&selectionEnd));
    // A long text goes in a piece at a time, so no second copy of it is made.
    constexpr std::size_t piece = 1 << 16;
    auto end = static_cast<WPARAM>(GetWindowTextLengthW(controls_.question));
    for (std::size_t from = 0; from < text.size(); from += piece) {
        const auto to = text.begin() + static_cast<std::ptrdiff_t>(std::min(text.size(), from + piece));
        const std::wstring wide(text.begin() + static_cast<std::ptrdiff_t>(from), to);
        SendMessageW(controls_.question, EM_SETSEL, end, static_cast<LPARAM>(end));
        SendMessageW(controls_.question, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));
        end += wide.size();
    }
    SendMessageW(controls_.question, EM_SETSEL, selectionStart, static_cast<LPARAM>(selectionEnd));
    SendMessageW(controls_.question, EM_SETMODIFY, FALSE, 0);
}

std::u16string WindowSurface::answerBoxText() const { return windowText(controls_.answer); }
void WindowSurface::setAnswerBoxText(const std::u16string& text) { setWindowText(controls_.answer, text); }

void WindowSurface::setPictureScaleHeight(PictureBoxId id, double units) { controls_.scale(id).height = units; }
void WindowSurface::setPictureScaleWidth(PictureBoxId id, double units) { controls_.scale(id).width = units; }

Picture WindowSurface::picture(PictureBoxId id) const { return pictureOf(controls_.box(id)); }
void WindowSurface::setPicture(PictureBoxId id, const Picture& picture) { setPictureOf(controls_.box(id), picture); }

// The scale spans the client area, the drawing area inside the sunken border.
void WindowSurface::drawCircle(PictureBoxId id, double centreX, double centreY, double radius) {
    RECT client{};
    GetClientRect(controls_.box(id), &client);
    const int dpi = static_cast<int>(GetDpiForWindow(controls_.box(id)));
    const Controls::Scale units = controls_.scale(id);
    const double perUnitX = pixelsPerUnit(units.width, client.right, dpi);
    const double perUnitY = pixelsPerUnit(units.height, client.bottom, dpi);
    drawCircleOn(controls_.box(id), static_cast<int>(std::lround(centreX * perUnitX)),
                 static_cast<int>(std::lround(centreY * perUnitY)), static_cast<int>(std::lround(radius * perUnitX)));
}

void WindowSurface::startTimer() {
    SetTimer(controls_.form, drillTimerId, timerIntervalMs, nullptr);
    controls_.timerRunning = true;
}

bool WindowSurface::timerRunning() const { return controls_.timerRunning; }

}  // namespace qadrill
