// The one-shot timer thread and the receiving rule, with real threads and a real window.
#include "shell/win/TimerThread.h"

#include "framework/win/Window.h"
#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr UINT kTimerMessage = WM_USER + 1;

// A hidden window that records the timer messages it accepts and the stale ones it drops.
class TimerReceiver : public CWnd {
public:
    TimerReceiver() {
        RegisterWindowClass(L"GWTimerReceiverTest");
        CreateEx(0, L"GWTimerReceiverTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr);
    }
    CTimerSlot slot;
    int accepted = 0;
    int ignored = 0;
    std::vector<DWORD> arrivals;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != kTimerMessage)
            return Default(message, wParam, lParam);
        arrivals.push_back(::GetTickCount());
        if (slot.Accept(lParam))
            ++accepted;
        else
            ++ignored;
        return 0;
    }
};

TEST(TimerThread, DeliversOneMessageAfterTheIntervalAndEnds) {
    TimerReceiver receiver;
    const DWORD start = ::GetTickCount();
    receiver.slot.Start(receiver.GetSafeHwnd(), kTimerMessage, 200);
    ASSERT_TRUE(receiver.slot.IsRunning());
    wintest::PumpFor(700);
    ASSERT_EQ(receiver.arrivals.size(), 1u);
    EXPECT_GE(receiver.arrivals[0] - start, 200u);
    EXPECT_EQ(receiver.accepted, 1);
    EXPECT_FALSE(receiver.slot.IsRunning());
}

TEST(TimerThread, StoppedTimerSendsNothingAndEndsWithinAboutFiftyMs) {
    TimerReceiver receiver;
    CTimerThread::StopFlag stop;
    CTimerThread* timer = CTimerThread::Start(receiver.GetSafeHwnd(), kTimerMessage, 5000, &stop);
    ASSERT_NE(timer, nullptr);
    HANDLE thread = timer->DuplicateThreadHandle();
    ASSERT_NE(thread, nullptr);
    wintest::PumpFor(120);
    const DWORD stoppedAt = ::GetTickCount();
    stop->store(true);
    EXPECT_TRUE(wintest::PumpUntilSignalled(thread, 1000));
    // Within one 50 ms check, with room for a loaded machine.
    EXPECT_LE(::GetTickCount() - stoppedAt, 150u);
    ::CloseHandle(thread);
    wintest::PumpFor(100);
    EXPECT_TRUE(receiver.arrivals.empty());
}

TEST(TimerThread, ReplacedTimersLateMessageIsIgnored) {
    TimerReceiver receiver;
    // The first timer is started outside the slot, as if the slot had replaced it already
    // but its message was on the way.
    CTimerThread* old = CTimerThread::Start(receiver.GetSafeHwnd(), kTimerMessage, 100);
    ASSERT_NE(old, nullptr);
    HANDLE oldThread = old->DuplicateThreadHandle();
    receiver.slot.Start(receiver.GetSafeHwnd(), kTimerMessage, 400);
    EXPECT_TRUE(wintest::PumpUntilSignalled(oldThread, 1000));
    ::CloseHandle(oldThread);
    EXPECT_EQ(receiver.ignored, 1);
    EXPECT_EQ(receiver.accepted, 0);
    EXPECT_TRUE(receiver.slot.IsRunning());
    wintest::PumpFor(600);
    EXPECT_EQ(receiver.accepted, 1);
    EXPECT_EQ(receiver.ignored, 1);
}

TEST(TimerThread, RestartingTheSlotStopsThePreviousTimer) {
    TimerReceiver receiver;
    receiver.slot.Start(receiver.GetSafeHwnd(), kTimerMessage, 150);
    wintest::PumpFor(50);
    receiver.slot.Start(receiver.GetSafeHwnd(), kTimerMessage, 300);
    wintest::PumpFor(700);
    EXPECT_EQ(receiver.accepted, 1);
    EXPECT_EQ(receiver.ignored, 0);
}

TEST(TimerThread, TimerForAWindowThatIsGoneEndsQuietly) {
    TimerReceiver receiver;
    HWND gone = receiver.GetSafeHwnd();
    receiver.DestroyWindow();
    CTimerThread::StopFlag stop;
    CTimerThread* timer = CTimerThread::Start(gone, kTimerMessage, 50, &stop);
    ASSERT_NE(timer, nullptr);
    HANDLE thread = timer->DuplicateThreadHandle();
    EXPECT_TRUE(wintest::PumpUntilSignalled(thread, 1000));
    ::CloseHandle(thread);
    EXPECT_TRUE(stop->load());
}

} // namespace
