// The focus hook library and the keyboard's side of it, under Wine: the real GWOKHOOK.DLL of
// the install folder, the real shared area, and other programs typed into with real input.
//
// The tests that call the library's hook procedures directly share this process's copy of the
// library; the one that marks the area inactive makes that copy let go for a moment, so it
// comes after them, and the test with other programs (which load copies of their own) comes last.
#include "framework/win/ProcAddress.h"
#include "hook/HookRing.h"
#include "hook/win/HookClientApp.h"
#include "tests/e2e/E2ESupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using wintest::PumpUntil;

class TestHookApp : public CHookClientApp {
public:
    using CHookClientApp::CreateSharedArea;
    using CHookClientApp::ShutDownHooks;
    void Idle() { OnIdle(0); }
};

class RecordingListener : public CHookEventListener {
public:
    void OnHookEvent(const gw::HookEvent& event) override { events.push_back(event); }
    // The recorded events of one window and message.
    std::vector<gw::HookEvent> Of(HWND window, std::uint32_t message) const {
        std::vector<gw::HookEvent> found;
        for (const gw::HookEvent& event : events)
            if (event.window == gw::HandleToShared(window) && event.message == message)
                found.push_back(event);
        return found;
    }
    std::size_t CountFor(HWND window) const {
        std::size_t count = 0;
        for (const gw::HookEvent& event : events)
            count += event.window == gw::HandleToShared(window) ? 1 : 0;
        return count;
    }
    std::vector<gw::HookEvent> events;
};

// The keyboard's main window as the library and the reader see it: it counts the wake-ups
// and the overflow notices.
int g_overflowNotices = 0;
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == gw::kHookOverflowMessage)
        ++g_overflowNotices;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

class HookLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::SetDllDirectoryW(e2e::FullPath(L"Glyphwell").c_str());
        ASSERT_TRUE(app.CreateSharedArea());
        WNDCLASSW wc{};
        wc.lpfnWndProc = MainWindowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"GWHookTestMain";
        ::RegisterClassW(&wc);
        mainWindow = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10,
                                       nullptr, nullptr, wc.hInstance, nullptr);
        app.mainWindow = mainWindow;
        app.SharedArea().SetMainWindow(mainWindow);
        app.AddHookEventListener(&listener);
        g_overflowNotices = 0;
    }
    void TearDown() override {
        app.ShutDownHooks();
        ::DestroyWindow(mainWindow);
        if (library)
            ::FreeLibrary(library);
    }

    // This process's copy of the library and its procedures, called as the system would.
    void LoadLibraryHere() {
        library = ::LoadLibraryW(L"GWOKHOOK.DLL");
        ASSERT_NE(library, nullptr);
        getMessageProc = ProcAddress<HOOKPROC>(library, "GetMessageHookProc");
        callWndProc = ProcAddress<HOOKPROC>(library, "CallWndHookProc");
        ASSERT_NE(getMessageProc, nullptr);
        ASSERT_NE(callWndProc, nullptr);
    }
    LRESULT Retrieve(MSG& msg, WPARAM removal = PM_REMOVE) {
        return getMessageProc(HC_ACTION, removal, reinterpret_cast<LPARAM>(&msg));
    }
    MSG KeyUp() const {
        MSG msg{};
        msg.hwnd = mainWindow;
        msg.message = WM_KEYUP;
        msg.wParam = 'A';
        msg.time = 1234;
        return msg;
    }
    gw::SharedAreaHeader& Header() { return app.SharedArea().Area()->header; }
    // Drains the ring as the keyboard's idle processing does, with the messages pumped.
    void DrainFor(DWORD ms) {
        PumpUntil(
            [this] {
                app.Idle();
                return false;
            },
            ms);
    }

    TestHookApp app;
    RecordingListener listener;
    HWND mainWindow = nullptr;
    HMODULE library = nullptr;
    HOOKPROC getMessageProc = nullptr;
    HOOKPROC callWndProc = nullptr;
};

TEST_F(HookLibraryTest, OnlyAMessageTakenOutOfTheQueueIsRecordedWithItsTime) {
    LoadLibraryHere();
    MSG msg = KeyUp();
    Retrieve(msg, PM_NOREMOVE);
    EXPECT_EQ(Header().writeIndex, 0u);
    Retrieve(msg);
    EXPECT_EQ(Header().writeIndex, 1u);
    CWPSTRUCT sent{0, 0, WM_SETFOCUS, mainWindow};
    callWndProc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&sent));
    sent.message = WM_PAINT; // not recorded
    callWndProc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&sent));

    DrainFor(100);
    ASSERT_EQ(listener.events.size(), 2u);
    EXPECT_EQ(listener.events[0].message, static_cast<std::uint32_t>(WM_KEYUP));
    EXPECT_EQ(listener.events[0].wParam, static_cast<std::uint32_t>('A'));
    EXPECT_EQ(listener.events[0].time, 1234u);
    EXPECT_EQ(listener.events[1].message, static_cast<std::uint32_t>(WM_SETFOCUS));
    EXPECT_NE(listener.events[1].time, 0u); // a sent message gets the current time
}

TEST_F(HookLibraryTest, EventsOfAWindowThatIsGoneAreNotHandedOut) {
    LoadLibraryHere();
    HWND gone = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    MSG msg = KeyUp();
    msg.hwnd = gone;
    Retrieve(msg);
    msg.hwnd = mainWindow;
    Retrieve(msg);
    ::DestroyWindow(gone);
    DrainFor(100);
    ASSERT_EQ(listener.events.size(), 1u);
    EXPECT_EQ(listener.events[0].window, gw::HandleToShared(mainWindow));
}

TEST_F(HookLibraryTest, AFullRingIsEmptiedWithANoticeAndRecordsAgain) {
    LoadLibraryHere();
    MSG msg = KeyUp();
    for (std::uint32_t i = 0; i < gw::kHookRingCapacity; ++i)
        Retrieve(msg);
    EXPECT_EQ(Header().overflow, 1u);
    EXPECT_EQ(Header().writeIndex, Header().readIndex);
    Retrieve(msg); // the writer stops
    EXPECT_EQ(Header().writeIndex, Header().readIndex);

    app.Idle();
    EXPECT_TRUE(listener.events.empty());
    EXPECT_EQ(g_overflowNotices, 1);
    EXPECT_EQ(Header().overflow, 0u);
    EXPECT_EQ(Header().readIndex, 0u);
    EXPECT_EQ(Header().writeIndex, 0u);

    msg.wParam = 'B';
    Retrieve(msg);
    DrainFor(300); // the wake-ups of the flood go by
    ASSERT_EQ(listener.events.size(), 1u);
    EXPECT_EQ(listener.events[0].wParam, static_cast<std::uint32_t>('B'));
}

TEST_F(HookLibraryTest, HostileIndicesInTheAreaNeverLeadOutsideTheRing) {
    LoadLibraryHere();
    MSG msg = KeyUp();
    // A writer finds a corrupted read index: it writes nothing and leaves the ring to be emptied.
    Header().readIndex = 70000;
    Retrieve(msg);
    EXPECT_EQ(Header().writeIndex, 0u);
    EXPECT_EQ(Header().overflow, 1u);
    app.Idle();
    EXPECT_EQ(g_overflowNotices, 1);
    EXPECT_EQ(Header().readIndex, 0u);

    // The reader finds a corrupted write index.
    Header().writeIndex = 0xFFFFFFFF;
    app.Idle();
    EXPECT_EQ(g_overflowNotices, 2);
    EXPECT_EQ(Header().writeIndex, 0u);
    EXPECT_TRUE(listener.events.empty());

    Retrieve(msg);
    DrainFor(100);
    EXPECT_EQ(listener.events.size(), 1u);
}

// A keyboard killed without removing its hooks can leave them in the chain (Wine keeps them), so
// the next keyboard's hooks call the same copy of the library twice for each message.
TEST_F(HookLibraryTest, HooksLeftInTheChainRecordEachMessageOnce) {
    LoadLibraryHere();
    std::vector<HHOOK> hooks;
    for (int copy = 0; copy < 2; ++copy) {
        for (auto [type, proc] :
             {std::pair{WH_GETMESSAGE, getMessageProc}, std::pair{WH_CALLWNDPROC, callWndProc}}) {
            hooks.push_back(::SetWindowsHookExW(type, proc, library, ::GetCurrentThreadId()));
            ASSERT_NE(hooks.back(), nullptr);
        }
    }
    ::PostMessageW(mainWindow, WM_KEYUP, 'A', 0);
    ::SendMessageW(mainWindow, WM_SETFOCUS, 0, 0);
    DrainFor(200);
    for (HHOOK hook : hooks)
        ::UnhookWindowsHookEx(hook);
    EXPECT_EQ(listener.Of(mainWindow, WM_KEYUP).size(), 1u);
    EXPECT_EQ(listener.Of(mainWindow, WM_SETFOCUS).size(), 1u);
}

// The next keyboard finds the area of one that was killed still active, with its hooks stored:
// it removes them.
TEST_F(HookLibraryTest, TheHooksOfAKeyboardThatLeftTheAreaActiveAreRemoved) {
    LoadLibraryHere();
    HHOOK left =
        ::SetWindowsHookExW(WH_GETMESSAGE, getMessageProc, library, ::GetCurrentThreadId());
    ASSERT_NE(left, nullptr);
    Header().messageHook = gw::HandleToShared(left);
    CSharedAreaOwner next; // the area is still held here, as library copies hold it
    ASSERT_TRUE(next.Create());
    EXPECT_FALSE(::UnhookWindowsHookEx(left)) << "the hook was left in place";
    EXPECT_EQ(next.Area()->header.messageHook, 0u);
    EXPECT_EQ(next.Area()->header.active, 1u);
}

TEST_F(HookLibraryTest, AnInactiveAreaIsLetGoUntilAKeyboardMakesItActiveAgain) {
    LoadLibraryHere();
    MSG msg = KeyUp();
    Header().active = 0;
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    Retrieve(msg);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND)) << "the program's own";
    EXPECT_EQ(Header().writeIndex, 0u);
    // A keyboard starting again (with the library still loaded here) is not written to at once,
    // and messages are passed on meanwhile.
    Header().active = 1;
    Retrieve(msg);
    CWPSTRUCT sent{0, 0, WM_SETFOCUS, mainWindow};
    EXPECT_EQ(callWndProc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&sent)), 0);
    EXPECT_EQ(Header().writeIndex, 0u);
    // A moment later the copy takes the area again.
    ::Sleep(250);
    Retrieve(msg);
    EXPECT_EQ(Header().writeIndex, 1u);
}

// The edit control of a started target program, once its window has the foreground.
HWND TargetEdit(const e2e::Process& program, const wchar_t* windowClass, const wchar_t* editClass) {
    HWND frame = program.WaitForWindow(windowClass, 15000);
    if (!frame || !e2e::WaitUntil([&] { return ::GetForegroundWindow() == frame; }, 5000))
        return nullptr;
    return ::FindWindowExW(frame, nullptr, editClass, nullptr);
}

TEST_F(HookLibraryTest, OtherProgramsTypingReachesTheListenersExceptInAPasswordField) {
    ASSERT_TRUE(app.InstallHooks(true));
    const std::wstring folder = e2e::FullPath(L".");
    const std::wstring program = e2e::FullPath(L"GWTypingTarget.exe");

    e2e::Process plain(program, folder);
    HWND edit = TargetEdit(plain, L"GWTypingTarget", L"EDIT");
    ASSERT_NE(edit, nullptr);
    wintest::TypeKeys("HI");
    EXPECT_TRUE(PumpUntil(
        [&] {
            app.Idle();
            return listener.Of(edit, WM_CHAR).size() == 2;
        },
        5000));
    const auto chars = listener.Of(edit, WM_CHAR);
    ASSERT_EQ(chars.size(), 2u);
    EXPECT_EQ(chars[0].wParam, static_cast<std::uint32_t>('h'));
    EXPECT_EQ(chars[1].wParam, static_cast<std::uint32_t>('i'));
    // Each key once: the target's peeks at its queue are not recorded.
    const auto downs = listener.Of(edit, WM_KEYDOWN);
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[0].wParam, static_cast<std::uint32_t>('H'));

    e2e::Process secret(program, folder, L"password");
    HWND password = TargetEdit(secret, L"GWPasswordTypingTarget", L"EDIT");
    ASSERT_NE(password, nullptr);
    wintest::TypeKeys("PW");
    EXPECT_TRUE(PumpUntil([&] { return e2e::EditText(password) == L"pw"; }, 5000));
    // The hook runs in that program (its focus is recorded), but what is typed there is not.
    EXPECT_TRUE(PumpUntil(
        [&] {
            app.Idle();
            return !listener.Of(password, WM_SETFOCUS).empty();
        },
        5000));
    DrainFor(300);
    EXPECT_TRUE(listener.Of(password, WM_CHAR).empty());
    EXPECT_TRUE(listener.Of(password, WM_KEYDOWN).empty());
    EXPECT_TRUE(listener.Of(password, WM_KEYUP).empty());
}

} // namespace
