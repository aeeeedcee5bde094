#pragma once
// A push button whose caption wraps onto several lines inside the button, as
// "Next Question / Answer" must; a stock QPushButton keeps its label on one
// line and clips it.

#include <QPushButton>
#include <QString>

namespace qadrill {

class CaptionButton final : public QPushButton {
    Q_OBJECT

public:
    CaptionButton(const QString& caption, QWidget* parent);

    [[nodiscard]] const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Enter presses the focused button, as on the desktop the drill came
    // from; no button presses on the window's behalf.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString caption_;
};

// '&' would otherwise mark a keyboard access key, which no caption has.
[[nodiscard]] QString withoutAccessKeys(const QString& caption);

}  // namespace qadrill
