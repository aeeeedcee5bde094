#pragma once
// The Qt controls behind the window surface.  The logic speaks CR LF; the
// text boxes break lines their own way, so every text is converted at this
// border.

#include <QString>
#include <string>
#include <string_view>

#include "window/WindowSurface.h"

class QPlainTextEdit;
class QTimer;

namespace qadrill {

class PictureBox;

struct WindowSurface::Controls {
    QPlainTextEdit& question;
    QPlainTextEdit& answer;
    PictureBox& picture1;
    PictureBox& picture2;
    QTimer& timer;

    [[nodiscard]] PictureBox& box(PictureBoxId id) const { return id == PictureBoxId::Picture1 ? picture1 : picture2; }
};

// Box text to logic text: each line break becomes CR LF.
[[nodiscard]] std::u16string toLogicText(const QPlainTextEdit& box);
// Logic text to box text: each CR LF becomes the box's line break.
[[nodiscard]] QString toBoxText(std::u16string_view text);

}  // namespace qadrill
