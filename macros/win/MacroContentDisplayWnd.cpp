#include "macros/win/MacroContentDisplayWnd.h"

#include "framework/win/WideString.h"
#include "macros/MacroContentText.h"

#include <algorithm>

namespace {

const wchar_t kMacroContentClass[] = L"GlyphwellMacroContent";

int TextWidthIn(HDC dc, std::u16string_view text) {
    const std::wstring wide = ToWide(text);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size.cx;
}

void DrawFrame(HDC dc, const RECT& r, bool sunken) {
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF dark = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF topLeft = sunken ? dark : light;
    const COLORREF bottomRight = sunken ? light : dark;
    auto line = [dc](COLORREF colour, int x, int y, int width, int height) {
        const RECT part{x, y, x + width, y + height};
        ::SetBkColor(dc, colour);
        ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &part, nullptr, 0, nullptr);
    };
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    line(topLeft, r.left, r.top, width - 1, 1);
    line(topLeft, r.left, r.top, 1, height - 1);
    line(bottomRight, r.right - 1, r.top, 1, height);
    line(bottomRight, r.left, r.bottom - 1, width, 1);
}

} // namespace

bool CMacroContentDisplayWnd::Create(gw::MacroStore& store, HICON icon) {
    store_ = &store;
    RegisterWindowClass(kMacroContentClass, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                        ::LoadCursorW(nullptr, IDC_ARROW), nullptr, icon);
    return CreateEx(WS_EX_NOACTIVATE | WS_EX_TOPMOST, kMacroContentClass, L"", WS_POPUP, 0, 0, 100,
                    100, nullptr, nullptr);
}

void CMacroContentDisplayWnd::SetPressed(bool pressed) {
    pressed_ = pressed;
    ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CMacroContentDisplayWnd::OnPaint() {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(GetSafeHwnd(), &paint);
    RECT client{};
    ::GetClientRect(GetSafeHwnd(), &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    DrawFrame(dc, client, pressed_);

    HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(ANSI_VAR_FONT));
    const std::u16string content = store_ ? store_->MatchedContent() : std::u16string();
    const std::wstring text = ToWide(gw::MacroContentDisplayText(
        content, client.right, [dc](std::u16string_view t) { return TextWidthIn(dc, t); }));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    const int offset = pressed_ ? 1 : 0;
    const int y =
        std::max(0, static_cast<int>((client.bottom - metrics.tmHeight) / 2 - 1 + offset));
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkMode(dc, TRANSPARENT);
    ::TextOutW(dc, 3 + offset, y, text.c_str(), static_cast<int>(text.size()));
    ::SelectObject(dc, oldFont);
    ::EndPaint(GetSafeHwnd(), &paint);
}

LRESULT CMacroContentDisplayWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetPressed(true);
        return 0;
    case WM_LBUTTONUP:
        if (store_)
            store_->RecallMacro(false, true);
        SetPressed(false);
        return 0;
    default:
        return Default(message, wParam, lParam);
    }
}
