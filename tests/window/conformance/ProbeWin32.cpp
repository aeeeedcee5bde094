// The Win32 main window under the conformance suite.  One process walks both
// resolutions: the window lays itself out again as on a move to a screen of
// another resolution.  Keys go through the window's own message loop step,
// as typed keys do.

#include <windows.h>

#include <commctrl.h>

#include "platform/unicode/Utf8.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempDir.h"
#include "tests/window/conformance/WindowProbe.h"
#include "window/win32/ControlsWin32.h"
#include "window/win32/MainWindowWin32.h"
#include "window/win32/PictureBoxWin32.h"
#include "window/win32/SurfaceControlsWin32.h"

namespace qadrill::testing {

namespace {

std::string className(HWND control) {
    char name[64]{};
    GetClassNameA(control, name, sizeof name);
    return name;
}

class Win32Probe final : public WindowProbe {
public:
    explicit Win32Probe(int dpi) {
        window_.layOut(dpi);
        window_.show(SW_SHOWNOACTIVATE);
        pump();
    }

    bool exists(std::string_view name) override { return window_.control(name) != nullptr; }

    ControlKind kind(std::string_view name) override {
        HWND control = at(name);
        const std::string found = className(control);
        if (lstrcmpiA(found.c_str(), "Edit") == 0)
            return (GetWindowLongW(control, GWL_STYLE) & ES_MULTILINE) != 0 ? ControlKind::TextBox
                                                                            : ControlKind::LineBox;
        if (lstrcmpiA(found.c_str(), "Button") == 0) return ControlKind::Button;
        if (lstrcmpiA(found.c_str(), "Static") == 0) return ControlKind::Label;
        if (lstrcmpiA(found.c_str(), "ListBox") == 0) return ControlKind::ListBox;
        if (found == "QadrillPictureBox") return ControlKind::PictureBox;
        return ControlKind::Timer;
    }

    PixelRect rect(std::string_view name) override {
        RECT box{};
        GetWindowRect(at(name), &box);
        MapWindowPoints(HWND_DESKTOP, window_.handle(), reinterpret_cast<POINT*>(&box), 2);
        return {box.left, box.top, box.right - box.left, box.bottom - box.top};
    }

    std::string text(std::string_view name) override { return toUtf8(windowText(at(name))); }

    ProbeFont font(std::string_view name) override {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(at(name), WM_GETFONT, 0, 0)), sizeof font, &font);
        const std::wstring face = font.lfFaceName;
        return {std::string(face.begin(), face.end()), -font.lfHeight * 72.0 / window_.dpi()};
    }

    bool captionFits(std::string_view name) override { return qadrill::captionFits(at(name), window_.dpi()); }

    bool takesFocus(std::string_view name) override {
        return (GetWindowLongW(at(name), GWL_STYLE) & WS_TABSTOP) != 0 && IsWindowEnabled(at(name)) != FALSE;
    }

    std::string nextTabStop(std::string_view name, bool backwards) override {
        return nameOf(GetNextDlgTabItem(window_.handle(), at(name), backwards ? TRUE : FALSE));
    }

    std::string focusAfterKey(std::string_view name, Key key) override {
        SetFocus(at(name));
        BYTE keys[256]{};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = key == Key::ShiftTab ? 0x80 : 0;
        SetKeyboardState(keys);
        const WPARAM virtualKey = key == Key::Enter ? VK_RETURN : key == Key::Escape ? VK_ESCAPE : VK_TAB;
        PostMessageW(at(name), WM_KEYDOWN, virtualKey, 1);
        PostMessageW(at(name), WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001U));
        pump();
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        return nameOf(GetFocus());
    }

    // From the window's own surface, where the controls and the desktop have drawn.
    ProbeImage grab(std::string_view name) override {
        pump();
        HWND control = at(name);
        RECT box{};
        GetWindowRect(control, &box);
        ProbeImage image{box.right - box.left, box.bottom - box.top, {}};
        BITMAPINFO info{};
        info.bmiHeader = topDownHeader(Picture{image.width, image.height, {}});
        HDC source = GetWindowDC(control);
        HDC copy = CreateCompatibleDC(source);
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const HGDIOBJ old = SelectObject(copy, bitmap);
        BitBlt(copy, 0, 0, image.width, image.height, source, 0, 0, SRCCOPY);
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        for (std::size_t i = 0; i < static_cast<std::size_t>(image.width * image.height); ++i)
            image.rgb.push_back(pixels[i] & 0xFFFFFFU);
        SelectObject(copy, old);
        DeleteObject(bitmap);
        DeleteDC(copy);
        ReleaseDC(control, source);
        return image;
    }

    void load() override {
        platform_.answers = {u"1", u"Ann Lee Smith", u"als", u"1"};
        window_.load();
        pump();
    }

    void type(std::string_view name, std::string_view text) override {
        for (const char c : text) PostMessageW(at(name), WM_CHAR, static_cast<WPARAM>(c), 1);
        pump();
    }

    void press(std::string_view name) override {
        SendMessageW(at(name), BM_CLICK, 0, 0);
        pump();
    }

private:
    HWND at(std::string_view name) {
        HWND control = window_.control(name);
        if (control == nullptr) throw std::logic_error("no control " + std::string(name));
        return control;
    }

    std::string nameOf(HWND control) {
        for (const ControlRow& row : controlTable()) {
            if (window_.control(controlName(row)) == control && control != nullptr) return controlName(row);
        }
        return "(none)";
    }

    void pump() {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) window_.handleMessage(message);
    }

    TempDir dir_;
    ScriptedPlatform platform_{dir_.path()};
    MainWindowWin32 window_{platform_, GetModuleHandleW(nullptr)};
};

}  // namespace

std::unique_ptr<WindowProbe> makeProbe(int dpi) { return std::make_unique<Win32Probe>(dpi); }

std::vector<int> probeResolutions() { return {96, 144}; }

}  // namespace qadrill::testing
