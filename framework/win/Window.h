#pragma once
// Window base class: one static window procedure hands each message to the C++ object that
// owns the window (found through a window property set at WM_NCCREATE). No exception leaves
// a handler into the system's code.
#include <windows.h>

#include <string>

// A window's text.
std::wstring WindowText(HWND window);
// An icon of the program's resources at the system's size for big or small icons (shared).
HICON ProgramIcon(UINT resource, bool small);

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Registers a window class whose procedure is ours. Registering the same name again is fine.
    static bool RegisterWindowClass(const wchar_t* className, UINT style = 0,
                                    HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                    HICON icon = nullptr, int windowExtraBytes = 0);

    bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x,
                  int y, int width, int height, HWND parent, HMENU menuOrId);
    void DestroyWindow();

    HWND GetSafeHwnd() const { return hwnd_; }
    static CWnd* FromHandle(HWND hwnd);

protected:
    // Handles one message; the default passes it to DefWindowProcW.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    // Called after the window is gone (WM_NCDESTROY); the handle is already cleared.
    virtual void PostNcDestroy() {}

private:
    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};
