// One window, two front ends: every control's kind, rectangle at each
// resolution, caption and font, captions shown whole as drawn, what a screen
// reader gets, and the keyboard: the walk through the tab order, from the
// multi-line boxes too, and what the same keys leave in the answer box.

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "tests/window/conformance/WindowProbe.h"
#include "window/AccessibleControls.h"
#include "window/ControlTable.h"
#include "window/ReportLine.h"

namespace qadrill::testing {

namespace {

std::string nameOf(const ControlRow& row) { return controlName(row); }

std::vector<ControlRow> widgets() {
    std::vector<ControlRow> rows;
    std::ranges::copy_if(controlTable(), std::back_inserter(rows),
                         [](const ControlRow& row) { return row.kind != ControlKind::Timer; });
    return rows;
}

// The stops in the table's tab order: every control but the labels.
std::vector<std::string> tabStops() {
    std::vector<std::string> stops;
    for (const std::size_t i : tabOrder()) {
        if (controlTable()[i].kind != ControlKind::Label) stops.push_back(nameOf(controlTable()[i]));
    }
    return stops;
}

// Where a rendered caption stands: the box around every pixel that differs
// between the control as shown and the same control without its caption.
struct Ink {
    int left = 0;
    int top = 0;
    int right = -1;  // inclusive; below left: nothing drawn
    int bottom = -1;
};

Ink inkBetween(const ProbeImage& shown, const ProbeImage& blank) {
    Ink ink{shown.width, shown.height, -1, -1};
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            const auto at = static_cast<std::size_t>(y * shown.width + x);
            if (shown.rgb[at] == blank.rgb[at]) continue;
            ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x), std::max(ink.bottom, y)};
        }
    }
    return ink;
}

// The right edge of what shows of a label, in its own pixels: a control
// that overlaps it from the right covers the rest.
int shownWidth(const ControlRow& label, int dpi) {
    const PixelRect own = toPixels(label.rect, dpi);
    int width = own.width;
    for (const ControlRow& other : widgets()) {
        const PixelRect rect = toPixels(other.rect, dpi);
        const bool overlaps = rect.left > own.left && rect.left < own.left + own.width &&
                              rect.top < own.top + own.height && rect.top + rect.height > own.top;
        if (&other != &label && other.kind != ControlKind::Label && overlaps)
            width = std::min(width, rect.left - own.left);
    }
    return width;
}

class Conformance : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { probe_ = makeProbe(GetParam()); }
    WindowProbe& probe() { return *probe_; }

private:
    std::unique_ptr<WindowProbe> probe_;
};

TEST_P(Conformance, EveryControlHasItsKindTextAndRectangle) {
    for (const ControlRow& row : widgets()) {
        const std::string name = nameOf(row);
        ASSERT_TRUE(probe().exists(name)) << name;
        EXPECT_EQ(probe().kind(name), row.kind) << name;
        EXPECT_EQ(probe().text(name), row.text) << name;
        EXPECT_EQ(probe().rect(name), toPixels(row.rect, GetParam())) << name << " at " << GetParam() << " dpi";
        EXPECT_EQ(probe().takesFocus(name), row.kind != ControlKind::Label) << name;
    }
}

TEST_P(Conformance, WindowTitle) { EXPECT_EQ(probe().title(), formTitle); }

// A font's size lands on whole pixels: 9.75 points is 19.5 pixels at 144 dpi.
TEST_P(Conformance, BoxesUseArialAndCaptionsTheInterfaceFont) {
    const double halfPixel = 36.0 / GetParam();
    const ProbeFont interface = probe().font("cmd_quit");
    for (const ControlRow& row : widgets()) {
        if (row.kind == ControlKind::PictureBox) continue;  // no text to show
        const ProbeFont font = probe().font(nameOf(row));
        if (row.font == ControlFont::Arial975) {
            EXPECT_EQ(font.family, boxFont.family) << nameOf(row);
            EXPECT_NEAR(font.points, boxFont.points, halfPixel) << nameOf(row);
        } else {
            EXPECT_EQ(font.family, interface.family) << nameOf(row);
            EXPECT_EQ(font.points, interface.points) << nameOf(row);
        }
    }
    EXPECT_GE(interface.points, 6.5) << interface.family << " is too small to read";
}

// Judged from the pixels drawn: the caption shows, a button's text keeps
// off its bevel, and no text runs to an edge where it would be cut (a label
// starts at its top-left corner, so only its right and bottom edges count).
TEST_P(Conformance, EveryCaptionShowsWhole) {
    const int bevel = 2 * GetParam() / 96;
    for (const ControlRow& row : widgets()) {
        if (row.kind != ControlKind::Button && row.kind != ControlKind::Label) continue;
        const std::string name = nameOf(row);
        const ProbeImage shown = probe().grab(name);
        probe().setText(name, "");
        const ProbeImage blank = probe().grab(name);
        probe().setText(name, row.text);
        ASSERT_EQ(shown.rgb.size(), blank.rgb.size()) << name;
        const Ink ink = inkBetween(shown, blank);
        ASSERT_GE(ink.right, ink.left) << name << ": no caption drawn";
        const std::string where = " " + std::to_string(ink.left) + "," + std::to_string(ink.top) + " to " +
                                  std::to_string(ink.right) + "," + std::to_string(ink.bottom) + " in " +
                                  std::to_string(shown.width) + "x" + std::to_string(shown.height);
        if (row.kind == ControlKind::Button) {
            EXPECT_TRUE(ink.left >= bevel && ink.top >= bevel && ink.right < shown.width - bevel &&
                        ink.bottom < shown.height - bevel)
                << name << " reaches into its frame:" << where;
        } else {
            EXPECT_LT(ink.right, shownWidth(row, GetParam()) - 1) << name << " is cut at the right:" << where;
            EXPECT_LT(ink.bottom, shown.height - 1) << name << " is cut at the bottom:" << where;
        }
    }
}

// Every control's name, description, role and label as a screen reader gets
// them, from the one accessibility table.
TEST_P(Conformance, ScreenReaderGetsTheTable) {
    for (const ControlRow& row : widgets()) {
        const std::string name = nameOf(row);
        const WindowProbe::Accessible got = probe().accessible(name);
        EXPECT_EQ(got.name, accessibleNameOf(row)) << name;
        EXPECT_EQ(got.role, accessibleRoleNumber(row)) << name;
        const auto described = accessibleRowOf(row.name, row.index);
        if (described) {
            EXPECT_EQ(got.description, described->description) << name;
        }
        std::string label;
        for (const LabelPair& pair : labelPairs()) {
            if (pair.control == row.name && pair.index == row.index)
                label = nameOf(ControlRow{pair.label, pair.index, ControlKind::Label, {}, {}, -1, {}, {}});
        }
        EXPECT_EQ(got.labelledBy, label) << name;
    }
}

TEST_P(Conformance, TabWalksTheTableForwardsAndBackwardsAndWraps) {
    const std::vector<std::string> stops = tabStops();
    for (std::size_t i = 0; i < stops.size(); ++i) {
        const std::string& next = stops[(i + 1) % stops.size()];
        EXPECT_EQ(probe().nextTabStop(stops[i], false), next) << "Tab from " << stops[i];
        EXPECT_EQ(probe().nextTabStop(next, true), stops[i]) << "Shift+Tab from " << next;
    }
}

// Tab leaves even the big boxes; Enter and Escape neither press a button nor
// close the window, and Enter in a one-line box stays there.
TEST_P(Conformance, KeysTypedInTheBoxes) {
    using Key = WindowProbe::Key;
    struct Row {
        const char* box;
        Key key;
        const char* reached;
    };
    for (const Row row :
         {Row{"txt_question", Key::Tab, "txt_answer"}, Row{"txt_question", Key::ShiftTab, "cmd_clear_answer_box"},
          Row{"txt_answer", Key::Tab, "cmdNextQuestion"}, Row{"txt_answer", Key::ShiftTab, "txt_question"},
          Row{"txt_paragraph_goback", Key::Enter, "txt_paragraph_goback"},
          Row{"txt_parameter_3", Key::Enter, "txt_parameter_3"}, Row{"txt_question", Key::Escape, "txt_question"},
          Row{"txt_answer", Key::Escape, "txt_answer"}, Row{"txt_parameter_0", Key::Escape, "txt_parameter_0"}}) {
        EXPECT_EQ(probe().focusAfterKey(row.box, row.key), row.reached) << row.box << ", key " << int(row.key);
    }
    EXPECT_EQ(probe().text("txt_question"), "") << "a key went into the box";
    EXPECT_EQ(probe().text("txt_answer"), "") << "a key went into the box";
    EXPECT_EQ(probe().text("txt_paragraph_goback"), "1");
}

// Space and Enter both press the focused button; there is no default button.
// A held Enter's repeats press nothing.
TEST_P(Conformance, EnterPressesTheFocusedButton) {
    probe().type("txt_answer", "v = 3 m/s");
    EXPECT_EQ(probe().focusAfterKey("cmd_clear_answer_box", WindowProbe::Key::HeldEnter), "cmd_clear_answer_box");
    EXPECT_EQ(probe().text("txt_answer"), "v = 3 m/s") << "a held Enter's repeat pressed the button";
    EXPECT_EQ(probe().focusAfterKey("cmd_clear_answer_box", WindowProbe::Key::Enter), "cmd_clear_answer_box");
    EXPECT_EQ(probe().text("txt_answer"), "");
}

// The same keys leave the same answer: entering the box while it holds the
// instruction text, typing replaces it; entering it while it holds what the
// student typed, typing adds to that and replaces nothing.
TEST_P(Conformance, TypingAfterEnteringTheAnswerBox) {
    const std::string instruction = "Enter, as appropriate, an answer.\r\n\r\nAlways critique your solutions.";
    using Key = WindowProbe::Key;
    struct Row {
        const char* how;
        bool holdsInstruction;
        const char* from;  // "": a click
        Key key;
    };
    for (const Row row :
         {Row{"Tab", true, "txt_question", Key::Tab}, Row{"Shift+Tab", true, "cmdNextQuestion", Key::ShiftTab},
          Row{"click", true, "", Key::Tab}, Row{"Tab into typed text", false, "txt_question", Key::Tab},
          Row{"click into typed text", false, "", Key::Tab}}) {
        probe().setPromptText(instruction);
        probe().setText("txt_answer", row.holdsInstruction ? instruction : "v = 3 m/s");
        ASSERT_EQ(probe().focusAfterKey("cmd_quit", Key::Tab), "cmd_pend_exp");  // the focus elsewhere
        if (*row.from == '\0') {
            probe().click("txt_answer");
        } else {
            ASSERT_EQ(probe().focusAfterKey(row.from, row.key), "txt_answer") << row.how;
        }
        probe().type("txt_answer", "Units check.");
        const std::string typed = probe().text("txt_answer");
        if (row.holdsInstruction) {
            EXPECT_EQ(typed, "Units check.") << row.how;
        } else {
            EXPECT_EQ(typed.size(), std::string("v = 3 m/sUnits check.").size()) << row.how << ": " << typed;
            EXPECT_NE(typed.find("Units check."), std::string::npos) << row.how << ": " << typed;
        }
    }
}

// The stops whose toolkit shows no focus of its own get a frame along their
// edge when Tab reaches them, and nothing else of them changes; once the
// focus has left, they look as before.
TEST_P(Conformance, FocusFrameOnThePicturesAndTheList) {
    const int ring = 8 * GetParam() / 96;  // border plus frame, in device pixels
    for (const auto& [control, before] : {std::pair{"Picture1", "cmd_enter_response"},
                                          std::pair{"Picture2", "Picture1"}, std::pair{"List1", "cmd_timerTrigger"}}) {
        ASSERT_EQ(probe().focusAfterKey("txt_question", WindowProbe::Key::Tab), "txt_answer");  // focus elsewhere
        const ProbeImage away = probe().grab(control);
        ASSERT_EQ(probe().focusAfterKey(before, WindowProbe::Key::Tab), control);
        const ProbeImage focused = probe().grab(control);
        ASSERT_NE(probe().focusAfterKey(control, WindowProbe::Key::Tab), control);
        EXPECT_EQ(probe().grab(control), away) << control << ": the frame stayed after the focus left";
        ASSERT_EQ(focused.rgb.size(), away.rgb.size());
        int changed = 0;
        int inside = 0;
        for (int y = 0; y < away.height; ++y) {
            for (int x = 0; x < away.width; ++x) {
                const auto at = static_cast<std::size_t>(y * away.width + x);
                if (focused.rgb[at] == away.rgb[at]) continue;
                ++changed;
                if (x >= ring && y >= ring && x < away.width - ring && y < away.height - ring) ++inside;
            }
        }
        EXPECT_GE(changed, (away.width + away.height) / 2) << control << ": no frame along the edge";
        EXPECT_EQ(inside, 0) << control << ": more than the edge changed";
    }
}

// What the student types into the question box between two questions stays
// in the drill's display text: "display notes" without a notes log appends
// that text to the box once more.
TEST_P(Conformance, TypedIntoTheQuestionBoxBetweenTwoQuestions) {
    probe().load();
    probe().press("cmdNextQuestion");
    const std::string first = probe().text("txt_question");
    probe().type("txt_question", "x");
    const std::string typed = probe().text("txt_question");
    ASSERT_EQ(typed.size(), first.size() + 1) << "the key went elsewhere";
    probe().press("cmdNextQuestion");
    const std::string shown = probe().text("txt_question");
    ASSERT_GT(shown.size(), typed.size());
    EXPECT_EQ(shown.substr(0, typed.size()), typed);
    probe().press("cmd_display_note_file");
    EXPECT_EQ(probe().text("txt_question"), shown + shown);
}

TEST_P(Conformance, PressingClearBoxEmptiesTheAnswerBox) {
    probe().type("txt_answer", "v = 3 m/s");
    ASSERT_EQ(probe().text("txt_answer"), "v = 3 m/s");
    probe().press("cmd_clear_answer_box");
    EXPECT_EQ(probe().text("txt_answer"), "");
}

// One line on standard error whichever front end reports: each line break
// one space.
TEST(ReportLine, EachLineBreakIsOneSpace) {
    struct Row {
        std::u16string_view text;
        std::u16string_view detail;
        std::string_view line;
    };
    for (const Row row : {Row{u"Error 75\r\nPath/File access error", u"", "qadrill: Error 75 Path/File access error\n"},
                          Row{u"a\nb\rc\r\r\nd", u"", "qadrill: a b c  d\n"},
                          Row{u"Error 70", u"c:\\plovenda\\send.txt:\r\nlocked",
                              "qadrill: Error 70 (c:\\plovenda\\send.txt: locked)\n"}}) {
        EXPECT_EQ(reportLine(row.text, row.detail), row.line);
    }
}

// Edges, not sizes, are rounded, at 96 dpi first: neighbours that meet in
// twips meet in pixels at every resolution.
TEST(PixelLayout, ScalesTheNinetySixDpiEdges) {
    struct Row {
        TwipRect twips;
        int dpi;
        PixelRect pixels;
    };
    for (const Row row :
         {Row{{240, 720, 5175, 5255}, 96, {16, 48, 345, 350}}, Row{{240, 720, 5175, 5255}, 144, {24, 72, 518, 525}},
          Row{{240, 6080, 5175, 1375}, 144, {24, 608, 518, 138}}, Row{{6720, 7680, 300, 285}, 120, {560, 640, 25, 24}},
          Row{{0, 0, formWidthTwips, formHeightTwips}, 192, {0, 0, 1450, 1146}}}) {
        EXPECT_EQ(toPixels(row.twips, row.dpi), row.pixels)
            << row.twips.left << "," << row.twips.top << " at " << row.dpi;
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, Conformance, ::testing::ValuesIn(probeResolutions()),
                         [](const ::testing::TestParamInfo<int>& resolution) {
                             return std::to_string(resolution.param);
                         });

}  // namespace

}  // namespace qadrill::testing
