// The practice game's window with real key input: a game is started, its falling letters typed,
// a wrong key costs points, pause holds everything, the button keeps the focus, and after the
// last life the Top Scores window takes the player's name into the registry. Screenshots of a
// game in progress and of the Top Scores window go to the build tree (screenshots/).
#include "game/win/GameWindow.h"
#include "game/win/GameResource.h"

#include "tests/win/Screenshots.h"
#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <cwctype>
#include <string>

namespace {

using wintest::PumpFor;
using wintest::PumpUntil;
using wintest::WindowText;

constexpr WPARAM kFallTimer = 1;

std::wstring ReadRegistryText(const wchar_t* name) {
    wchar_t buffer[256] = {};
    DWORD bytes = sizeof(buffer);
    if (::RegGetValueW(HKEY_CURRENT_USER, kGameRegistryKey, name, RRF_RT_REG_SZ, nullptr, buffer,
                       &bytes) != ERROR_SUCCESS)
        return L"<none>";
    return buffer;
}

class GameWindowTest : public ::testing::Test {
protected:
    GameWindowTest() : game(random) {}

    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kGameRegistryKey);
        ASSERT_TRUE(game.Create());
        window = game.GetSafeHwnd();
        ::ShowWindow(window, SW_SHOW);
        ASSERT_TRUE(PumpUntil(
            [&] {
                ::SetForegroundWindow(window);
                return ::GetForegroundWindow() == window;
            },
            5000));
    }
    void TearDown() override {
        game.DestroyWindow();
        ::DestroyWindow(game.TopScoresWindow());
        PumpFor(100);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kGameRegistryKey);
    }

    void Command(int id) const { ::SendMessageW(window, WM_COMMAND, static_cast<WPARAM>(id), 0); }
    std::wstring Item(int id) const { return WindowText(::GetDlgItem(window, id)); }
    bool MenuGrayed(UINT position) const {
        return (::GetMenuState(::GetMenu(window), position, MF_BYPOSITION) & MF_GRAYED) != 0;
    }
    // The label of the oldest item on the field.
    HWND FirstItemLabel() const {
        for (HWND child = ::GetWindow(window, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (::GetDlgCtrlID(child) == IDC_ITEM_LABEL && ::IsWindowVisible(child))
                return child;
        }
        return nullptr;
    }
    // Types the first letter of the item on the field with real key input.
    void TypeFirstLetter() const {
        const std::wstring text = WindowText(FirstItemLabel());
        ASSERT_FALSE(text.empty());
        const char key[2] = {static_cast<char>(::towupper(text[0])), 0};
        wintest::TypeKeys(key);
    }

    gw::SeededRandom random{2024};
    CGameWnd game;
    HWND window = nullptr;
};

TEST_F(GameWindowTest, APlayedGameEndsInTheTopScoresWithThePlayersName) {
    EXPECT_EQ(WindowText(window), L"GW Game");
    Command(ID_GAME_START);
    EXPECT_EQ(Item(IDC_START_BUTTON), L"End Game");
    EXPECT_TRUE(MenuGrayed(1)) << "Speed";
    EXPECT_TRUE(MenuGrayed(2)) << "Category";
    ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == game.StartButton(); }, 2000));

    // Three letters typed at the top of the field score 10 or 11 each (speed 1, category 1).
    for (int i = 0; i < 3; ++i) {
        const int before = game.Game().Score();
        TypeFirstLetter();
        ASSERT_TRUE(PumpUntil([&] { return game.Game().Score() > before; }, 3000)) << i;
        const int gained = game.Game().Score() - before;
        EXPECT_TRUE(gained == 10 || gained == 11) << gained;
    }
    EXPECT_EQ(Item(IDC_SCORE), std::to_wstring(game.Game().Score()));

    // A key that matches nothing costs 5 points and shows as the last key.
    const int beforeMiss = game.Game().Score();
    wintest::TypeKeys("1");
    ASSERT_TRUE(PumpUntil([&] { return game.Game().Score() == beforeMiss - 5; }, 3000));
    EXPECT_EQ(Item(IDC_LAST_KEY), L"0 49 1");

    // Another control taking the focus hands it back to the button.
    ::SetFocus(window);
    EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == game.StartButton(); }, 2000));

    PumpFor(600); // let the item fall a little
    EXPECT_TRUE(wintest::WriteBmp(wintest::CaptureWindow(window), "game-in-progress.bmp"));

    // Paused: the item stays in place and keys change nothing.
    Command(ID_GAME_PAUSE);
    ASSERT_TRUE(game.Game().Paused());
    RECT before{};
    ::GetWindowRect(FirstItemLabel(), &before);
    const int scoreBefore = game.Game().Score();
    TypeFirstLetter();
    PumpFor(500);
    RECT after{};
    ::GetWindowRect(FirstItemLabel(), &after);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(game.Game().Score(), scoreBefore);
    Command(ID_GAME_PAUSE);
    EXPECT_TRUE(PumpUntil(
        [&] {
            RECT now{};
            ::GetWindowRect(FirstItemLabel(), &now);
            return now.top > before.top;
        },
        3000));

    // Items land, one life each: after the third the game is over.
    for (int tick = 0; tick < 20000 && game.Game().Running(); ++tick)
        ::SendMessageW(window, WM_TIMER, kFallTimer, 0);
    ASSERT_FALSE(game.Game().Running());
    EXPECT_EQ(Item(IDC_LANDED), L"3");
    EXPECT_EQ(Item(IDC_START_BUTTON), L"Start Game");
    EXPECT_TRUE(::GetWindowLongW(::GetDlgItem(window, IDC_GAME_OVER), GWL_STYLE) & WS_VISIBLE);
    const int finalScore = game.Game().Score();
    ASSERT_GT(finalScore, 0);

    // The first game on this machine takes place 1, its name box open with "Your Name".
    HWND scores = game.TopScoresWindow();
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(scores); }, 3000));
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_EQ(WindowText(scores), L"Top Scores");
    HWND nameBox = ::GetDlgItem(scores, IDC_TOP_NAME_FIRST);
    EXPECT_EQ(WindowText(nameBox), L"Your Name");
    EXPECT_TRUE(::IsWindowEnabled(nameBox));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(scores, IDC_TOP_NAME_FIRST + 1)));
    EXPECT_EQ(WindowText(::GetDlgItem(scores, IDC_TOP_SCORE_FIRST)), std::to_wstring(finalScore));
    ASSERT_TRUE(PumpUntil(
        [&] {
            ::SetForegroundWindow(scores);
            return ::GetFocus() == nameBox;
        },
        3000));
    wintest::TypeKeys("ANN");
    ASSERT_TRUE(PumpUntil([&] { return WindowText(nameBox) == L"ann"; }, 3000));
    EXPECT_TRUE(wintest::WriteBmp(wintest::CaptureWindow(scores), "game-top-scores.bmp"));

    RECT ok{};
    ::GetWindowRect(::GetDlgItem(scores, IDOK), &ok);
    wintest::SendClick({(ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2});
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(window); }, 3000));
    EXPECT_FALSE(::IsWindowVisible(scores));
    EXPECT_FALSE(::IsWindowEnabled(nameBox));
    EXPECT_EQ(ReadRegistryText(L"Top Player-1"), L"ann");
    EXPECT_EQ(ReadRegistryText(L"Top Score-1"), std::to_wstring(finalScore));
    EXPECT_EQ(ReadRegistryText(L"Top Player-2"), L"");
    EXPECT_EQ(ReadRegistryText(L"Top Score-5"), L"0");
    // Stored as text with its terminating NUL.
    DWORD type = 0, bytes = 0;
    ASSERT_EQ(::RegGetValueA(HKEY_CURRENT_USER, "SOFTWARE\\Vantorel\\Glyphwell Game",
                             "Top Player-1", RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD{REG_SZ});
    EXPECT_EQ(bytes, 4u);
}

// The menu's table shows what the registry holds: text, a number stored as REG_DWORD, and
// empty places for values that are missing. Cancel brings the main window back.
TEST_F(GameWindowTest, TopScoresShowsTheStoredTable) {
    const auto write = [](const wchar_t* name, const wchar_t* text) {
        ::RegSetKeyValueW(HKEY_CURRENT_USER, kGameRegistryKey, name, REG_SZ, text,
                          static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t)));
    };
    write(L"Top Player-1", L"Bea");
    write(L"Top Score-1", L"120");
    const DWORD seven = 7;
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kGameRegistryKey, L"Top Score-2", REG_DWORD, &seven,
                      sizeof(seven));

    Command(ID_GAME_TOP_SCORES);
    HWND scores = game.TopScoresWindow();
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(scores); }, 3000));
    EXPECT_FALSE(::IsWindowVisible(window));
    const wchar_t* names[] = {L"Bea", L"", L"", L"", L""};
    const wchar_t* points[] = {L"120", L"7", L"0", L"0", L"0"};
    for (int i = 0; i < gw::kTopScorePlaces; ++i) {
        EXPECT_EQ(WindowText(::GetDlgItem(scores, IDC_TOP_NAME_FIRST + i)), names[i]) << i;
        EXPECT_EQ(WindowText(::GetDlgItem(scores, IDC_TOP_SCORE_FIRST + i)), points[i]) << i;
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(scores, IDC_TOP_NAME_FIRST + i)));
    }
    ::SendMessageW(scores, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_FALSE(::IsWindowVisible(scores));
    EXPECT_EQ(ReadRegistryText(L"Top Player-2"), L"<none>") << "Cancel writes nothing";

    Command(ID_GAME_START);
    EXPECT_TRUE((::GetMenuState(::GetMenu(window), ID_GAME_TOP_SCORES, MF_BYCOMMAND) & MF_GRAYED) !=
                0);
    Command(ID_GAME_TOP_SCORES);
    EXPECT_FALSE(::IsWindowVisible(scores)) << "no table while a game runs";
}

} // namespace
