#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

#include <cstdio>

#include "window/DesktopPlatform.h"
#include "window/FrontEnd.h"
#include "window/win32/MainWindowWin32.h"

namespace qadrill {

// A program without a console of its own writes to the one it was started
// from, if any; where the streams already lead somewhere they stay.
void attachConsole() {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output != nullptr && output != INVALID_HANDLE_VALUE) return;
    if (AttachConsole(ATTACH_PARENT_PROCESS) == FALSE) return;
    std::FILE* reopened = nullptr;
    freopen_s(&reopened, "CONOUT$", "w", stdout);
    freopen_s(&reopened, "CONOUT$", "w", stderr);
}

int runDrillWindow(int /*argc*/, char* /*argv*/[]) {
    // A screen reader's request for a control's object is answered through COM.
    static_cast<void>(OleInitialize(nullptr));
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    DesktopPlatform platform;
    MainWindowWin32 window(platform, GetModuleHandleW(nullptr));
    platform.setOwner(window.handle());
    window.load();
    window.show(SW_SHOWDEFAULT);
    window.runMessageLoop();
    platform.endProgram();
}

}  // namespace qadrill
