#pragma once
// The platform on a desktop: files, clock, random sequence and program end
// from the system platform (POSIX or Windows files); prompts, message boxes,
// clipboard and beep from Qt.

#include "platform/system/SystemPlatform.h"

namespace qadrill {

class DesktopPlatform final : public SystemPlatform {
public:
    DesktopPlatform() = default;

    // Prompt text, one edit field, OK and Cancel; no preset answer.
    [[nodiscard]] std::u16string inputBox(const std::u16string& prompt) override;
    // The text and one OK button, no icon; the text also goes to standard
    // error as "<application name>: <text>" on one line.
    void messageBox(const std::u16string& text) override;
    // The detail (where and why, in the system's words) opens under "Show
    // Details..." and follows the text on the standard-error line.
    void messageBoxWithDetail(const std::u16string& text, const std::u16string& detail) override;

    void setClipboardPicture(const Picture& picture) override;
    [[nodiscard]] std::optional<Picture> clipboardPicture() override;
    void beep() override;
};

}  // namespace qadrill
