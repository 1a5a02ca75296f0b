#pragma once
// The application object: one per process, running InitInstance, the message loop with idle
// processing, and ExitInstance. The loop calls OnIdle whenever the queue has run empty, with
// a count that starts at 0 after each message, until OnIdle says it has nothing more to do.
#include <windows.h>

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The process's application object, or nullptr outside its lifetime.
    static CWinApp* Current() { return current_; }

    // InitInstance, then (if it succeeded) the message loop, then ExitInstance, whose result
    // is the process's exit code.
    int RunApplication();

    HWND mainWindow = nullptr;

protected:
    virtual bool InitInstance() { return true; }
    virtual int ExitInstance() { return exitCode_; }
    // Idle work; return true to be called again before waiting for the next message.
    virtual bool OnIdle(long count) {
        (void)count;
        return false;
    }
    // The message loop; ends at WM_QUIT and keeps its exit code.
    virtual int Run();
    virtual bool PreTranslateMessage(MSG&) { return false; }

private:
    static CWinApp* current_;
    int exitCode_ = 0;
};
