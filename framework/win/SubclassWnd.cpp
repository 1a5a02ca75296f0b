#include "framework/win/SubclassWnd.h"

#include "framework/win/CommonControls.h"

namespace {
constexpr UINT_PTR kSubclassId = 0x4757; // one subclass of ours per window
const wchar_t kOwnerProperty[] = L"Glyphwell.CSubclassWnd";
} // namespace

CSubclassWnd::~CSubclassWnd() {
    Detach();
}

bool CSubclassWnd::Attach(HWND control) {
    if (!control || hwnd_)
        return false;
    if (!::SetWindowSubclassOf(control, &CSubclassWnd::SubclassProc, kSubclassId,
                               reinterpret_cast<DWORD_PTR>(this)))
        return false;
    hwnd_ = control;
    ::SetPropW(control, kOwnerProperty, this);
    OnAttached();
    return true;
}

void CSubclassWnd::Detach() {
    if (hwnd_) {
        ::RemoveWindowSubclassOf(hwnd_, &CSubclassWnd::SubclassProc, kSubclassId);
        ::RemovePropW(hwnd_, kOwnerProperty);
    }
    hwnd_ = nullptr;
}

CSubclassWnd* CSubclassWnd::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<CSubclassWnd*>(::GetPropW(hwnd, kOwnerProperty)) : nullptr;
}

bool CSubclassWnd::ReflectDrawItem(LPARAM lParam) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (!item)
        return false;
    CSubclassWnd* control = FromHandle(item->hwndItem);
    return control && control->DrawItem(*item);
}

LRESULT CSubclassWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT CSubclassWnd::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProcOf(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK CSubclassWnd::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR selfData) {
    auto* self = reinterpret_cast<CSubclassWnd*>(selfData);
    LRESULT result = 0;
    try {
        result = self->WindowProc(message, wParam, lParam);
    } catch (...) {
        result = 0; // a failed handler must not unwind through the system's code
    }
    if (message == WM_NCDESTROY && self->hwnd_ == hwnd)
        self->Detach();
    return result;
}
