// A small program to type into: one window with an edit control that has the focus. The
// end-to-end tests start it, type into it with the keyboard, and read its text back. Its one
// argument chooses the control:
//   (none)    a multi-line plain edit control, window class "GWTypingTarget"
//   rich      a multi-line rich-text control, window class "GWRichTypingTarget"
//   password  a single-line password edit control, window class "GWPasswordTypingTarget"
#include <windows.h>

#include <richedit.h>

#include <cwchar>

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

struct Kind {
    const wchar_t* argument;
    const wchar_t* windowClass;
    const wchar_t* title;
    const wchar_t* controlClass;
    DWORD controlStyle;
    int top;
};

const Kind kKinds[] = {
    {L"", L"GWTypingTarget", L"Glyphwell typing target", L"EDIT",
     ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 40},
    {L"rich", L"GWRichTypingTarget", L"Glyphwell rich-text target", RICHEDIT_CLASSW,
     ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 260},
    {L"password", L"GWPasswordTypingTarget", L"Glyphwell password target", L"EDIT",
     ES_PASSWORD | ES_AUTOHSCROLL, 480},
};

const Kind& KindFor(const wchar_t* argument) {
    for (const Kind& kind : kKinds)
        if (std::wcscmp(kind.argument, argument) == 0)
            return kind;
    return kKinds[0];
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    const Kind& kind = KindFor(commandLine);
    if (&kind == &kKinds[1])
        ::LoadLibraryW(L"riched20.dll");
    WNDCLASSW wc{};
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kind.windowClass;
    ::RegisterClassW(&wc);
    HWND frame = ::CreateWindowExW(0, wc.lpszClassName, kind.title, WS_OVERLAPPEDWINDOW, 40,
                                   kind.top, 480, 200, nullptr, nullptr, instance, nullptr);
    g_edit = ::CreateWindowExW(0, kind.controlClass, L"", WS_CHILD | WS_VISIBLE | kind.controlStyle,
                               0, 0, 480, 200, frame, nullptr, instance, nullptr);
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
