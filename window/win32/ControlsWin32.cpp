#include "window/win32/ControlsWin32.h"

#include <commctrl.h>

#include "window/PixelLayout.h"
#include "window/win32/FocusFrameWin32.h"
#include "window/win32/PictureBoxWin32.h"

namespace qadrill {

namespace {

struct WindowKind {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

constexpr DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

WindowKind windowKindOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::TextBox:
            return {WC_EDITW, child | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL,
                    WS_EX_CLIENTEDGE};
        case ControlKind::LineBox:
            return {WC_EDITW, child | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::Button:
            return {WC_BUTTONW, child | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE, 0};
        case ControlKind::Label:
            return {WC_STATICW, child | SS_LEFT | SS_NOPREFIX, 0};
        case ControlKind::PictureBox:
            return {pictureBoxClass, child | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::ListBox:
            return {WC_LISTBOXW, child | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE};
        case ControlKind::Timer:
            break;
    }
    return {nullptr, 0, 0};
}

// The interface font is tried from the desktop's message font downwards in
// half points until every caption fits; below this it would not be legible.
constexpr int largestHundredthsOfPoint = 900;
constexpr int smallestHundredthsOfPoint = 650;
constexpr int boxHundredthsOfPoint = 975;

HFONT makeFont(const wchar_t* face, int hundredthsOfPoint, int dpi) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(hundredthsOfPoint, dpi, 7200);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

std::wstring messageFontFace(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi)) ==
        FALSE)
        return L"Tahoma";
    return metrics.lfMessageFont.lfFaceName;
}

bool everyCaptionFits(const ControlWindows& controls, int dpi) {
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlKind kind = controlTable()[i].kind;
        if ((kind == ControlKind::Button || kind == ControlKind::Label) && !captionFits(controls[i], dpi)) return false;
    }
    return true;
}

}  // namespace

std::string controlName(const ControlRow& row) {
    std::string name(row.name);
    if (row.index >= 0) name += "_" + std::to_string(row.index);
    return name;
}

std::wstring toWide(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

ControlWindows createControls(HWND form, HINSTANCE instance) {
    ControlWindows windows{};
    for (std::size_t i = 0; i < controlTable().size(); ++i) {
        const ControlRow& row = controlTable()[i];
        const WindowKind kind = windowKindOf(row.kind);
        if (kind.className == nullptr) continue;
        const auto id = static_cast<INT_PTR>(firstControlId) + static_cast<INT_PTR>(i);
        windows[i] = CreateWindowExW(kind.exStyle, kind.className, toWide(row.text).c_str(), kind.style, 0, 0, 0, 0,
                                     form, reinterpret_cast<HMENU>(id), instance, nullptr);
        if (row.kind == ControlKind::TextBox) SendMessageW(windows[i], EM_SETLIMITTEXT, 0, 0);
        if (row.kind == ControlKind::ListBox) frameFocusOfEmptyList(windows[i]);
    }
    // Tab order is the order of creation; labels take no focus and go beneath.
    for (std::size_t i = 0; i < controlTable().size(); ++i) {
        if (controlTable()[i].kind == ControlKind::Label)
            SetWindowPos(windows[i], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return windows;
}

ControlFonts::~ControlFonts() { release(); }

void ControlFonts::release() {
    if (interface_ != nullptr) DeleteObject(interface_);
    if (box_ != nullptr) DeleteObject(box_);
    interface_ = box_ = nullptr;
}

void ControlFonts::choose(const ControlWindows& controls, int dpi) {
    release();
    box_ = makeFont(L"Arial", boxHundredthsOfPoint, dpi);

    const std::wstring face = messageFontFace(dpi);
    for (int size = largestHundredthsOfPoint; size >= smallestHundredthsOfPoint; size -= 50) {
        HFONT candidate = makeFont(face.c_str(), size, dpi);
        for (std::size_t i = 0; i < controls.size(); ++i) {
            if (controls[i] != nullptr)
                SendMessageW(controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(candidate), FALSE);
        }
        if (interface_ != nullptr) DeleteObject(interface_);
        interface_ = candidate;
        if (everyCaptionFits(controls, dpi)) break;
    }
}

void placeControls(const ControlWindows& controls, int dpi) {
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i] == nullptr) continue;
        const PixelRect rect = toPixels(controlTable()[i].rect, dpi);
        SetWindowPos(controls[i], nullptr, rect.left, rect.top, rect.width, rect.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void applyFonts(const ControlWindows& controls, const ControlFonts& fonts) {
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i] == nullptr) continue;
        const HFONT font = controlTable()[i].font == ControlFont::Arial975 ? fonts.boxFont() : fonts.interfaceFont();
        SendMessageW(controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
}

std::wstring captionOf(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
    caption.resize(static_cast<std::size_t>(GetWindowTextW(control, caption.data(), length + 1)));
    return caption;
}

// A button wraps its caption inside its frame, focus frame and text margin,
// about 5 pixels each side at 96 dpi; the measure allows 10, so a caption
// that fits keeps room to spare under either system's text layout.  A word
// longer than that may still reach into the margins, not past the frame.
// The lines may reach into the frame above and below.  A label gives its
// caption the whole rectangle.
bool captionFits(HWND control, int dpi) {
    RECT area{};
    GetClientRect(control, &area);
    wchar_t className[16]{};
    GetClassNameW(control, className, 16);
    const bool button = lstrcmpiW(className, WC_BUTTONW) == 0;
    const int wrapMargin = button ? MulDiv(10, dpi, baseDpi) : 0;
    const int bevel = button ? MulDiv(2, dpi, baseDpi) : 0;

    const std::wstring caption = captionOf(control);
    HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, area.right - 2 * wrapMargin, 0};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return needed.right <= area.right - 2 * bevel && needed.bottom <= area.bottom;
}

}  // namespace qadrill
