// The application object's life: start-up, the message loop with idle processing, shutdown.
#include "framework/win/WinApp.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class RecordingApp : public CWinApp {
public:
    std::string log;
    bool initResult = true;

protected:
    bool InitInstance() override {
        log += "init ";
        if (initResult)
            ::PostThreadMessageW(::GetCurrentThreadId(), WM_APP, 0, 0);
        return initResult;
    }
    bool OnIdle(long count) override {
        log += "idle" + std::to_string(count) + " ";
        if (count == 1 && !quitting_) {
            // More idle work asked for once; then the loop waits and a message ends it.
            quitting_ = true;
            ::PostQuitMessage(7);
        }
        return count == 0;
    }
    bool PreTranslateMessage(MSG& msg) override {
        if (msg.message == WM_APP)
            log += "message ";
        return false;
    }
    int ExitInstance() override {
        log += "exit";
        return CWinApp::ExitInstance();
    }

private:
    bool quitting_ = false;
};

TEST(WinApp, RunsStartUpLoopWithIdleAndShutdownInOrder) {
    RecordingApp app;
    EXPECT_EQ(CWinApp::Current(), &app);
    EXPECT_EQ(app.RunApplication(), 7);
    // The posted message comes first; idle runs until it says no more (count 1), and the
    // quit message posted from idle ends the loop.
    EXPECT_EQ(app.log, "init message idle0 idle1 exit");
}

TEST(WinApp, FailedStartUpSkipsTheLoopButStillShutsDown) {
    RecordingApp app;
    app.initResult = false;
    EXPECT_EQ(app.RunApplication(), 0);
    EXPECT_EQ(app.log, "init exit");
}

} // namespace
