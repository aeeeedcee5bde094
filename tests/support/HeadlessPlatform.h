#pragma once
// The system's platform with no desktop: the files, clock and random
// sequence are real; prompts, message boxes, clipboard and beep, which only
// a window offers, do nothing.  For tests and benchmarks that never reach them.

#include <optional>
#include <string>

#include "platform/system/SystemPlatform.h"

namespace qadrill::testing {

class HeadlessPlatform : public SystemPlatform {
public:
    using SystemPlatform::SystemPlatform;

    [[nodiscard]] std::u16string inputBox(const std::u16string&) override { return {}; }
    void messageBox(const std::u16string&) override {}
    void setClipboardPicture(const Picture&) override {}
    [[nodiscard]] std::optional<Picture> clipboardPicture() override { return std::nullopt; }
    void beep() override {}
};

}  // namespace qadrill::testing
