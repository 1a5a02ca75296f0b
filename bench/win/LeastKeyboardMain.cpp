// The least possible on-screen keyboard, the tap latency probe's yardstick: one top-most window
// that never takes the activation and types the key 'a' when the button goes up on it, as a
// key-down and a key-up in two SendInput calls (by scan code, as the keyboard types a character
// whose key the target's layout has). The window lies at the screen point given as "x y".
#include <windows.h>

#include <cwchar>

namespace {

void SendA(bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = 'A';
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW('A', MAPVK_VK_TO_VSC));
    input.ki.dwFlags = KEYEVENTF_SCANCODE | (up ? KEYEVENTF_KEYUP : 0);
    ::SendInput(1, &input, sizeof(input));
}

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONUP:
        SendA(false);
        SendA(true);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    int x = 600;
    int y = 300;
    std::swscanf(commandLine, L"%d %d", &x, &y);
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"GWLeastKeyboard";
    ::RegisterClassW(&wc);
    HWND window = ::CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOPMOST, wc.lpszClassName, L"",
                                    WS_POPUP | WS_BORDER, x, y, 100, 100, nullptr, nullptr,
                                    instance, nullptr);
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&msg);
    return 0;
}
