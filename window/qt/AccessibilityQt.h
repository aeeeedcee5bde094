#pragma once
// The accessible side of the built controls, from the shared table
// (window/AccessibleControls.h): the pictures present as a drawing area and
// an image rather than as bare frames, the main window as a window, the
// descriptions, and each label as the buddy of the control it names, which
// the toolkit reports as a labelled-by relation.

class QWidget;

namespace qadrill {

// Before the window is shown; a second call changes nothing.
void installAccessibleRoles();

// Descriptions and label buddies for the controls built on the form.
void describeControls(QWidget& form);

}  // namespace qadrill
