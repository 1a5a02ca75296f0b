#pragma once
// Base of the controls that take over an existing window, such as a dialog's item: the
// control's own window procedure stays in place and the object sees each message first
// (comctl32's window subclassing). The subclass ends when the window is destroyed or the
// object detaches or is deleted.
#include <windows.h>

class CSubclassWnd {
public:
    CSubclassWnd() = default;
    virtual ~CSubclassWnd();
    CSubclassWnd(const CSubclassWnd&) = delete;
    CSubclassWnd& operator=(const CSubclassWnd&) = delete;

    bool Attach(HWND control);
    bool SubclassDlgItem(int id, HWND dialog) { return Attach(::GetDlgItem(dialog, id)); }
    void Detach();

    HWND GetSafeHwnd() const { return hwnd_; }
    static CSubclassWnd* FromHandle(HWND hwnd);

    // For the owner-drawn controls: the parent hands WM_DRAWITEM's lParam here; true when the
    // item belongs to a subclassed control that drew it.
    static bool ReflectDrawItem(LPARAM lParam);

protected:
    // Handles one message; the default passes it on to the control's own procedure.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    // Called once the subclass is in place.
    virtual void OnAttached() {}
    // Draws an owner-drawn control; false when the control does not draw itself.
    virtual bool DrawItem(const DRAWITEMSTRUCT&) { return false; }

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    HWND hwnd_ = nullptr;
};
