#pragma once
// The platform on a desktop: files, clock, random sequence and program end
// from the system platform; prompts, message boxes, clipboard and beep from
// the front end.  Declared once here; each front end defines it with its own
// toolkit (window/qt, window/win32), of which CMake builds one.

#include <optional>
#include <string>

#include "platform/system/SystemPlatform.h"

namespace qadrill {

class DesktopPlatform final : public SystemPlatform {
public:
    DesktopPlatform() = default;

    // The main window once there is one, as the front end's own window
    // handle: it owns the dialogs and the clipboard.  A front end whose
    // toolkit finds the active window itself leaves it unset.
    void setOwner(void* window) { owner_ = window; }

    // Prompt text, one edit field, OK and Cancel; Enter is OK, Escape
    // Cancel; no preset answer.
    [[nodiscard]] std::u16string inputBox(const std::u16string& prompt) override;
    // The text and one OK button, no icon; the text also goes to standard
    // error as "qadrill: <text>" on one line.
    void messageBox(const std::u16string& text) override;
    // The detail (where and why, in the system's words) follows the text on
    // the standard-error line; a box that can fold it away shows it on demand.
    void messageBoxWithDetail(const std::u16string& text, const std::u16string& detail) override;

    // In the system's own picture format (a device-independent bitmap on Windows).
    void setClipboardPicture(const Picture& picture) override;
    [[nodiscard]] std::optional<Picture> clipboardPicture() override;
    void beep() override;

private:
    void* owner_ = nullptr;
};

}  // namespace qadrill
