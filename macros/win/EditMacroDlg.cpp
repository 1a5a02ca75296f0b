#include "macros/win/EditMacroDlg.h"

#include "framework/win/WideString.h"
#include "framework/win/Window.h"
#include "macros/MacroScribeRules.h"
#include "resources/resource.h"

#include <utility>

CEditMacroDlg::CEditMacroDlg(std::u16string key, std::u16string content, std::u16string title,
                             Size size)
    : CDialog(IDD_EDIT_MACRO, nullptr), key_(std::move(key)), content_(std::move(content)),
      title_(std::move(title)), size_(size) {}

std::u16string CEditMacroDlg::FieldText(int id) const {
    return FromWide(WindowText(GetDlgItem(id)));
}

bool CEditMacroDlg::OnInitDialog() {
    HWND dialog = GetSafeHwnd();
    keyField_.SubclassDlgItem(IDC_EDIT_MACRO_KEY, dialog);
    contentField_.SubclassDlgItem(IDC_EDIT_MACRO_CONTENT, dialog);
    ::SetWindowTextW(keyField_.GetSafeHwnd(), ToWide(key_).c_str());
    ::SetWindowTextW(contentField_.GetSafeHwnd(), ToWide(gw::ContentToEditText(content_)).c_str());
    if (!title_.empty())
        ::SetWindowTextW(dialog, ToWide(title_).c_str());
    ::SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::ShowWindow(GetDlgItem(IDC_EDIT_MACRO_WARNING), SW_HIDE);
    Validate();
    layout_.Measure(dialog,
                    {{IDC_EDIT_MACRO_KEY, layout::kStretchWidth},
                     {IDC_EDIT_MACRO_CONTENT, layout::kStretchWidth | layout::kStretchHeight},
                     {IDC_EDIT_MACRO_WARNING, layout::kMoveDown},
                     {IDC_EDIT_MACRO_OK, layout::kMoveRight | layout::kMoveDown},
                     {IDCANCEL, layout::kMoveRight | layout::kMoveDown}});
    RECT window{};
    ::GetWindowRect(dialog, &window);
    const SIZE client = layout_.MeasuredClient();
    const SIZE frame{window.right - window.left - client.cx,
                     window.bottom - window.top - client.cy};
    // The warning and both buttons side by side; the key field, one line of content and the
    // bottom row above each other.
    const RECT warning = layout_.Measured(IDC_EDIT_MACRO_WARNING);
    const RECT ok = layout_.Measured(IDC_EDIT_MACRO_OK);
    const RECT key = layout_.Measured(IDC_EDIT_MACRO_KEY);
    const RECT content = layout_.Measured(IDC_EDIT_MACRO_CONTENT);
    minimum_ = {frame.cx + warning.right + (client.cx - ok.left) + warning.left,
                frame.cy + client.cy - (content.bottom - content.top) + (key.bottom - key.top)};
    laidOut_ = true;
    if (size_.width != 0)
        ::SetWindowPos(dialog, nullptr, 0, 0, static_cast<int>(size_.width),
                       static_cast<int>(size_.height), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    initialised_ = true;
    return true;
}

bool CEditMacroDlg::Validate() {
    const gw::MacroFieldsCheck check =
        gw::CheckMacroFields(FieldText(IDC_EDIT_MACRO_KEY), FieldText(IDC_EDIT_MACRO_CONTENT));
    ::EnableWindow(GetDlgItem(IDC_EDIT_MACRO_OK), check.acceptable);
    ::ShowWindow(GetDlgItem(IDC_EDIT_MACRO_WARNING), check.keyHasWhiteSpace ? SW_SHOW : SW_HIDE);
    return check.acceptable;
}

// OK, and Enter in the key field (the dialog's default command): the fields must pass the
// check that enables the OK button.
void CEditMacroDlg::OnOK() {
    if (!Validate())
        return;
    key_ = FieldText(IDC_EDIT_MACRO_KEY);
    content_ = gw::ContentFromEditText(FieldText(IDC_EDIT_MACRO_CONTENT));
    EndDialog(IDOK);
}

void CEditMacroDlg::OnSize() {
    if (laidOut_)
        layout_.Apply();
    if (!initialised_)
        return;
    RECT window{};
    ::GetWindowRect(GetSafeHwnd(), &window);
    size_ = {static_cast<std::uint32_t>(window.right - window.left),
             static_cast<std::uint32_t>(window.bottom - window.top)};
}

INT_PTR CEditMacroDlg::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_EDIT_MACRO_OK && HIWORD(wParam) == BN_CLICKED) {
            OnOK();
            return TRUE;
        }
        if (HIWORD(wParam) == EN_CHANGE) {
            Validate();
            return TRUE;
        }
        break;
    case WM_SIZE:
        OnSize();
        return TRUE;
    case WM_GETMINMAXINFO:
        if (initialised_) {
            auto& info = *reinterpret_cast<MINMAXINFO*>(lParam);
            info.ptMinTrackSize = {minimum_.cx, minimum_.cy};
        }
        return TRUE;
    case WM_GW_END_MACRO_SCRIBE:
        OnCancel();
        return TRUE;
    default:
        break;
    }
    return CDialog::DialogProc(message, wParam, lParam);
}
