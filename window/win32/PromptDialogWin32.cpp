#include "window/win32/PromptDialogWin32.h"

#include <commctrl.h>

#include <cstdint>
#include <vector>

#include "window/win32/SurfaceControlsWin32.h"

namespace qadrill {

namespace {

constexpr WORD promptId = 10;
constexpr WORD answerId = 11;

// A dialog template written into words, as the resource compiler would.
class DialogTemplate {
public:
    void header(DWORD style, WORD items, RECT units, const wchar_t* caption) {
        add(static_cast<WORD>(style & 0xFFFF));
        add(static_cast<WORD>(style >> 16));
        add(0), add(0);  // no extended style
        add(items);
        add(static_cast<WORD>(units.left)), add(static_cast<WORD>(units.top));
        add(static_cast<WORD>(units.right)), add(static_cast<WORD>(units.bottom));
        add(0), add(0);  // no menu, the standard dialog class
        text(caption);
        add(8);  // point size of the dialog font
        text(L"MS Shell Dlg");
    }

    void item(DWORD style, RECT units, WORD id, WORD classAtom, const wchar_t* caption) {
        if (words_.size() % 2 != 0) add(0);  // items start on a DWORD
        add(static_cast<WORD>(style & 0xFFFF));
        add(static_cast<WORD>(style >> 16));
        add(0), add(0);
        add(static_cast<WORD>(units.left)), add(static_cast<WORD>(units.top));
        add(static_cast<WORD>(units.right)), add(static_cast<WORD>(units.bottom));
        add(id);
        add(0xFFFF), add(classAtom);
        text(caption);
        add(0);  // no creation data
    }

    [[nodiscard]] const DLGTEMPLATE* data() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void add(WORD word) { words_.push_back(word); }
    void text(const wchar_t* value) {
        for (; *value != L'\0'; ++value) add(static_cast<WORD>(*value));
        add(0);
    }
    std::vector<WORD> words_;
};

constexpr WORD buttonAtom = 0x0080;
constexpr WORD editAtom = 0x0081;
constexpr WORD staticAtom = 0x0082;

struct PromptState {
    const std::u16string* prompt;
    std::u16string answer;
};

INT_PTR CALLBACK promptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<PromptState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            setWindowText(GetDlgItem(dialog, promptId), *reinterpret_cast<PromptState*>(lParam)->prompt);
            return TRUE;  // the focus goes to the edit field, the first tab stop
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) state->answer = windowText(GetDlgItem(dialog, answerId));
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

std::u16string runPromptDialog(HWND owner, const wchar_t* title, const std::u16string& prompt) {
    constexpr DWORD child = WS_CHILD | WS_VISIBLE;
    DialogTemplate dialog;
    dialog.header(DS_SETFONT | DS_SHELLFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 4,
                  {0, 0, 260, 92}, title);
    dialog.item(child | SS_LEFT | SS_NOPREFIX, {7, 7, 190, 56}, promptId, staticAtom, L"");
    dialog.item(child | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, {7, 70, 246, 14}, answerId, editAtom, L"");
    dialog.item(child | WS_TABSTOP | BS_DEFPUSHBUTTON, {203, 7, 50, 14}, IDOK, buttonAtom, L"OK");
    dialog.item(child | WS_TABSTOP | BS_PUSHBUTTON, {203, 25, 50, 14}, IDCANCEL, buttonAtom, L"Cancel");

    PromptState state{&prompt, {}};
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.data(), owner, promptProc,
                                                   reinterpret_cast<LPARAM>(&state));
    return result == IDOK ? state.answer : std::u16string{};
}

}  // namespace qadrill
