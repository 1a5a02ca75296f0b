// The practice game as a user plays it: the keyboard's Game command starts "GW Game.exe", the
// falling letters are typed by taps on the keyboard, and the score the game ends with is
// written to the registry from the Top Scores window.
#include "game/win/GameResource.h"
#include "tests/e2e/E2ESupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using e2e::kFrameClass;
using e2e::kViewClass;
constexpr wchar_t kGameClass[] = L"GWGameWindow";
constexpr wchar_t kGameKey[] = L"SOFTWARE\\Vantorel\\Glyphwell Game";
constexpr WPARAM kGameCommand = 32800;
using e2e::kTrayExit;
// The letters of the ANIHORTES category are the taps of the letter grid's keys 1 to 9.
constexpr wchar_t kGridTaps[] = L"anihortes";

std::wstring ReadGameValue(const wchar_t* name) {
    wchar_t buffer[256] = {};
    DWORD bytes = sizeof(buffer);
    if (::RegGetValueW(HKEY_CURRENT_USER, kGameKey, name, RRF_RT_REG_SZ, nullptr, buffer, &bytes) !=
        ERROR_SUCCESS)
        return L"<none>";
    return buffer;
}

// The text of the oldest falling item of the game window, or nothing.
std::wstring FirstItemText(HWND game) {
    for (HWND child = ::GetWindow(game, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(child) == IDC_ITEM_LABEL && ::IsWindowVisible(child))
            return e2e::EditText(child);
    }
    return {};
}

// Ends the game's process at the end of the test, should the test not have closed it.
struct GameProcessCloser {
    HWND window = nullptr;
    ~GameProcessCloser() {
        DWORD id = 0;
        if (!window || !::GetWindowThreadProcessId(window, &id))
            return;
        HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (!process)
            return;
        if (::WaitForSingleObject(process, 3000) == WAIT_TIMEOUT)
            ::TerminateProcess(process, 1);
        ::CloseHandle(process);
    }
};

TEST(GameE2E, TheKeyboardTypesIntoTheGameAndANewTopScoreIsStored) {
    e2e::ResetSettings();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kGameKey);
    e2e::Process keyboard(e2e::FullPath(L"Glyphwell\\Glyphwell.exe"), e2e::FullPath(L"Glyphwell"));
    ASSERT_TRUE(keyboard.Started());
    HWND frame = keyboard.WaitForWindow(kFrameClass, 10000);
    ASSERT_NE(frame, nullptr);
    HWND view = nullptr;
    ASSERT_TRUE(e2e::WaitUntil(
        [&] { return (view = ::FindWindowExW(frame, nullptr, kViewClass, nullptr)); }, 5000));

    ::PostMessageW(frame, WM_COMMAND, kGameCommand, 0);
    GameProcessCloser closer;
    HWND game = nullptr;
    ASSERT_TRUE(e2e::WaitUntil(
        [&] {
            game = ::FindWindowW(kGameClass, L"GW Game");
            return game && ::IsWindowVisible(game);
        },
        15000));
    closer.window = game;
    ASSERT_TRUE(e2e::WaitUntil(
        [&] {
            ::SetForegroundWindow(game);
            return ::GetForegroundWindow() == game;
        },
        5000));
    ::PostMessageW(game, WM_COMMAND, ID_GAME_START, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !FirstItemText(game).empty(); }, 5000));
    ::Sleep(300); // the button takes the focus

    // Slow ANIHORTES: one letter at a time, each typed by a tap on its key of the keyboard.
    e2e::KeyboardOnScreen keys(view, e2e::NormalGeometry(true));
    HWND score = ::GetDlgItem(game, IDC_SCORE);
    for (int i = 0; i < 4; ++i) {
        const std::wstring letter = FirstItemText(game);
        ASSERT_EQ(letter.size(), 1u);
        const std::wstring before = e2e::EditText(score);
        keys.Tap(gw::kLetterGrid, static_cast<int>(std::wstring(kGridTaps).find(letter[0])) + 1);
        ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::EditText(score) != before; }, 5000))
            << "the tap on '" << static_cast<char>(letter[0]) << "' did not reach the game";
    }
    const std::wstring finalScore = e2e::EditText(score);
    EXPECT_GE(std::stoi(finalScore), 4 * 10) << "each letter typed near the top";

    // Ended by the button's command: the new best score waits for its name in place 1.
    ::PostMessageW(game, WM_COMMAND, ID_GAME_START, 0);
    HWND table = nullptr;
    ASSERT_TRUE(e2e::WaitUntil(
        [&] {
            table = ::FindWindowW(L"#32770", L"Top Scores");
            return table && ::IsWindowVisible(table);
        },
        5000));
    HWND nameBox = ::GetDlgItem(table, IDC_TOP_NAME_FIRST);
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::EditText(nameBox) == L"Your Name"; }, 3000))
        << "name box holds " << e2e::EditText(nameBox).size() << " characters";
    EXPECT_EQ(e2e::EditText(::GetDlgItem(table, IDC_TOP_SCORE_FIRST)), finalScore);
    ::PostMessageW(table, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return ReadGameValue(L"Top Score-1") == finalScore; }, 5000))
        << "stored " << ReadGameValue(L"Top Score-1").size() << " characters";
    EXPECT_EQ(ReadGameValue(L"Top Player-1"), L"Your Name");

    ::PostMessageW(game, WM_CLOSE, 0, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !::IsWindow(game); }, 5000));
    ::PostMessageW(frame, WM_COMMAND, kTrayExit, 0);
    EXPECT_TRUE(keyboard.WaitForExit(10000));
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kGameKey);
}

} // namespace
