#include "window/win32/PictureBoxWin32.h"

#include <memory>

#include "window/win32/FocusFrameWin32.h"

namespace qadrill {

namespace {

Picture* stateOf(HWND box) { return reinterpret_cast<Picture*>(GetWindowLongPtrW(box, 0)); }

// Inverted, the frame comes and goes without repainting the box, so the
// circles on the screen stay.
void toggleFocusFrame(HWND box) {
    HDC dc = GetDC(box);
    invertFocusFrame(box, dc);
    ReleaseDC(box, dc);
}

void paint(HWND box) {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(box, &paint);
    RECT client{};
    GetClientRect(box, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (const Picture* picture = stateOf(box); picture != nullptr && !picture->isNull()) {
        const BITMAPINFOHEADER header = topDownHeader(*picture);
        SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(picture->width), static_cast<DWORD>(picture->height), 0, 0, 0,
                          static_cast<UINT>(picture->height), picture->argb.data(),
                          reinterpret_cast<const BITMAPINFO*>(&header), DIB_RGB_COLORS);
    }
    if (GetFocus() == box) invertFocusFrame(box, dc);
    EndPaint(box, &paint);
}

LRESULT CALLBACK pictureBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE:
            SetWindowLongPtrW(box, 0, reinterpret_cast<LONG_PTR>(new Picture{}));
            break;
        case WM_NCDESTROY:
            std::unique_ptr<Picture>(stateOf(box)).reset();
            SetWindowLongPtrW(box, 0, 0);
            break;
        case WM_PAINT:
            paint(box);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint covers every pixel
        case WM_LBUTTONDOWN:
            SetFocus(box);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            toggleFocusFrame(box);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(box, message, wParam, lParam);
}

}  // namespace

void registerPictureBoxClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = pictureBoxProc;
    windowClass.cbWndExtra = sizeof(LONG_PTR);
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = pictureBoxClass;
    RegisterClassExW(&windowClass);
}

const Picture& pictureOf(HWND box) { return *stateOf(box); }

void setPictureOf(HWND box, const Picture& picture) {
    *stateOf(box) = picture;
    InvalidateRect(box, nullptr, FALSE);
}

void drawCircleOn(HWND box, int centreX, int centreY, int radius) {
    if (IsWindowVisible(box) == FALSE) return;  // nothing on the screen to draw on
    HDC dc = GetDC(box);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    const HGDIOBJ oldPen = SelectObject(dc, pen);
    const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, centreX - radius, centreY - radius, centreX + radius + 1, centreY + radius + 1);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    ReleaseDC(box, dc);
}

BITMAPINFOHEADER topDownHeader(const Picture& picture) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = picture.width;
    header.biHeight = -picture.height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    return header;
}

}  // namespace qadrill
