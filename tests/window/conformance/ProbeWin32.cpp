// The Win32 main window under the conformance suite.  One process walks both
// resolutions: the window lays itself out again as on a move to a screen of
// another resolution.  Keys go through the window's own message loop step,
// as typed keys do.

#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include "platform/unicode/Utf8.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempDir.h"
#include "tests/window/conformance/WindowProbe.h"
#include "window/win32/AccessibilityWin32.h"
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
        static_cast<void>(OleInitialize(nullptr));  // as the program does: accessibility goes through COM
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

    // As read: a button's line breaks and no-break spaces are the caption's spaces.
    std::string text(std::string_view name) override {
        std::u16string shown = windowText(at(name));
        if (kind(name) == ControlKind::Button) {
            std::u16string read;
            for (std::size_t i = 0; i < shown.size(); ++i) {
                if (shown[i] == u'\r' && i + 1 < shown.size() && shown[i + 1] == u'\n') ++i;
                read += shown[i] == u'\n' || shown[i] == u'\r' || shown[i] == u'\u00A0' ? u' ' : shown[i];
            }
            shown = read;
        }
        return toUtf8(shown);
    }

    ProbeFont font(std::string_view name) override {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(at(name), WM_GETFONT, 0, 0)), sizeof font, &font);
        const std::wstring face = font.lfFaceName;
        return {std::string(face.begin(), face.end()), -font.lfHeight * 72.0 / window_.dpi()};
    }

    std::string title() override { return toUtf8(windowText(window_.handle())); }

    // The object the control hands a screen reader's request (Wine cannot
    // marshal it between processes, which Windows does); the label is the
    // static control just before it, where screen readers look.
    Accessible accessible(std::string_view name) override {
        Accessible got;
        IAccessible* object = accessibleOf(at(name));
        if (object == nullptr) return got;
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR text = nullptr;
        if (SUCCEEDED(object->get_accName(self, &text)) && text != nullptr) got.name = fromBstr(text);
        text = nullptr;
        if (SUCCEEDED(object->get_accDescription(self, &text)) && text != nullptr) got.description = fromBstr(text);
        VARIANT role{};
        if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) got.role = role.lVal;
        object->Release();
        HWND before = GetWindow(at(name), GW_HWNDPREV);
        if (before != nullptr && className(before) == "Static") got.labelledBy = nameOf(before);
        return got;
    }

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
        const WPARAM virtualKey = key == Key::Enter || key == Key::HeldEnter ? VK_RETURN
                                  : key == Key::Escape                       ? VK_ESCAPE
                                                                             : VK_TAB;
        // A repeat says the key was down before it.
        PostMessageW(at(name), WM_KEYDOWN, virtualKey, key == Key::HeldEnter ? 0x40000001 : 1);
        if (key != Key::HeldEnter) PostMessageW(at(name), WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001U));
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

    void click(std::string_view name) override {
        RECT client{};
        GetClientRect(at(name), &client);
        const LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
        PostMessageW(at(name), WM_LBUTTONDOWN, MK_LBUTTON, middle);
        PostMessageW(at(name), WM_LBUTTONUP, 0, middle);
        pump();
    }

    void setText(std::string_view name, std::string_view text) override {
        setWindowText(at(name), fromUtf8(text));
        RedrawWindow(at(name), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
        pump();
    }

    void setPromptText(std::string_view text) override {
        window_.drillWindow().drill().state().promptText = fromUtf8(text);
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

    static std::string fromBstr(BSTR text) {
        std::string utf8 = toUtf8(std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text)));
        SysFreeString(text);
        return utf8;
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

std::vector<int> probeResolutions() { return {96, 144, 192}; }

}  // namespace qadrill::testing
