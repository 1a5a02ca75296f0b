#pragma once
// One-shot timer: a short-lived thread that waits for its interval and then sends one message
// to one window, with itself as lParam so the receiver can tell a replaced timer's message
// from the current one. It checks its stop flag every 50 ms and deletes itself when it ends.
#include "framework/win/WinThread.h"

#include <atomic>
#include <memory>

class CTimerThread : public CWinThread {
public:
    // The stop flag outlives the thread object, so an owner may still set it after the thread
    // has ended and deleted itself.
    using StopFlag = std::shared_ptr<std::atomic<bool>>;

    CTimerThread() = default;

    // Creates, sets up and resumes a one-shot timer; nullptr when no thread could be made.
    // The returned pointer is only an identity: the thread may already have ended. Its stop
    // flag, taken before the thread runs, is stored in stopFlag when given.
    static CTimerThread* Start(HWND target, UINT message, DWORD intervalMs,
                               StopFlag* stopFlag = nullptr);

    void RequestStop() { stop_->store(true); }
    StopFlag GetStopFlag() const { return stop_; }

    HWND targetWindow = nullptr;
    UINT message = 0;
    DWORD interval = 0;
    bool oneShot = false;

protected:
    bool InitInstance() override { return true; }
    int Run() override { return RunTimerLoop(); }

private:
    int RunTimerLoop();
    bool Stopped() const { return stop_->load(); }

    StopFlag stop_ = std::make_shared<std::atomic<bool>>(false);
};

// An owner's current timer, with the receiving rule: a message from the current timer is
// accepted (and the timer forgotten), a message from a replaced timer stops that timer and is
// ignored.
class CTimerSlot {
public:
    CTimerSlot() = default;
    ~CTimerSlot() { Stop(); }
    CTimerSlot(const CTimerSlot&) = delete;
    CTimerSlot& operator=(const CTimerSlot&) = delete;

    void Start(HWND target, UINT message, DWORD intervalMs);
    void Stop();
    bool IsRunning() const { return current_ != 0; }
    // Call with the timer message's lParam; true when the handler should act.
    bool Accept(LPARAM lParam);

private:
    LPARAM current_ = 0;
    CTimerThread::StopFlag currentStop_;
};
