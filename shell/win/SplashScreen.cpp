#include "shell/win/SplashScreen.h"

#include "resources/resource.h"
#include "shell/win/TimerThread.h"

namespace {
constexpr COLORREF kSplashTextColor = 0x800000;
}

CSplashScreen::CSplashScreen() : CSplashAboutParentDlg(IDD_SPLASH, nullptr) {}

bool CSplashScreen::OnInitDialog() {
    SetControlTextColor(kSplashTextColor);
    const int width = BitmapWidth() + ::GetSystemMetrics(SM_CXDLGFRAME);
    const int height = BitmapHeight() + ::GetSystemMetrics(SM_CYDLGFRAME);
    const int x = ::GetSystemMetrics(SM_CXFULLSCREEN) / 2 - width / 2;
    const int y = ::GetSystemMetrics(SM_CYFULLSCREEN) / 2 - height / 2;
    // Shown here without the activation, so the dialog manager does not show (and activate)
    // it: the program being typed into keeps the foreground while the keyboard starts.
    ::SetWindowPos(GetSafeHwnd(), HWND_TOPMOST, x, y, width, height,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::InvalidateRect(GetSafeHwnd(), nullptr, TRUE);
    ::UpdateWindow(GetSafeHwnd());
    // The timer finds no window if a click closed the splash first, and simply ends.
    CTimerThread::Start(GetSafeHwnd(), WM_CLOSE, kDisplayMs);
    return false; // no control to take the focus
}

INT_PTR CSplashScreen::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        EndDialog(IDCANCEL);
        return TRUE;
    case WM_LBUTTONDOWN:
        EndDialog(kClosedByClick);
        return TRUE;
    default:
        return CSplashAboutParentDlg::DialogProc(message, wParam, lParam);
    }
}

bool CSplashThread::Start(HWND mainWindow, HANDLE* threadHandle, DWORD* threadId) {
    auto* thread = new CSplashThread(mainWindow);
    if (!thread->CreateThread()) {
        delete thread;
        return false;
    }
    if (threadHandle)
        *threadHandle =
            ::OpenThread(SYNCHRONIZE | THREAD_QUERY_LIMITED_INFORMATION, FALSE, thread->ThreadId());
    if (threadId)
        *threadId = thread->ThreadId();
    thread->ResumeThread();
    return true;
}

int CSplashThread::Run() {
    INT_PTR result = 0;
    {
        CSplashScreen splash;
        result = splash.DoModal();
    }
    if (mainWindow_ && ::IsWindow(mainWindow_))
        ::InvalidateRect(mainWindow_, nullptr, FALSE);
    return static_cast<int>(result);
}
