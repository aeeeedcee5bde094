#pragma once
// A dotted focus frame for the controls whose system class shows no focus of
// its own: the picture boxes and the empty list.

#include <windows.h>

namespace qadrill {

// Inverts a dotted rectangle one pixel inside the client area, so drawing it
// twice takes it away and leaves what lies under it as it was.
void invertFocusFrame(HWND control, HDC dc);

// Lets a list box that never holds an item show the frame while it has the
// focus, in place of the item's focus mark it would draw.
void frameFocusOfEmptyList(HWND list);

}  // namespace qadrill
