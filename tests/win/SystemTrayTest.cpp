// The tray icon against the real shell of the test desktop, its menu resource, and the
// notification handling with a plain window standing in for the main window.
#include "shell/win/SystemTray.h"
#include "framework/win/Window.h"
#include "resources/resource.h"
#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

using wintest::SendClick;

constexpr UINT kCallback = WM_USER + 5;
const wchar_t kTip[] = L"Glyphwell Onscreen Keyboard";

// Records what the shell was asked and what it answered; can refuse to add the icon, or stand
// in for the shell (the test desktop's shell takes 2 s to remove an icon).
class SpyTray : public CSystemTray {
public:
    explicit SpyTray(bool realShell = false) : realShell_(realShell) {}
    ~SpyTray() override { Destroy(); }
    struct Call {
        DWORD message;
        BOOL result;
    };
    std::vector<Call> calls;
    bool refuseAdd = false;
    // After the removal: would the shell still change the icon?
    BOOL modifyAfterDelete = TRUE;

    LRESULT Notify(WPARAM wParam, LPARAM lParam) { return OnTrayNotification(wParam, lParam); }

protected:
    BOOL ShellNotify(DWORD message, NOTIFYICONDATAW* record) override {
        BOOL result = TRUE;
        if (message == NIM_ADD && refuseAdd)
            result = FALSE;
        else if (realShell_)
            result = CSystemTray::ShellNotify(message, record);
        calls.push_back({message, result});
        if (realShell_ && message == NIM_DELETE && result) {
            NOTIFYICONDATAW probe = *record;
            probe.uFlags = NIF_TIP;
            modifyAfterDelete = ::Shell_NotifyIconW(NIM_MODIFY, &probe);
        }
        return result;
    }

private:
    bool realShell_;
};

// Stands in for the main frame: records the commands and WM_NULL it gets.
// Shown only where the foreground matters: without a window manager on the test display,
// destroying a shown window waits 2 s for it to be withdrawn.
class MainWindow : public CWnd {
public:
    explicit MainWindow(bool visible = false) {
        RegisterWindowClass(L"GWTrayTestMain");
        CreateEx(WS_EX_TOPMOST, L"GWTrayTestMain", L"Glyphwell",
                 WS_POPUP | (visible ? WS_VISIBLE : 0), 600, 600, 120, 80, nullptr, nullptr);
    }
    std::vector<UINT> commands;
    int nulls = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND)
            commands.push_back(LOWORD(wParam));
        if (message == WM_NULL)
            ++nulls;
        return Default(message, wParam, lParam);
    }
};

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

std::wstring MenuText(HMENU menu, int position) {
    wchar_t text[64] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
    return text;
}

TEST(SystemTray, AddsChangesAndRemovesTheIconWithTheShell) {
    MainWindow main;
    SpyTray tray(true);
    ASSERT_TRUE(tray.Create(main.GetSafeHwnd(), kCallback, kTip, IDR_MAINFRAME, IDR_TRAY_MENU));
    EXPECT_TRUE(tray.IsEnabled());

    const NOTIFYICONDATAW& record = tray.Record();
    EXPECT_EQ(record.cbSize, CSystemTray::kRecordSize);
    EXPECT_EQ(record.hWnd, tray.GetSafeHwnd()) << "the tray's own window, not the parent";
    EXPECT_EQ(record.uID, UINT(IDR_TRAY_MENU));
    EXPECT_EQ(record.uFlags, UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(record.uCallbackMessage, kCallback);
    EXPECT_NE(record.hIcon, nullptr);
    EXPECT_STREQ(record.szTip, kTip);

    // The hidden window: a 10 x 10 popup at (0, 0) without owner, never shown.
    HWND hidden = tray.GetSafeHwnd();
    RECT r{};
    ::GetWindowRect(hidden, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, 10);
    EXPECT_EQ(r.bottom - r.top, 10);
    EXPECT_FALSE(::IsWindowVisible(hidden));
    EXPECT_EQ(::GetWindow(hidden, GW_OWNER), nullptr);

    HICON before = record.hIcon;
    EXPECT_TRUE(tray.SetIcon(IDI_MACRO_MATCH));
    EXPECT_NE(tray.Record().hIcon, before);
    EXPECT_TRUE(tray.SetIcon(IDR_MAINFRAME));
    EXPECT_FALSE(tray.SetIcon(4242)) << "no such icon: the picture stays";

    tray.Destroy();
    EXPECT_EQ(tray.GetSafeHwnd(), nullptr);
    ASSERT_EQ(tray.calls.size(), 4u);
    EXPECT_EQ(tray.calls[0].message, DWORD(NIM_ADD));
    EXPECT_EQ(tray.calls[1].message, DWORD(NIM_MODIFY));
    EXPECT_EQ(tray.calls[2].message, DWORD(NIM_MODIFY));
    EXPECT_EQ(tray.calls[3].message, DWORD(NIM_DELETE));
    for (const auto& call : tray.calls)
        EXPECT_TRUE(call.result) << "shell message " << call.message;
    EXPECT_FALSE(tray.modifyAfterDelete) << "the icon is gone from the notification area";
}

TEST(SystemTray, LongTipIsCutTo127Characters) {
    SpyTray tray;
    const std::wstring tip(300, L'x');
    ASSERT_TRUE(tray.Create(nullptr, kCallback, tip.c_str(), IDR_MAINFRAME, IDR_TRAY_MENU));
    EXPECT_EQ(std::wstring(tray.Record().szTip), std::wstring(127, L'x'));
}

TEST(SystemTray, StaysDisabledAndSilentWhenAddingFails) {
    MainWindow main;
    SpyTray tray;
    tray.refuseAdd = true;
    tray.SetMainWindow(main.GetSafeHwnd());
    EXPECT_FALSE(tray.Create(nullptr, kCallback, kTip, IDR_MAINFRAME, IDR_TRAY_MENU));
    EXPECT_FALSE(tray.IsEnabled());
    EXPECT_FALSE(tray.SetIcon(IDI_MACRO_MATCH));
    EXPECT_FALSE(tray.SetMenuDefaultItem(0, true));
    EXPECT_EQ(tray.Notify(IDR_TRAY_MENU, WM_LBUTTONDBLCLK), 0);
    Pump();
    EXPECT_TRUE(main.commands.empty());
    tray.Destroy();
    ASSERT_EQ(tray.calls.size(), 1u) << "no change and no removal of an icon never added";
    EXPECT_EQ(tray.calls[0].message, DWORD(NIM_ADD));
}

TEST(SystemTray, MenuResourceHasItsItemsInOrder) {
    HMENU menu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAY_MENU));
    ASSERT_NE(menu, nullptr);
    HMENU popup = ::GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(::GetMenuItemCount(popup), 5);
    EXPECT_EQ(MenuText(popup, 0), L"&Open Glyphwell");
    EXPECT_EQ(::GetMenuItemID(popup, 0), UINT(ID_TRAY_OPEN));
    EXPECT_EQ(::GetMenuState(popup, 1, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
    EXPECT_EQ(MenuText(popup, 2), L"&Macro Scribe ...");
    EXPECT_EQ(::GetMenuItemID(popup, 2), UINT(ID_TRAY_MACRO_SCRIBE));
    EXPECT_EQ(::GetMenuState(popup, 3, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
    EXPECT_EQ(MenuText(popup, 4), L"&Exit");
    EXPECT_EQ(::GetMenuItemID(popup, 4), UINT(ID_TRAY_EXIT));
    EXPECT_EQ(ID_TRAY_OPEN, 32825);
    EXPECT_EQ(ID_TRAY_MACRO_SCRIBE, 32824);
    EXPECT_EQ(ID_TRAY_EXIT, 32822);
    ::DestroyMenu(menu);
}

TEST(SystemTray, DoubleClickSendsTheDefaultItemsCommandToTheMainWindow) {
    MainWindow main(true);
    SpyTray tray;
    ASSERT_TRUE(tray.Create(nullptr, kCallback, kTip, IDR_MAINFRAME, IDR_TRAY_MENU));
    tray.SetMainWindow(main.GetSafeHwnd());

    struct Case {
        UINT item;
        bool byPosition;
        bool accepted;
        UINT command; // expected command of a double click afterwards
    };
    const Case cases[] = {
        {0, true, true, ID_TRAY_OPEN}, // the frame's choice
        {2, true, true, ID_TRAY_MACRO_SCRIBE}, {ID_TRAY_EXIT, false, true, ID_TRAY_EXIT},
        {7, true, false, ID_TRAY_EXIT},     // no such position: the previous default stays
        {4242, false, false, ID_TRAY_EXIT}, // no such command
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "item " << c.item << " by position " << c.byPosition);
        EXPECT_EQ(tray.SetMenuDefaultItem(c.item, c.byPosition), c.accepted);
        main.commands.clear();
        EXPECT_EQ(::SendMessageW(tray.GetSafeHwnd(), kCallback, IDR_TRAY_MENU, WM_LBUTTONDBLCLK),
                  1);
        EXPECT_EQ(main.commands, std::vector<UINT>{c.command});
    }
    EXPECT_EQ(::GetForegroundWindow(), main.GetSafeHwnd());

    // Another icon's notification and other mouse events do nothing.
    main.commands.clear();
    EXPECT_EQ(::SendMessageW(tray.GetSafeHwnd(), kCallback, 77, WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(::SendMessageW(tray.GetSafeHwnd(), kCallback, IDR_TRAY_MENU, WM_MOUSEMOVE), 1);
    EXPECT_EQ(::SendMessageW(tray.GetSafeHwnd(), kCallback, IDR_TRAY_MENU, WM_LBUTTONDOWN), 1);
    Pump();
    EXPECT_TRUE(main.commands.empty());
}

// What a helper thread saw of the pop-up menu while it was open.
struct MenuSeen {
    std::atomic<bool> found{false};
    UINT defaultCommand = 0;
    UINT defaultState = 0;
    POINT topLeft{};
};

HWND FindPopupMenu(DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < timeoutMs) {
        HWND menu = ::FindWindowW(L"#32768", nullptr);
        if (menu && ::IsWindowVisible(menu))
            return menu;
        ::Sleep(20);
    }
    return nullptr;
}

// Right-clicks the icon (as the shell reports it) while a helper thread inspects the menu and
// clicks at the point that `clickAt` picks; returns after the menu has closed.
void RightClickAndClick(CSystemTray& tray, MenuSeen& seen, POINT (*clickAt)(HWND, HMENU)) {
    std::thread helper([&] {
        HWND menuWindow = FindPopupMenu(3000);
        if (!menuWindow)
            return;
        HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
        seen.defaultCommand = ::GetMenuDefaultItem(menu, FALSE, 0);
        seen.defaultState = ::GetMenuState(menu, 0, MF_BYPOSITION);
        RECT r{};
        ::GetWindowRect(menuWindow, &r);
        seen.topLeft = {r.left, r.top};
        seen.found = true;
        ::Sleep(100);
        SendClick(clickAt(menuWindow, menu));
    });
    ::SetCursorPos(300, 300);
    ::SendMessageW(tray.GetSafeHwnd(), kCallback, IDR_TRAY_MENU, WM_RBUTTONUP);
    helper.join();
}

TEST(SystemTray, RightClickShowsTheMenuWithItsDefaultItemAndClosesOnAClickElsewhere) {
    MainWindow main(true);
    SpyTray tray;
    ASSERT_TRUE(tray.Create(nullptr, kCallback, kTip, IDR_MAINFRAME, IDR_TRAY_MENU));
    tray.SetMainWindow(main.GetSafeHwnd());
    ASSERT_TRUE(tray.SetMenuDefaultItem(0, true));

    MenuSeen seen;
    RightClickAndClick(tray, seen, [](HWND, HMENU) { return POINT{1100, 900}; });
    ASSERT_TRUE(seen.found) << "the pop-up menu did not appear";
    EXPECT_EQ(seen.defaultCommand, UINT(ID_TRAY_OPEN));
    EXPECT_EQ(seen.defaultState & MFS_DEFAULT, UINT(MFS_DEFAULT)) << "drawn bold";
    EXPECT_EQ(seen.topLeft.x, 300);
    EXPECT_EQ(seen.topLeft.y, 300);
    EXPECT_EQ(::FindWindowW(L"#32768", nullptr) != nullptr &&
                  ::IsWindowVisible(::FindWindowW(L"#32768", nullptr)),
              false);
    Pump();
    EXPECT_TRUE(main.commands.empty());
    EXPECT_EQ(main.nulls, 1);
}

TEST(SystemTray, ChoosingAMenuItemCommandsTheMainWindow) {
    MainWindow main(true);
    SpyTray tray;
    ASSERT_TRUE(tray.Create(nullptr, kCallback, kTip, IDR_MAINFRAME, IDR_TRAY_MENU));
    tray.SetMainWindow(main.GetSafeHwnd());

    MenuSeen seen;
    RightClickAndClick(tray, seen, [](HWND, HMENU menu) {
        RECT item{};
        ::GetMenuItemRect(nullptr, menu, 4, &item); // "&Exit"
        return POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    });
    ASSERT_TRUE(seen.found);
    Pump();
    EXPECT_EQ(main.commands, std::vector<UINT>{ID_TRAY_EXIT});
}

} // namespace
