// Entry point of the practice game "GW Game.exe": its main window and the message loop.
#include "game/win/GameWindow.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    ClockRandom random;
    CGameWnd window(random);
    if (!window.Create())
        return 1;
    ::ShowWindow(window.GetSafeHwnd(), show);
    ::UpdateWindow(window.GetSafeHwnd());
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Tab, Enter and Escape work in the Top Scores window.
        if (::IsDialogMessageW(window.TopScoresWindow(), &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
