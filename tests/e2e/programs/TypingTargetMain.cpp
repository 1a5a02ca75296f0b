// A small program to type into: one window with a multi-line edit control that has the focus.
// The end-to-end tests start it, type into it with the keyboard, and read its text back.
#include <windows.h>

namespace {

HWND g_edit = nullptr;

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (g_edit)
            ::MoveWindow(g_edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        if (g_edit)
            ::SetFocus(g_edit);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"GWTypingTarget";
    ::RegisterClassW(&wc);
    HWND frame =
        ::CreateWindowExW(0, wc.lpszClassName, L"Glyphwell typing target", WS_OVERLAPPEDWINDOW, 40,
                          40, 480, 200, nullptr, nullptr, instance, nullptr);
    g_edit = ::CreateWindowExW(
        0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 0,
        0, 480, 200, frame, nullptr, instance, nullptr);
    ::ShowWindow(frame, SW_SHOW);
    ::SetForegroundWindow(frame);
    ::SetFocus(g_edit);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
