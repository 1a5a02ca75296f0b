#pragma once
// A plain window standing in for the main frame around a keyboard view in the Windows tests: it
// never activates, sizes itself for the keyboard as the frame does, keeps the view filling its
// client area and counts what the view asks of it.
#include "keyboard/win/KeyboardView.h"
#include "shell/MainFrameGeometry.h"

#include <windows.h>

#include <functional>

namespace wintest {

// The host has no frame of its own: only the view's client edge lies around the picture.
inline gw::FrameMetrics EdgeMetrics() {
    gw::FrameMetrics metrics;
    metrics.cxEdge = ::GetSystemMetrics(SM_CXEDGE);
    metrics.cyEdge = ::GetSystemMetrics(SM_CYEDGE);
    return metrics;
}

inline SIZE WindowSize(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

inline SIZE ClientSize(HWND window) {
    RECT r{};
    ::GetClientRect(window, &r);
    return {r.right, r.bottom};
}

// The main frame as far as the view needs it: a window that never activates, sized for the
// keyboard, with the view filling its client area.
class HostWindow : public CWnd, public CKeyboardViewHost {
public:
    HostWindow(const gw::AppSettings& settings, HWND target)
        : settings_(settings), target_(target) {}

    bool Create(POINT at) {
        RegisterWindowClass(L"GWTestViewHost", 0, ::LoadCursorW(nullptr, IDC_ARROW));
        return CreateEx(WS_EX_NOACTIVATE | WS_EX_TOPMOST, L"GWTestViewHost", L"Keyboard",
                        WS_POPUP | WS_VISIBLE, at.x, at.y, 10, 10, nullptr, nullptr);
    }
    void SetView(HWND view) {
        view_ = view;
        FitView();
    }

    void ResizeForKeyboard(int normalPictureHeight) override {
        ++resizes;
        const gw::Size size =
            gw::WindowSizeForPicture(settings_.keyboardState, normalPictureHeight, EdgeMetrics());
        ::SetWindowPos(GetSafeHwnd(), nullptr, 0, 0, size.width, size.height,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void RelayoutForState() override { ++relayouts; }
    bool IsMinimized() const override { return false; }
    HWND TargetWindow() const override { return target_; }
    gw::FrameMargins FrameMargins() const override { return gw::MainFrameMargins(EdgeMetrics()); }
    void SaveSettings() override { ++saves; }
    void ExtensionKeyboardOn() override {
        if (onExtensionKeyboard)
            onExtensionKeyboard(true);
    }
    void ExtensionKeyboardOff() override {
        if (onExtensionKeyboard)
            onExtensionKeyboard(false);
    }

    // What the big circle reaches beyond the view, when a test wants it.
    std::function<void(bool on)> onExtensionKeyboard;

    int resizes = 0;
    int relayouts = 0;
    int saves = 0;
    int sizeMovesEntered = 0;
    int sizeMovesExited = 0;
    int minimizeRequests = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_SIZE:
            FitView();
            return 0;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_ENTERSIZEMOVE:
            ++sizeMovesEntered;
            return 0;
        case WM_EXITSIZEMOVE:
            ++sizeMovesExited;
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) != SC_MINIMIZE)
                return Default(message, wParam, lParam);
            ++minimizeRequests;
            return 0;
        default:
            return Default(message, wParam, lParam);
        }
    }

private:
    void FitView() {
        if (!view_)
            return;
        const SIZE client = ClientSize(GetSafeHwnd());
        ::MoveWindow(view_, 0, 0, client.cx, client.cy, TRUE);
    }

    const gw::AppSettings& settings_;
    HWND target_;
    HWND view_ = nullptr;
};

} // namespace wintest
