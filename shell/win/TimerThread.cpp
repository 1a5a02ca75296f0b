#include "shell/win/TimerThread.h"

namespace {
constexpr DWORD kStopCheckMs = 50;
}

CTimerThread* CTimerThread::Start(HWND target, UINT message, DWORD intervalMs, StopFlag* stopFlag) {
    auto* timer = new CTimerThread();
    if (!timer->CreateThread()) {
        delete timer;
        return nullptr;
    }
    timer->targetWindow = target;
    timer->message = message;
    timer->interval = intervalMs;
    timer->oneShot = true;
    if (stopFlag)
        *stopFlag = timer->GetStopFlag();
    timer->ResumeThread();
    return timer;
}

int CTimerThread::RunTimerLoop() {
    const DWORD start = ::GetTickCount();
    if (!Stopped()) {
        // Unsigned tick arithmetic stays right across the counter's wrap-around.
        while (::GetTickCount() - start < interval) {
            ::Sleep(kStopCheckMs);
            if (Stopped())
                break;
        }
        if (!Stopped()) {
            // Sent, not posted: the receiver handles it on its own thread while this object
            // waits here, alive.
            ::SendMessageW(targetWindow, message, 0, reinterpret_cast<LPARAM>(this));
            if (oneShot)
                RequestStop();
        }
    }
    // Ending through the message loop lets the thread's normal clean-up run.
    ::PostThreadMessageW(ThreadId(), WM_QUIT, 0, 0);
    return CWinThread::Run();
}

void CTimerSlot::Start(HWND target, UINT message, DWORD intervalMs) {
    Stop();
    if (CTimerThread* timer = CTimerThread::Start(target, message, intervalMs, &currentStop_))
        current_ = reinterpret_cast<LPARAM>(timer);
}

void CTimerSlot::Stop() {
    if (currentStop_)
        currentStop_->store(true);
    currentStop_.reset();
    current_ = 0;
}

bool CTimerSlot::Accept(LPARAM lParam) {
    if (lParam == 0)
        return false;
    if (lParam != current_) {
        // The sender waits inside its send, so it is alive while we stop it.
        reinterpret_cast<CTimerThread*>(lParam)->RequestStop();
        return false;
    }
    Stop();
    return true;
}
