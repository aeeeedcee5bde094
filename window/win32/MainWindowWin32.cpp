#include "window/win32/MainWindowWin32.h"

#include <commctrl.h>

#include "window/AccessibleControls.h"
#include "window/Keyboard.h"
#include "window/PixelLayout.h"
#include "window/win32/AccessibilityWin32.h"
#include "window/win32/PictureBoxWin32.h"

namespace qadrill {

namespace {

constexpr const wchar_t* formClass = L"QadrillForm";
constexpr DWORD formStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr int iconResource = 1;

void registerFormClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(iconResource));
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = formClass;
    RegisterClassExW(&windowClass);
}

std::size_t rowIndexOf(std::string_view name) {
    for (std::size_t i = 0; i < controlTable().size(); ++i) {
        if (controlName(controlTable()[i]) == name) return i;
    }
    return controlTable().size();
}

// Escape would close the window from a multi-line box, which sends WM_CLOSE
// to its parent; nothing in the window answers Escape.  The key's virtual
// code and the character it types are the same value, 0x1B.
bool isEscape(const MSG& message) {
    return (message.message == WM_KEYDOWN || message.message == WM_KEYUP || message.message == WM_CHAR) &&
           message.wParam == VK_ESCAPE;
}

// Enter on a focused push button presses it, as Space does; the window has
// no default button, so the dialog manager alone would press nothing.  A held
// key's repeats press nothing (the dialog manager, without a default button,
// sends them nowhere).
bool isEnterOnAButton(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN) return false;
    if (isHeldEnter({(message.lParam & (1 << 30)) != 0, false})) return false;
    const auto code = SendMessageW(message.hwnd, WM_GETDLGCODE, 0, 0);
    return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

constexpr UINT_PTR bigBoxSubclassId = 3;

// The dialog manager selects the whole text of a box that Tab reaches; in a
// big box typing would then replace what the student wrote.  The answer box
// follows the shared entry rule instead, a click included; the question box
// keeps its caret.
LRESULT CALLBACK bigBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/, DWORD_PTR data) {
    auto* window = reinterpret_cast<MainWindowWin32*>(data);
    const bool answer = box == window->control("txt_answer");
    switch (message) {
        case WM_GETDLGCODE:
            return DefSubclassProc(box, message, wParam, lParam) & ~static_cast<LRESULT>(DLGC_HASSETSEL);
        case WM_SETFOCUS: {
            const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
            if (answer && window->drillWindow().answerBoxEntered() == AnswerEntry::SelectWhole)
                SendMessageW(box, EM_SETSEL, 0, -1);
            return result;
        }
        case WM_LBUTTONDOWN:
            if (answer && GetFocus() != box && window->drillWindow().answerBoxEntered() == AnswerEntry::SelectWhole) {
                SetFocus(box);  // selects the whole text; the click would put the caret in it
                return 0;
            }
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(box, bigBoxProc, bigBoxSubclassId);
            break;
        default:
            break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

}  // namespace

MainWindowWin32::MainWindowWin32(Platform& platform, HINSTANCE instance) {
    registerPictureBoxClass(instance);
    registerFormClass(instance, windowProc);
    form_ = CreateWindowExW(WS_EX_CONTROLPARENT, formClass, toWide(formTitle).c_str(), formStyle, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
    controls_ = createControls(form_, instance);
    surfaceControls_.form = form_;
    surfaceControls_.question = control("txt_question");
    surfaceControls_.answer = control("txt_answer");
    surfaceControls_.picture1 = control("Picture1");
    surfaceControls_.picture2 = control("Picture2");
    drillWindow_ = std::make_unique<DrillWindow>(platform, surface_);
    for (HWND box : {surfaceControls_.question, surfaceControls_.answer})
        SetWindowSubclass(box, bigBoxProc, bigBoxSubclassId, reinterpret_cast<DWORD_PTR>(this));
    layOut(static_cast<int>(GetDpiForWindow(form_)));
}

MainWindowWin32::~MainWindowWin32() {
    if (form_ != nullptr) DestroyWindow(form_);
}

HWND MainWindowWin32::control(std::string_view name) const {
    const std::size_t index = rowIndexOf(name);
    return index < controls_.size() ? controls_[index] : nullptr;
}

void MainWindowWin32::layOut(int dpi) {
    dpi_ = dpi;
    placeControls(controls_, dpi);
    fonts_.choose(controls_, dpi);
    applyFonts(controls_, fonts_);
    resizeClientArea();
}

void MainWindowWin32::resizeClientArea() {
    const PixelRect form = formPixels(dpi_);
    RECT frame{0, 0, form.width, form.height};
    AdjustWindowRectExForDpi(&frame, formStyle, FALSE, WS_EX_CONTROLPARENT, static_cast<UINT>(dpi_));
    SetWindowPos(form_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindowWin32::show(int showCommand) {
    ShowWindow(form_, showCommand);
    UpdateWindow(form_);
    SetFocus(control("txt_question"));
}

int MainWindowWin32::runMessageLoop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) handleMessage(message);
    return 0;
}

bool MainWindowWin32::handleMessage(const MSG& message) {
    if (message.message == WM_QUIT) return false;
    const bool inForm = message.hwnd == form_ || IsChild(form_, message.hwnd) != FALSE;
    if (inForm && isEscape(message)) return true;
    if (inForm && isEnterOnAButton(message)) {
        SendMessageW(message.hwnd, BM_CLICK, 0, 0);
        return true;
    }
    if (inForm && IsDialogMessageW(form_, const_cast<MSG*>(&message)) != FALSE) return true;
    TranslateMessage(&message);
    DispatchMessageW(&message);
    return true;
}

// What the dialog manager does for Tab; multi-line boxes ask for it this way.
void MainWindowWin32::moveFocus(bool backwards) {
    if (HWND next = GetNextDlgTabItem(form_, GetFocus(), backwards ? TRUE : FALSE); next != nullptr) SetFocus(next);
}

LRESULT CALLBACK MainWindowWin32::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<MainWindowWin32*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->drillWindow_ == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT MainWindowWin32::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const auto index = static_cast<std::size_t>(LOWORD(wParam)) - firstControlId;
            if (HIWORD(wParam) == BN_CLICKED && index < controlTable().size())
                drillWindow_->press(controlName(controlTable()[index]));
            return 0;
        }
        case WM_TIMER:
            if (wParam == drillTimerId) drillWindow_->tick();
            return 0;
        case WM_NEXTDLGCTL:
            if (LOWORD(lParam) == 0) moveFocus(wParam != 0);
            return 0;
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(form_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            layOut(HIWORD(wParam));
            return 0;
        }
        case WM_CLOSE:
            drillWindow_->close();
            return 0;
        case WM_GETOBJECT:
            if (const LRESULT object =
                    accessibleObject(form_, wParam, lParam, {toWide(formTitle), toWide(formDescription), 0});
                object != 0)
                return object;
            break;
        default:
            break;
    }
    return DefWindowProcW(form_, message, wParam, lParam);
}

}  // namespace qadrill
