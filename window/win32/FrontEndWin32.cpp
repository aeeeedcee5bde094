#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <utility>

#include "drill/StartBank.h"
#include "platform/unicode/Utf8.h"
#include "window/DesktopPlatform.h"
#include "window/FrontEnd.h"
#include "window/win32/MainWindowWin32.h"

namespace qadrill {

std::vector<std::string> programArguments(int /*argc*/, char** /*argv*/) {
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> wide(CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
    std::vector<std::string> arguments;
    for (int i = 1; wide && i < count; ++i) {
        arguments.push_back(toUtf8(reinterpret_cast<const char16_t*>(wide.get()[i])));
    }
    return arguments;
}

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

int runDrillWindow(int /*argc*/, char** /*argv*/, const std::optional<std::filesystem::path>& bankFile) {
    // A screen reader's request for a control's object is answered through COM.
    static_cast<void>(OleInitialize(nullptr));
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    DesktopPlatform platform;
    std::optional<BankEntries> bank;
    if (bankFile) {
        bank = openStartBank(platform, *bankFile);
        if (!bank) return 1;
    }
    MainWindowWin32 window(platform, GetModuleHandleW(nullptr));
    if (bank) window.drillWindow().drill().useBankFile(std::move(*bank));
    platform.setOwner(window.handle());
    window.load();
    window.show(SW_SHOWDEFAULT);
    window.runMessageLoop();
    platform.endProgram();
}

}  // namespace qadrill
