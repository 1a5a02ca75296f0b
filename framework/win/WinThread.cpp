#include "framework/win/WinThread.h"

CWinThread::~CWinThread() {
    if (thread_)
        ::CloseHandle(thread_);
}

bool CWinThread::CreateThread() {
    thread_ =
        ::CreateThread(nullptr, 0, &CWinThread::ThreadEntry, this, CREATE_SUSPENDED, &threadId_);
    return thread_ != nullptr;
}

void CWinThread::ResumeThread() {
    ::ResumeThread(thread_);
}

HANDLE CWinThread::DuplicateThreadHandle() const {
    HANDLE copy = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), thread_, ::GetCurrentProcess(), &copy, SYNCHRONIZE,
                      FALSE, 0);
    return copy;
}

int CWinThread::Run() {
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

DWORD WINAPI CWinThread::ThreadEntry(void* param) {
    auto* self = static_cast<CWinThread*>(param);
    int code = 0;
    try {
        code = self->InitInstance() ? self->Run() : -1;
        self->ExitInstance();
    } catch (...) {
        code = -1;
    }
    if (self->autoDelete)
        delete self;
    return static_cast<DWORD>(code);
}
