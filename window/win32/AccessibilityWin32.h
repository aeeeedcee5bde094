#pragma once
// The shared accessibility table (window/AccessibleControls.h) through the
// system's accessibility interface: each control answers a screen reader,
// and UI Automation's bridge, with the table's name, description and role
// over what the system's own object for the control says.  Labels stand just
// before the control they name, where screen readers look for them.

#include <windows.h>

#include <oleacc.h>

#include <string>

namespace qadrill {

struct AccessibleText {
    std::wstring name;
    std::wstring description;  // empty: the system's
    long role = 0;             // 0: the system's
};

// The control answers with these from now on.
void presentAccessibly(HWND control, AccessibleText text);

// The object a control presented so hands out for its client, before the
// system marshals it to the asking process; null for any other window.  The
// caller releases it.
[[nodiscard]] IAccessible* accessibleOf(HWND control);

// A window's own answer to WM_GETOBJECT for its client: the system's object
// with the text laid over it; 0 for every other object asked for.
[[nodiscard]] LRESULT accessibleObject(HWND window, WPARAM wParam, LPARAM lParam, const AccessibleText& text);

}  // namespace qadrill
