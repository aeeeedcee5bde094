// The report box as the student sees it on Windows: the report's text as
// given under the title "Q&A Drill"; with a detail (where and why), a "Show
// Details..." button that unfolds it, without one a plain box.  The boxes are
// read through their child windows, as the system under test (Wine) builds
// them.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "window/DesktopPlatform.h"

namespace qadrill {

namespace {

struct Shown {
    std::wstring text;
    bool visible = false;
    HWND window = nullptr;
};

// What the box showed before and after its details button was pressed.
struct BoxSeen {
    std::vector<Shown> before;
    std::vector<Shown> after;
};

BoxSeen seen;

BOOL CALLBACK collect(HWND child, LPARAM into) {
    std::wstring text(512, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(child, text.data(), 512)));
    reinterpret_cast<std::vector<Shown>*>(into)->push_back({text, IsWindowVisible(child) != FALSE, child});
    return TRUE;
}

const Shown* find(const std::vector<Shown>& shown, const std::wstring& text) {
    for (const Shown& item : shown) {
        if (item.text == text) return &item;
    }
    return nullptr;
}

// Runs inside the box's own message loop: reads it, unfolds the detail,
// reads it again and presses OK.
void CALLBACK readTheBox(HWND /*window*/, UINT /*message*/, UINT_PTR timer, DWORD /*time*/) {
    HWND box = FindWindowW(nullptr, L"Q&A Drill");
    if (box == nullptr) return;
    KillTimer(nullptr, timer);
    EnumChildWindows(box, collect, reinterpret_cast<LPARAM>(&seen.before));
    if (const Shown* details = find(seen.before, L"Show Details...")) SendMessageW(details->window, BM_CLICK, 0, 0);
    EnumChildWindows(box, collect, reinterpret_cast<LPARAM>(&seen.after));
    if (const Shown* ok = find(seen.after, L"OK")) PostMessageW(ok->window, BM_CLICK, 0, 0);
}

BoxSeen show(const std::u16string& text, const std::u16string& detail) {
    seen = {};
    SetTimer(nullptr, 0, 50, readTheBox);
    DesktopPlatform().messageBoxWithDetail(text, detail);
    return seen;
}

TEST(ReportBox, DetailFoldsUnderShowDetails) {
    const BoxSeen box = show(u"You have encountered an error.  The error is:  75", u"c:\\plovenda: Access denied.");
    const Shown* report = find(box.before, L"You have encountered an error.  The error is:  75");
    ASSERT_NE(report, nullptr) << "the report's text is not shown as given";
    EXPECT_TRUE(report->visible);
    const Shown* folded = find(box.before, L"c:\\plovenda: Access denied.");
    EXPECT_TRUE(folded == nullptr || !folded->visible) << "the detail shows before it is asked for";
    const Shown* unfolded = find(box.after, L"c:\\plovenda: Access denied.");
    ASSERT_NE(unfolded, nullptr) << "no \"Show Details...\" brings the detail";
    EXPECT_TRUE(unfolded->visible);
}

TEST(ReportBox, WithoutDetailAPlainBox) {
    const BoxSeen box = show(u"You have probably not entered a valid assignment number.", {});
    ASSERT_NE(find(box.before, L"You have probably not entered a valid assignment number."), nullptr);
    EXPECT_EQ(find(box.before, L"Show Details..."), nullptr);
    EXPECT_NE(find(box.before, L"OK"), nullptr);
}

}  // namespace

}  // namespace qadrill
