// The desktop platform in Win32: dialogs, message boxes, the clipboard and the beep.
#include "window/DesktopPlatform.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "platform/RuntimeError.h"
#include "platform/unicode/Utf8.h"
#include "window/win32/DibPictureWin32.h"
#include "window/win32/PictureBoxWin32.h"
#include "window/win32/PromptDialogWin32.h"

namespace qadrill {

namespace {

// Reports carry the program's name, as its standard-error lines do; the
// prompts the drill's name, since their text alone does not say who asks.
constexpr const wchar_t* reportTitle = L"qadrill";
constexpr const wchar_t* promptTitle = L"Q&A Drill";

// Every report is also one line on standard error, so a report that flashed
// past leaves a trace.
void reportLine(const std::u16string& text) {
    std::string line = toUtf8(text);
    for (char& c : line) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    std::fprintf(stderr, "qadrill: %s\n", line.c_str());
    std::fflush(stderr);
}

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
bool showTaskDialog(HWND owner, const std::wstring& text, const std::wstring& detail) {
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
    config.pszWindowTitle = reportTitle;
    config.pszContent = text.c_str();
    config.pszExpandedInformation = detail.c_str();
    config.pszCollapsedControlText = L"Show Details...";
    config.pszExpandedControlText = L"Hide Details...";
    return SUCCEEDED(taskDialog(&config, nullptr, nullptr, nullptr));
}

}  // namespace

std::u16string DesktopPlatform::inputBox(const std::u16string& prompt) {
    return runPromptDialog(static_cast<HWND>(owner_), promptTitle, prompt);
}

void DesktopPlatform::messageBox(const std::u16string& text) { messageBoxWithDetail(text, {}); }

void DesktopPlatform::messageBoxWithDetail(const std::u16string& text, const std::u16string& detail) {
    reportLine(detail.empty() ? text : text + u" (" + detail + u")");
    auto* owner = static_cast<HWND>(owner_);
    if (owner != nullptr && IsWindowVisible(owner) == FALSE) owner = nullptr;
    const std::wstring wideText(text.begin(), text.end());
    if (!detail.empty() && showTaskDialog(owner, wideText, std::wstring(detail.begin(), detail.end()))) return;
    MessageBoxW(owner, wideText.c_str(), reportTitle, MB_OK | MB_TASKMODAL);
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
