// The desktop platform in Win32: dialogs, message boxes, the clipboard and the beep.
#include "window/DesktopPlatform.h"

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <new>
#include <string>

#include "platform/RuntimeError.h"
#include "window/ControlTable.h"
#include "window/Keyboard.h"
#include "window/ReportLine.h"
#include "window/win32/DibPictureWin32.h"
#include "window/win32/PictureBoxWin32.h"
#include "window/win32/PromptDialogWin32.h"

namespace qadrill {

namespace {

// While a prompt or a report is up, a held Enter's repeats answer nothing:
// the Enter that pressed a button in the window would close the report unread.
LRESULT CALLBACK dropHeldEnter(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code >= 0 && message->message == WM_KEYDOWN && message->wParam == VK_RETURN &&
        isHeldEnter({(message->lParam & (1 << 30)) != 0, false}))
        return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class HeldEnterDropped {
public:
    HeldEnterDropped() : hook_(SetWindowsHookExW(WH_MSGFILTER, dropHeldEnter, nullptr, GetCurrentThreadId())) {}
    ~HeldEnterDropped() {
        if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
    }
    HeldEnterDropped(const HeldEnterDropped&) = delete;
    HeldEnterDropped& operator=(const HeldEnterDropped&) = delete;

private:
    HHOOK hook_;
};

// The clipboard is shared; another program holding it is the drill's error 521.
class OpenClipboardGuard {
public:
    explicit OpenClipboardGuard(HWND owner) {
        if (OpenClipboard(owner) == FALSE) throw RuntimeError(err::clipboardUnavailable);
    }
    ~OpenClipboardGuard() { CloseClipboard(); }
    OpenClipboardGuard(const OpenClipboardGuard&) = delete;
    OpenClipboardGuard& operator=(const OpenClipboardGuard&) = delete;
};

// The report with its detail folded under "Show Details...", as a task
// dialog of the system's common controls; false where they offer none (no
// manifest, an old system), and the caller falls back on a message box.
bool showTaskDialog(HWND owner, const std::wstring& title, const std::wstring& text, const std::wstring& detail) {
    using TaskDialogIndirectCall = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);
    HMODULE controls = GetModuleHandleW(L"comctl32.dll");
    const FARPROC found = controls != nullptr ? GetProcAddress(controls, "TaskDialogIndirect") : nullptr;
    if (found == nullptr) return false;
    const auto taskDialog = reinterpret_cast<TaskDialogIndirectCall>(reinterpret_cast<void*>(found));
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = owner;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_SIZE_TO_CONTENT;
    config.dwCommonButtons = TDCBF_OK_BUTTON;
    config.pszWindowTitle = title.c_str();
    config.pszContent = text.c_str();
    config.pszExpandedInformation = detail.c_str();
    config.pszCollapsedControlText = L"Show Details...";
    config.pszExpandedControlText = L"Hide Details...";
    return SUCCEEDED(taskDialog(&config, nullptr, nullptr, nullptr));
}

}  // namespace

std::u16string DesktopPlatform::inputBox(const std::u16string& prompt) {
    const HeldEnterDropped held;
    const std::wstring title(promptTitle.begin(), promptTitle.end());  // ASCII
    return runPromptDialog(static_cast<HWND>(owner_), title.c_str(), prompt);
}

void DesktopPlatform::messageBox(const std::u16string& text) { messageBoxWithDetail(text, {}); }

void DesktopPlatform::messageBoxWithDetail(const std::u16string& text, const std::u16string& detail) {
    writeReportLine(text, detail);
    const HeldEnterDropped held;
    auto* owner = static_cast<HWND>(owner_);
    if (owner != nullptr && IsWindowVisible(owner) == FALSE) owner = nullptr;
    const std::wstring title(promptTitle.begin(), promptTitle.end());  // ASCII
    const std::wstring wideText(text.begin(), text.end());
    if (!detail.empty() && showTaskDialog(owner, title, wideText, std::wstring(detail.begin(), detail.end()))) return;
    MessageBoxW(owner, wideText.c_str(), title.c_str(), MB_OK | MB_TASKMODAL);
}

void DesktopPlatform::setClipboardPicture(const Picture& picture) {
    const BITMAPINFOHEADER header = topDownHeader(picture);
    const std::size_t pixelBytes = picture.argb.size() * sizeof(std::uint32_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof header + pixelBytes);
    if (block == nullptr) throw std::bad_alloc();
    auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
    std::memcpy(bytes, &header, sizeof header);
    std::memcpy(bytes + sizeof header, picture.argb.data(), pixelBytes);
    GlobalUnlock(block);
    const OpenClipboardGuard open(static_cast<HWND>(owner_));
    EmptyClipboard();
    if (SetClipboardData(CF_DIB, block) == nullptr) {
        GlobalFree(block);
        throw RuntimeError(err::clipboardUnavailable);
    }
}

std::optional<Picture> DesktopPlatform::clipboardPicture() {
    const OpenClipboardGuard open(static_cast<HWND>(owner_));
    HANDLE block = GetClipboardData(CF_DIB);
    if (block == nullptr) return std::nullopt;
    const void* dib = GlobalLock(block);
    if (dib == nullptr) return std::nullopt;
    std::optional<Picture> picture = pictureFromDib(dib, GlobalSize(block));
    GlobalUnlock(block);
    return picture;
}

void DesktopPlatform::beep() { MessageBeep(MB_OK); }

}  // namespace qadrill
