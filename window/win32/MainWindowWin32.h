#pragma once
// The main window in Win32, cmd_pend_exp: the 29 controls of the control
// table at the window's resolution, handing every press, tick and the
// closing to the shared DrillWindow.
//
// Start: construct (the window exists, hidden), call load() (the prompts
// appear with no window on the screen), show(), then runMessageLoop().

#include <windows.h>

#include <memory>
#include <string_view>

#include "platform/Platform.h"
#include "window/DrillWindow.h"
#include "window/win32/ControlsWin32.h"
#include "window/win32/SurfaceControlsWin32.h"

namespace qadrill {

class MainWindowWin32 {
public:
    MainWindowWin32(Platform& platform, HINSTANCE instance);
    ~MainWindowWin32();
    MainWindowWin32(const MainWindowWin32&) = delete;
    MainWindowWin32& operator=(const MainWindowWin32&) = delete;

    void load() { drillWindow_->load(); }
    void show(int showCommand);
    // Runs until the window is gone; the keyboard as in a dialog.
    int runMessageLoop();
    // One message as the loop handles it; false for WM_QUIT.
    bool handleMessage(const MSG& message);

    [[nodiscard]] HWND handle() const { return form_; }
    // The control of this table name ("txt_parameter_0"), or null.
    [[nodiscard]] HWND control(std::string_view name) const;
    [[nodiscard]] DrillWindow& drillWindow() { return *drillWindow_; }

    // Places the controls and picks the fonts at this resolution, as a move
    // to a screen of another resolution does.
    void layOut(int dpi);
    [[nodiscard]] int dpi() const { return dpi_; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void resizeClientArea();
    void moveFocus(bool backwards);

    HWND form_ = nullptr;
    int dpi_ = 96;
    ControlWindows controls_{};
    ControlFonts fonts_;
    WindowSurface::Controls surfaceControls_;
    WindowSurface surface_{surfaceControls_};
    std::unique_ptr<DrillWindow> drillWindow_;
};

}  // namespace qadrill
