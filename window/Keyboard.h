#pragma once
// The keyboard rules both front ends follow, whatever their toolkit reports.

#include <string_view>

namespace qadrill {

// A key-down of Enter as the system reported it.
struct EnterDown {
    bool flaggedRepeat;      // marked as a held key's repeat
    bool followsOwnRelease;  // at the instant of Enter's last release: how X
                             // reports a repeat whose mark got lost
};

// A held Enter repeats.  A repeat presses no button and answers no dialog: it
// would record an answer twice, or close a report before it is read.  In a
// box of many lines it goes on starting new lines.
[[nodiscard]] constexpr bool isHeldEnter(EnterDown key) { return key.flaggedRepeat || key.followsOwnRelease; }

// What the focus entering the answer box (Tab, Shift+Tab, a click) does to
// its text.  While the box holds exactly the instruction text, all of it is
// selected, so what the student types replaces it and never lands in front
// of it.  Otherwise nothing is selected and the caret stays where the student
// left it (a click puts it where clicked): typed text is never replaced.
enum class AnswerEntry { SelectWhole, KeepCaret };

[[nodiscard]] constexpr AnswerEntry answerEntry(std::u16string_view boxText, std::u16string_view promptText) {
    return boxText == promptText ? AnswerEntry::SelectWhole : AnswerEntry::KeepCaret;
}

}  // namespace qadrill
