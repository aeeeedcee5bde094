// One window, two front ends: every control's kind, rectangle at each
// resolution, caption and font, captions that fit, and the keyboard's walk
// through the tab order, from the multi-line boxes too.

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "tests/window/conformance/WindowProbe.h"
#include "window/ControlTable.h"

namespace qadrill::testing {

namespace {

std::string nameOf(const ControlRow& row) {
    std::string name(row.name);
    if (row.index >= 0) name += "_" + std::to_string(row.index);
    return name;
}

std::vector<ControlRow> widgets() {
    std::vector<ControlRow> rows;
    std::ranges::copy_if(controlTable(), std::back_inserter(rows),
                         [](const ControlRow& row) { return row.kind != ControlKind::Timer; });
    return rows;
}

// The stops in tab order: every control but the labels.
std::vector<std::string> tabStops() {
    std::vector<std::string> stops;
    for (const ControlRow& row : widgets()) {
        if (row.kind != ControlKind::Label) stops.push_back(nameOf(row));
    }
    return stops;
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

// A font's size lands on whole pixels: 9.75 points is 19.5 pixels at 144 dpi.
TEST_P(Conformance, BoxesUseArialAndCaptionsTheInterfaceFont) {
    const double halfPixel = 36.0 / GetParam();
    const ProbeFont interface = probe().font("cmd_quit");
    for (const ControlRow& row : widgets()) {
        if (row.kind == ControlKind::PictureBox) continue;  // no text to show
        const ProbeFont font = probe().font(nameOf(row));
        if (row.font == ControlFont::Arial975) {
            EXPECT_EQ(font.family, "Arial") << nameOf(row);
            EXPECT_NEAR(font.points, 9.75, halfPixel) << nameOf(row);
        } else {
            EXPECT_EQ(font.family, interface.family) << nameOf(row);
            EXPECT_EQ(font.points, interface.points) << nameOf(row);
        }
    }
    EXPECT_GE(interface.points, 6.5) << interface.family << " is too small to read";
}

TEST_P(Conformance, EveryCaptionFits) {
    for (const ControlRow& row : widgets()) {
        if (row.kind == ControlKind::Button || row.kind == ControlKind::Label) {
            EXPECT_TRUE(probe().captionFits(nameOf(row))) << nameOf(row) << " is cut off";
        }
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
TEST_P(Conformance, EnterPressesTheFocusedButton) {
    probe().type("txt_answer", "v = 3 m/s");
    EXPECT_EQ(probe().focusAfterKey("cmd_clear_answer_box", WindowProbe::Key::Enter), "cmd_clear_answer_box");
    EXPECT_EQ(probe().text("txt_answer"), "");
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
