// Entry point of the keyboard program.
#include "framework/win/Window.h"

namespace {

class CStrokeDemoWnd : public CWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_DESTROY) {
            ::PostQuitMessage(0);
            return 0;
        }
        return Default(message, wParam, lParam);
    }
};

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    CWnd::RegisterWindowClass(L"GlyphwellDemo", 0, nullptr,
                              reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    CStrokeDemoWnd window;
    if (!window.CreateEx(WS_EX_NOACTIVATE | WS_EX_TOPMOST, L"GlyphwellDemo", L"Glyphwell",
                         WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 400, 400, nullptr,
                         nullptr))
        return 1;
    ::ShowWindow(window.GetSafeHwnd(), showCommand);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
