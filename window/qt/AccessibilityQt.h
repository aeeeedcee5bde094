#pragma once
// The accessible side of the built controls, from the shared table
// (window/AccessibleControls.h): the pictures present as a drawing area and
// an image rather than as bare frames, the main window as a window, the
// descriptions, and each label as the buddy of the control it names, which
// the toolkit reports as a labelled-by relation.

#include <QWidget>
#include <cstddef>

class QString;

namespace qadrill {

// A notification on the window, without a look of its own: a screen reader
// reads a notification out as it appears, wherever the focus is, where it
// would pass over text added to a box the student is not in.
class Announcement final : public QWidget {
    Q_OBJECT

public:
    explicit Announcement(QWidget& window);
};

// The most of a text a reader is given to speak at once.
inline constexpr std::size_t announcedLength = 4096;

// Has a screen reader read `text` out now, the focus left where it is.
void announce(QWidget& window, const QString& text);

// Before the window is shown; a second call changes nothing.
void installAccessibleRoles();

// Descriptions and label buddies for the controls built on the form.
void describeControls(QWidget& form);

}  // namespace qadrill
