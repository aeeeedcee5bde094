#include "window/win32/FocusFrameWin32.h"

#include <commctrl.h>

namespace qadrill {

namespace {

constexpr UINT_PTR framedListId = 1;

LRESULT CALLBACK framedListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                DWORD_PTR /*data*/) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            HDC dc = BeginPaint(list, &paint);
            RECT client{};
            GetClientRect(list, &client);
            FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
            if (GetFocus() == list) invertFocusFrame(list, dc);
            EndPaint(list, &paint);
            return 0;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
            InvalidateRect(list, nullptr, FALSE);
            UpdateWindow(list);
            return result;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(list, framedListProc, framedListId);
            break;
        default:
            break;
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace

void invertFocusFrame(HWND control, HDC dc) {
    RECT frame{};
    GetClientRect(control, &frame);
    InflateRect(&frame, -1, -1);
    DrawFocusRect(dc, &frame);
}

void frameFocusOfEmptyList(HWND list) { SetWindowSubclass(list, framedListProc, framedListId, 0); }

}  // namespace qadrill
