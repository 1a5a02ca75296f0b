#include "framework/win/WinApp.h"

CWinApp* CWinApp::current_ = nullptr;

CWinApp::CWinApp() {
    current_ = this;
}

CWinApp::~CWinApp() {
    if (current_ == this)
        current_ = nullptr;
}

int CWinApp::RunApplication() {
    if (InitInstance())
        exitCode_ = Run();
    return ExitInstance();
}

int CWinApp::Run() {
    long idleCount = 0;
    bool idle = true;
    for (;;) {
        MSG msg;
        while (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                idle = false;
        }
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            exitCode_ = got == 0 ? static_cast<int>(msg.wParam) : -1;
            return exitCode_;
        }
        if (!PreTranslateMessage(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        idle = true;
        idleCount = 0;
    }
}
