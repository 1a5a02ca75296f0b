#include "framework/win/Window.h"

#include <vector>

std::wstring WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    const int copied = ::GetWindowTextW(window, buffer.data(), length + 1);
    return std::wstring(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

HICON ProgramIcon(UINT resource, bool small) {
    const int side = ::GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON);
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                                           IMAGE_ICON, side, side, LR_SHARED));
}

namespace {
const wchar_t kOwnerProperty[] = L"Glyphwell.CWnd";
}

CWnd::~CWnd() {
    DestroyWindow();
}

bool CWnd::RegisterWindowClass(const wchar_t* className, UINT style, HCURSOR cursor,
                               HBRUSH background, HICON icon, int windowExtraBytes) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (::GetClassInfoExW(instance, className, &wc))
        return true;
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = &CWnd::StaticWindowProc;
    wc.cbWndExtra = windowExtraBytes;
    wc.hInstance = instance;
    wc.hCursor = cursor ? cursor : ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = className;
    return ::RegisterClassExW(&wc) != 0;
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menuOrId) {
    HWND created = ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent,
                                     menuOrId, ::GetModuleHandleW(nullptr), this);
    return created != nullptr;
}

void CWnd::DestroyWindow() {
    if (hwnd_)
        ::DestroyWindow(hwnd_);
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<CWnd*>(::GetPropW(hwnd, kOwnerProperty)) : nullptr;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT CWnd::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK CWnd::StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* self = FromHandle(hwnd);
    if (!self && message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<CWnd*>(create->lpCreateParams);
        if (self) {
            self->hwnd_ = hwnd;
            ::SetPropW(hwnd, kOwnerProperty, self);
        }
    }
    if (!self)
        return ::DefWindowProcW(hwnd, message, wParam, lParam);

    LRESULT result = 0;
    try {
        result = self->WindowProc(message, wParam, lParam);
    } catch (...) {
        result = 0; // a failed handler must not unwind through the system's code
    }
    if (message == WM_NCDESTROY) {
        ::RemovePropW(hwnd, kOwnerProperty);
        self->hwnd_ = nullptr;
        self->PostNcDestroy();
    }
    return result;
}
