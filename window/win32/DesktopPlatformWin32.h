#pragma once
// The platform on the Windows desktop: files, clock, random sequence and
// program end from the system platform; prompts, message boxes, clipboard and
// beep from Win32.

#include <windows.h>

#include "platform/system/SystemPlatform.h"

namespace qadrill {

class DesktopPlatformWin32 final : public SystemPlatform {
public:
    DesktopPlatformWin32() = default;

    // The window that owns the clipboard and the dialogs, once there is one.
    void setOwner(HWND owner) { owner_ = owner; }

    // Prompt text, one edit field, OK and Cancel; Enter is OK, Escape Cancel.
    [[nodiscard]] std::u16string inputBox(const std::u16string& prompt) override;
    // The text and one OK button, no icon; the text also goes to standard
    // error as "qadrill: <text>" on one line.
    void messageBox(const std::u16string& text) override;
    // The detail (where and why, in the system's words) follows the text on
    // the standard-error line; the box shows the text alone.
    void messageBoxWithDetail(const std::u16string& text, const std::u16string& detail) override;

    // As a device-independent bitmap (CF_DIB), the system's own picture format.
    void setClipboardPicture(const Picture& picture) override;
    [[nodiscard]] std::optional<Picture> clipboardPicture() override;
    void beep() override;

private:
    HWND owner_ = nullptr;
};

// A picture from a CF_DIB block: 24 or 32 bits, either row order; nullopt
// for any other layout.
[[nodiscard]] std::optional<Picture> pictureFromDib(const void* dib, std::size_t size);

}  // namespace qadrill
