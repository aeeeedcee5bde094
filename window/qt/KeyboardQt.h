#pragma once
// The shared keyboard rules (window/Keyboard.h) over Qt's events: a held
// Enter presses no button and answers no dialog after its first press, and
// the answer box selects the instruction text when the focus enters it.

#include <QObject>
#include <functional>
#include <optional>

#include "window/Keyboard.h"

class QPlainTextEdit;

namespace qadrill {

// Watches every key event of the application, so the prompts and the report
// boxes follow the rule too.
class HeldEnterFilter final : public QObject {
    Q_OBJECT

public:
    explicit HeldEnterFilter(QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<quint64> lastRelease_;  // the time of Enter's last release
};

// Applies the entry rule, asked of the shared window, whenever the focus
// enters the box; a click that brings it there selects rather than placing
// the caret.
class AnswerEntryFilter final : public QObject {
    Q_OBJECT

public:
    AnswerEntryFilter(QPlainTextEdit& box, std::function<AnswerEntry()> entry);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit& box_;
    // Kept from the start: the box sends events while it is destroyed, when
    // it is no longer a scroll area to ask for its viewport.
    const QObject* viewport_;
    std::function<AnswerEntry()> entry_;
    bool clickSelected_ = false;  // a click's focus selected the instruction
};

}  // namespace qadrill
