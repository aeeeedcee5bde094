#include "window/win32/ControlsWin32.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "window/AccessibleControls.h"
#include "window/CaptionFit.h"
#include "window/PixelLayout.h"
#include "window/win32/AccessibilityWin32.h"
#include "window/win32/FocusFrameWin32.h"
#include "window/win32/PictureBoxWin32.h"

namespace qadrill {

HWND windowOf(const ControlWindows& windows, std::string_view name, int index) {
    for (std::size_t i = 0; i < controlTable().size(); ++i) {
        if (controlTable()[i].name == name && controlTable()[i].index == index) return windows.at(i);
    }
    return nullptr;
}

namespace {

// A button's lines keep this far inside its frame, each side, at 96 dpi: the
// system's own text margin (one pixel under Wine, a little more in the
// styles of Windows 10 and 11).
constexpr int buttonTextPadding = 2;

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

HFONT makeFont(const std::wstring& face, int hundredthsOfPoint, int dpi) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(hundredthsOfPoint, dpi, 7200);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
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

bool isCaptioned(ControlKind kind) { return kind == ControlKind::Button || kind == ControlKind::Label; }

bool everyCaptionFits(const ControlWindows& controls, int dpi) {
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (isCaptioned(controlTable()[i].kind) && !layOutCaption(controls[i], controlTable()[i], dpi).fits)
            return false;
    }
    return true;
}

// Each button shows its caption with the line breaks the chosen font needs.
void showCaptions(const ControlWindows& controls, int dpi) {
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controlTable()[i].kind != ControlKind::Button) continue;
        const std::wstring shown = layOutCaption(controls[i], controlTable()[i], dpi).shown;
        if (shown != captionOf(controls[i])) SetWindowTextW(controls[i], shown.c_str());
    }
}

void describe(HWND control, const ControlRow& row) {
    AccessibleText text{toWide(accessibleNameOf(row)), {}, accessibleRoleNumber(row)};
    if (const auto found = accessibleRowOf(row.name, row.index)) text.description = toWide(found->description);
    presentAccessibly(control, std::move(text));
}

// A label stands just before the control it names, where a screen reader
// looks for a control's label; labels take no focus, so the tab walk stays.
void placeLabels(const ControlWindows& windows) {
    for (const LabelPair& pair : labelPairs()) {
        const HWND label = windowOf(windows, pair.label, pair.index);
        const HWND control = windowOf(windows, pair.control, pair.index);
        if (label == nullptr || control == nullptr) continue;
        const HWND before = GetWindow(control, GW_HWNDPREV);
        SetWindowPos(label, before != nullptr ? before : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

// Standing above its neighbours now, a label would hide the parts of them
// it overlaps; its region leaves them out, so they show and take the clicks.
void clipLabels(const ControlWindows& windows, int dpi) {
    for (std::size_t i = 0; i < controlTable().size(); ++i) {
        if (controlTable()[i].kind != ControlKind::Label) continue;
        const PixelRect label = toPixels(controlTable()[i].rect, dpi);
        HRGN region = CreateRectRgn(0, 0, label.width, label.height);
        for (std::size_t j = 0; j < controlTable().size(); ++j) {
            if (j == i || windows.at(j) == nullptr || controlTable()[j].kind == ControlKind::Label) continue;
            const PixelRect other = toPixels(controlTable()[j].rect, dpi);
            HRGN covered = CreateRectRgn(other.left - label.left, other.top - label.top,
                                         other.left - label.left + other.width, other.top - label.top + other.height);
            CombineRgn(region, region, covered, RGN_DIFF);
            DeleteObject(covered);
        }
        SetWindowRgn(windows.at(i), region, TRUE);  // the window owns the region now
    }
}

}  // namespace

std::wstring toWide(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

ControlWindows createControls(HWND form, HINSTANCE instance) {
    ControlWindows windows{};
    // Tab order is the order of creation.
    for (const std::size_t i : tabOrder()) {
        const ControlRow& row = controlTable()[i];
        const WindowKind kind = windowKindOf(row.kind);
        const auto id = static_cast<INT_PTR>(firstControlId) + static_cast<INT_PTR>(i);
        windows.at(i) = CreateWindowExW(kind.exStyle, kind.className, toWide(row.text).c_str(), kind.style, 0, 0, 0, 0,
                                        form, reinterpret_cast<HMENU>(id), instance, nullptr);
        if (row.kind == ControlKind::TextBox) SendMessageW(windows.at(i), EM_SETLIMITTEXT, 0, 0);
        if (row.kind == ControlKind::ListBox) frameFocusOfEmptyList(windows.at(i));
        describe(windows.at(i), row);
    }
    placeLabels(windows);
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
    box_ = makeFont(toWide(qadrill::boxFont.family), static_cast<int>(qadrill::boxFont.points * 100), dpi);

    const std::wstring face = messageFontFace(dpi);
    // The desktop's message font, from the largest size down until every caption fits.
    for (int size = largestCaptionHundredths; size >= smallestCaptionHundredths; size -= captionStepHundredths) {
        HFONT candidate = makeFont(face, size, dpi);
        for (std::size_t i = 0; i < controls.size(); ++i) {
            if (controls[i] != nullptr)
                SendMessageW(controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(candidate), FALSE);
        }
        if (interface_ != nullptr) DeleteObject(interface_);
        interface_ = candidate;
        if (everyCaptionFits(controls, dpi)) break;
    }
    showCaptions(controls, dpi);
}

void placeControls(const ControlWindows& controls, int dpi) {
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i] == nullptr) continue;
        const PixelRect rect = toPixels(controlTable()[i].rect, dpi);
        SetWindowPos(controls[i], nullptr, rect.left, rect.top, rect.width, rect.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    clipLabels(controls, dpi);
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

// Broken at spaces into lines of at most the width, as a button would wrap
// it; a word wider than that stands on a line of its own.
std::vector<std::wstring> wrapCaption(HDC dc, std::wstring_view caption, int width) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start <= caption.size()) {
        const std::size_t end = std::min(caption.find(L' ', start), caption.size());
        const std::wstring_view word = caption.substr(start, end - start);
        std::wstring joined = lines.empty() ? std::wstring(word) : lines.back() + L' ' + std::wstring(word);
        SIZE size{};
        GetTextExtentPoint32W(dc, joined.c_str(), static_cast<int>(joined.size()), &size);
        if (!lines.empty() && size.cx <= width) {
            lines.back() = std::move(joined);
        } else {
            lines.emplace_back(word);
        }
        start = end + 1;
    }
    return lines;
}

int textWidth(HDC dc, const std::wstring& line) {
    SIZE size{};
    GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
    return size.cx;
}

// A button shows its caption broken where the measure broke it, each line's
// spaces no-break ones: the system's button then draws exactly those lines
// (Wine's multi-line button would break at every space).
std::wstring shownCaption(const std::vector<std::wstring>& lines) {
    std::wstring shown;
    for (const std::wstring& line : lines) {
        if (!shown.empty()) shown += L"\r\n";
        for (const wchar_t c : line) shown += c == L' ' ? L'\u00A0' : c;
    }
    return shown;
}

// The caption, wrapped at word boundaries as the control wraps it, must stand
// inside the shared caption area: a button's frame stays free, and its lines
// keep a text margin inside that.
CaptionLayout layOutCaption(HWND control, const ControlRow& row, int dpi) {
    const PixelRect area = captionArea(row, dpi);
    const std::wstring caption = toWide(row.text);
    HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    CaptionLayout layout{false, caption};
    if (row.kind == ControlKind::Button) {
        const int width = area.width - 2 * MulDiv(buttonTextPadding, dpi, baseDpi);
        const std::vector<std::wstring> lines = wrapCaption(dc, caption, width);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        const bool narrow =
            std::ranges::all_of(lines, [&](const std::wstring& line) { return textWidth(dc, line) <= width; });
        layout = {narrow && static_cast<int>(lines.size()) * metrics.tmHeight <= area.height, shownCaption(lines)};
    } else {
        RECT needed{0, 0, area.width, 0};
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &needed,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        layout.fits = needed.right <= area.width && needed.bottom <= area.height;
    }
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return layout;
}

}  // namespace qadrill
