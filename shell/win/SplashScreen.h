#pragma once
// The splash screen: the program's picture in the middle of the screen for about 2 seconds
// while the main window finishes its start-up, on a thread of its own. A click closes it at
// once.
#include "framework/win/WinThread.h"
#include "shell/win/BitmapDialog.h"

class CSplashScreen : public CSplashAboutParentDlg {
public:
    CSplashScreen();

    static constexpr DWORD kDisplayMs = 2000;
    // The modal result when a click closed it (the timer's WM_CLOSE gives IDCANCEL).
    static constexpr INT_PTR kClosedByClick = 1;

protected:
    bool OnInitDialog() override;
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The splash thread: runs the splash screen modally, then asks the main window to repaint
// (without erasing) and ends; its exit code is the splash screen's modal result.
class CSplashThread : public CWinThread {
public:
    // Starts the thread. threadHandle, when given, receives a handle of the caller's own to
    // wait on and to read the exit code from (the caller closes it); threadId the thread's
    // identifier. False when no thread could be made.
    static bool Start(HWND mainWindow, HANDLE* threadHandle = nullptr, DWORD* threadId = nullptr);

protected:
    int Run() override;

private:
    explicit CSplashThread(HWND mainWindow) : mainWindow_(mainWindow) {}
    HWND mainWindow_;
};
