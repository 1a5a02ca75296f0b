#pragma once
// Helpers shared by the Windows tests: message pumping with deadlines and a small target
// application whose edit control receives the typed text.
#include "framework/win/Window.h"

#include <windows.h>

#include <string>

namespace wintest {

// Pumps this thread's messages (keys become characters through TranslateMessage) until the
// condition holds or the time is up; returns the condition's last value.
template <typename Condition> bool PumpUntil(Condition condition, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (condition())
            return true;
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

inline void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

// Pumps messages until the handle is signalled (a thread ended); true if it was in time.
inline bool PumpUntilSignalled(HANDLE handle, DWORD timeoutMs) {
    return PumpUntil([handle] { return ::WaitForSingleObject(handle, 0) == WAIT_OBJECT_0; },
                     timeoutMs);
}

// One real mouse event at a screen point (MOUSEEVENTF_ABSOLUTE is added).
inline void SendMouse(POINT at, DWORD flags) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = (at.x * 65535 + width / 2) / (width - 1);
    input.mi.dy = (at.y * 65535 + height / 2) / (height - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof(INPUT));
}

// A left click at a screen point with real mouse input. It does not pump messages, so a
// helper thread may click while the main thread runs a modal loop.
inline void SendClick(POINT at) {
    SendMouse(at, MOUSEEVENTF_MOVE);
    ::Sleep(50);
    SendMouse(at, MOUSEEVENTF_LEFTDOWN);
    SendMouse(at, MOUSEEVENTF_LEFTUP);
}

// Presses and releases each virtual key in turn with real keyboard input (letters by their
// upper-case key codes), as a user at the machine would type.
inline void TypeKeys(const char* keys) {
    for (const char* key = keys; *key; ++key) {
        for (DWORD flags : {0ul, static_cast<unsigned long>(KEYEVENTF_KEYUP)}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = static_cast<WORD>(*key);
            input.ki.dwFlags = flags;
            ::SendInput(1, &input, sizeof(INPUT));
        }
        ::Sleep(20);
    }
}

using ::WindowText;

// The target application: a top-level window whose edit control has the focus.
class TargetWindow {
public:
    TargetWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"GWTestTarget";
        ::RegisterClassW(&wc);
        frame_ = ::CreateWindowExW(0, wc.lpszClassName, L"Typing target", WS_OVERLAPPEDWINDOW, 50,
                                   50, 400, 120, nullptr, nullptr, wc.hInstance, nullptr);
        edit_ = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 360,
                                  30, frame_, nullptr, wc.hInstance, nullptr);
        ::ShowWindow(frame_, SW_SHOW);
        ::UpdateWindow(frame_);
    }
    ~TargetWindow() { ::DestroyWindow(frame_); }
    TargetWindow(const TargetWindow&) = delete;
    TargetWindow& operator=(const TargetWindow&) = delete;

    // Brings the window to the foreground with the focus in the edit control.
    bool TakeFocus() {
        return PumpUntil(
            [this] {
                if (::GetForegroundWindow() != frame_)
                    ::SetForegroundWindow(frame_);
                if (::GetFocus() != edit_)
                    ::SetFocus(edit_);
                return ::GetForegroundWindow() == frame_ && ::GetFocus() == edit_;
            },
            5000);
    }
    // Waits until the edit control shows the text; false on time-out.
    bool WaitForText(const std::wstring& expected, DWORD timeoutMs = 3000) const {
        return PumpUntil([&] { return Text() == expected; }, timeoutMs);
    }
    std::wstring Text() const { return WindowText(edit_); }
    HWND Frame() const { return frame_; }
    HWND Edit() const { return edit_; }

private:
    HWND frame_ = nullptr;
    HWND edit_ = nullptr;
};

// A message box of the process, once it shows: its caption and text; it is then closed.
struct MessageBoxSeen {
    std::wstring caption;
    std::wstring text;
};
inline bool TakeMessageBox(DWORD process, MessageBoxSeen& seen, DWORD timeoutMs = 10000) {
    HWND box = nullptr;
    PumpUntil(
        [&] {
            box = nullptr;
            HWND candidate = nullptr;
            while ((candidate = ::FindWindowExW(nullptr, candidate, L"#32770", nullptr))) {
                DWORD owner = 0;
                ::GetWindowThreadProcessId(candidate, &owner);
                if (owner == process && ::IsWindowVisible(candidate) &&
                    ::GetDlgItem(candidate, 0xFFFF))
                    box = candidate;
            }
            return box != nullptr;
        },
        timeoutMs);
    if (!box)
        return false;
    seen.caption = WindowText(box);
    seen.text = WindowText(::GetDlgItem(box, 0xFFFF));
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    PumpUntil([&] { return !::IsWindow(box); }, 5000);
    return true;
}

} // namespace wintest
