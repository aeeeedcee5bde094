#include "window/win32/AccessibilityWin32.h"

#include <commctrl.h>

#include <memory>

namespace qadrill {

namespace {

constexpr UINT_PTR accessibleSubclassId = 2;
// The control's text, kept where accessibleOf finds it.
constexpr const wchar_t* accessibleProperty = L"qadrill.accessible";

BSTR toBstr(const std::wstring& text) { return SysAllocStringLen(text.data(), static_cast<UINT>(text.size())); }

bool isSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The system's object for the control, answering name, description and
// role from the table and everything else as before.
// A COM object ends in its own Release, never through an interface pointer,
// so the interface has no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class AccessibleControl final : public IAccessible {
public:
    AccessibleControl(IAccessible* system, const AccessibleText& text) : system_(system), text_(text) {}
    AccessibleControl(const AccessibleControl&) = delete;
    AccessibleControl& operator=(const AccessibleControl&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDispatch) || IsEqualIID(id, IID_IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return system_ == nullptr ? E_NOTIMPL : system_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return system_ == nullptr ? E_NOTIMPL : system_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override {
        return system_ == nullptr ? E_NOTIMPL : system_->GetIDsOfNames(id, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argument) override {
        return system_ == nullptr ? E_NOTIMPL
                                  : system_->Invoke(member, id, locale, flags, parameters, result, exception, argument);
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!isSelf(child) || name == nullptr)
            return system_ == nullptr ? E_NOTIMPL : system_->get_accName(child, name);
        *name = toBstr(text_.name);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (!isSelf(child) || description == nullptr || text_.description.empty())
            return system_ == nullptr ? E_NOTIMPL : system_->get_accDescription(child, description);
        *description = toBstr(text_.description);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!isSelf(child) || role == nullptr || text_.role == 0)
            return system_ == nullptr ? E_NOTIMPL : system_->get_accRole(child, role);
        role->vt = VT_I4;
        role->lVal = text_.role;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return system_ == nullptr ? E_NOTIMPL : system_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return system_ == nullptr ? E_NOTIMPL : system_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** found) override {
        return system_ == nullptr ? E_NOTIMPL : system_->get_accChild(child, found);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return system_ == nullptr ? E_NOTIMPL : system_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return system_ == nullptr ? E_NOTIMPL : system_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return system_ == nullptr ? E_NOTIMPL : system_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return system_ == nullptr ? E_NOTIMPL : system_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return system_ == nullptr ? E_NOTIMPL : system_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        return system_ == nullptr ? E_NOTIMPL : system_->get_accFocus(focus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return system_ == nullptr ? E_NOTIMPL : system_->get_accSelection(selection);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return system_ == nullptr ? E_NOTIMPL : system_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return system_ == nullptr ? E_NOTIMPL : system_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        return system_ == nullptr ? E_NOTIMPL : system_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return system_ == nullptr ? E_NOTIMPL : system_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
        return system_ == nullptr ? E_NOTIMPL : system_->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return system_ == nullptr ? E_NOTIMPL : system_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return system_ == nullptr ? E_NOTIMPL : system_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return system_ == nullptr ? E_NOTIMPL : system_->put_accValue(child, value);
    }

private:
    ~AccessibleControl() {
        if (system_ != nullptr) system_->Release();
    }

    LONG references_ = 1;
    IAccessible* system_;
    AccessibleText text_;
};
#pragma GCC diagnostic pop

LRESULT CALLBACK accessibleControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                       DWORD_PTR data) {
    auto* text = reinterpret_cast<AccessibleText*>(data);
    if (message == WM_GETOBJECT) {
        if (const LRESULT object = accessibleObject(control, wParam, lParam, *text); object != 0) return object;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(control, accessibleControlProc, accessibleSubclassId);
        RemovePropW(control, accessibleProperty);
        std::unique_ptr<AccessibleText>(text).reset();
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

// Without the system's object (Wine offers none for some controls) the
// table's name, description and role still answer.
IAccessible* makeAccessible(HWND window, const AccessibleText& text) {
    IAccessible* system = nullptr;
    if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&system))))
        system = nullptr;
    return new AccessibleControl(system, text);
}

}  // namespace

IAccessible* accessibleOf(HWND control) {
    const auto* text = static_cast<const AccessibleText*>(GetPropW(control, accessibleProperty));
    return text != nullptr ? makeAccessible(control, *text) : nullptr;
}

LRESULT accessibleObject(HWND window, WPARAM wParam, LPARAM lParam, const AccessibleText& text) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT) return 0;
    IAccessible* control = makeAccessible(window, text);
    if (control == nullptr) return 0;
    const LRESULT object = LresultFromObject(IID_IAccessible, wParam, control);
    control->Release();
    return object;
}

void presentAccessibly(HWND control, AccessibleText text) {
    auto kept = std::make_unique<AccessibleText>(std::move(text));
    if (SetWindowSubclass(control, accessibleControlProc, accessibleSubclassId,
                          reinterpret_cast<DWORD_PTR>(kept.get())) != FALSE) {
        SetPropW(control, accessibleProperty, kept.get());
        static_cast<void>(kept.release());  // the subclass owns it until WM_NCDESTROY
    }
}

}  // namespace qadrill
