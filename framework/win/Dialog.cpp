#include "framework/win/Dialog.h"

#include "framework/win/SubclassWnd.h"

namespace {
const wchar_t kOwnerProperty[] = L"Glyphwell.CDialog";
}

CDialog::CDialog(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

CDialog::~CDialog() {
    DestroyWindow();
}

INT_PTR CDialog::DoModal() {
    modal_ = true;
    const INT_PTR result =
        ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent_,
                          &CDialog::StaticDialogProc, reinterpret_cast<LPARAM>(this));
    modal_ = false;
    return result;
}

bool CDialog::Create() {
    modal_ = false;
    return ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent_,
                                &CDialog::StaticDialogProc,
                                reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::EndDialog(INT_PTR result) {
    if (!hwnd_)
        return;
    if (modal_)
        ::EndDialog(hwnd_, result);
    else
        ::DestroyWindow(hwnd_);
}

void CDialog::DestroyWindow() {
    if (hwnd_)
        ::DestroyWindow(hwnd_);
}

CDialog* CDialog::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<CDialog*>(::GetPropW(hwnd, kOwnerProperty)) : nullptr;
}

void CDialog::SetResult(LRESULT result) {
    ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
}

INT_PTR CDialog::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
        return FALSE;
    case WM_DRAWITEM:
        if (CSubclassWnd::ReflectDrawItem(lParam)) {
            SetResult(TRUE);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK CDialog::StaticDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* self = FromHandle(hwnd);
    if (!self && message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        if (self) {
            self->hwnd_ = hwnd;
            ::SetPropW(hwnd, kOwnerProperty, self);
        }
    }
    if (!self)
        return FALSE; // messages before WM_INITDIALOG (WM_SETFONT) get the default handling

    INT_PTR result = FALSE;
    try {
        result = self->DialogProc(message, wParam, lParam);
    } catch (...) {
        result = FALSE; // a failed handler must not unwind through the system's code
    }
    if (message == WM_NCDESTROY) {
        ::RemovePropW(hwnd, kOwnerProperty);
        self->hwnd_ = nullptr;
        self->PostNcDestroy();
    }
    return result;
}
