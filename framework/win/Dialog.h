#pragma once
// Dialog from a resource template: modal (DoModal) or modeless (Create). One static dialog
// procedure hands each message to the C++ object that owns the dialog (found through a window
// property set at WM_INITDIALOG); no exception leaves a handler into the system's code.
#include <windows.h>

class CDialog {
public:
    explicit CDialog(UINT templateId, HWND parent = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally; the value given to EndDialog, or -1 when it could not be made.
    INT_PTR DoModal();
    // Creates the dialog modeless; it shows itself if its template has WS_VISIBLE.
    bool Create();
    // Ends a modal run with the result, or destroys a modeless dialog.
    void EndDialog(INT_PTR result);
    void DestroyWindow();

    HWND GetSafeHwnd() const { return hwnd_; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(hwnd_, id); }
    UINT TemplateId() const { return templateId_; }
    static CDialog* FromHandle(HWND hwnd);

protected:
    // Handles one message with the dialog procedure's contract: true when handled (the
    // message's own result set with SetResult where it has one). The default calls
    // OnInitDialog, OnOK and OnCancel and reflects WM_DRAWITEM to subclassed controls.
    virtual INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Return true to let the system set the focus to the first control.
    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Called after the window is gone (WM_NCDESTROY); the handle is already cleared.
    virtual void PostNcDestroy() {}

    void SetResult(LRESULT result);
    bool IsModal() const { return modal_; }

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    UINT templateId_;
    HWND parent_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
};
