#pragma once
// The start-up prompt as a modal dialog: the prompt text, one edit field,
// OK and Cancel.  The dialog manager gives Enter to OK and Escape to Cancel.

#include <windows.h>

#include <string>

namespace qadrill {

// The text typed, or the empty text after Cancel or closing.
[[nodiscard]] std::u16string runPromptDialog(HWND owner, const wchar_t* title, const std::u16string& prompt);

}  // namespace qadrill
