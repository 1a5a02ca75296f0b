#include "shell/win/DialogControls.h"

#include "framework/win/Handles.h"
#include "framework/win/Window.h"
#include "shell/DialogGeometry.h"

#include <shellapi.h>

namespace {

// Paints through WM_PAINT or into the device context of WM_PRINTCLIENT.
template <typename PaintFn>
LRESULT PaintMessage(HWND hwnd, UINT message, WPARAM wParam, PaintFn paint) {
    if (message == WM_PRINTCLIENT) {
        paint(reinterpret_cast<HDC>(wParam));
        return 0;
    }
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd, &ps);
    if (dc)
        paint(dc);
    ::EndPaint(hwnd, &ps);
    return 0;
}

} // namespace

// --- CFormatStatic ---------------------------------------------------------------------------

void CFormatStatic::SetTextColor(COLORREF color) {
    color_ = color;
    Redraw();
}
void CFormatStatic::SetUnderline(bool on) {
    underline_ = on;
    Redraw();
}
void CFormatStatic::SetItalic(bool on) {
    italic_ = on;
    Redraw();
}
void CFormatStatic::SetBold(bool on) {
    bold_ = on;
    Redraw();
}
void CFormatStatic::SetStrikeOut(bool on) {
    strikeOut_ = on;
    Redraw();
}
void CFormatStatic::SetCentred(bool on) {
    centred_ = on;
    Redraw();
}
void CFormatStatic::SetText(std::wstring text) {
    text_ = std::move(text);
    Redraw();
}

void CFormatStatic::Redraw() {
    HWND hwnd = GetSafeHwnd();
    if (!hwnd)
        return;
    if (HWND parent = ::GetParent(hwnd)) {
        RECT area{};
        ::GetWindowRect(hwnd, &area);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
        ::InvalidateRect(parent, &area, TRUE);
    }
    ::InvalidateRect(hwnd, nullptr, FALSE);
}

void CFormatStatic::Paint(HDC dc) {
    HWND hwnd = GetSafeHwnd();
    HFONT base = reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
    if (!base)
        base = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW font{};
    ::GetObjectW(base, sizeof(font), &font);
    if (bold_)
        font.lfWeight = FW_BOLD;
    if (italic_)
        font.lfItalic = TRUE;
    if (underline_)
        font.lfUnderline = TRUE;
    if (strikeOut_)
        font.lfStrikeOut = TRUE;
    UniqueGdiObject drawn(::CreateFontIndirectW(&font));

    const std::wstring text = text_.empty() ? WindowText(hwnd) : text_;
    RECT client{};
    ::GetClientRect(hwnd, &client);
    HGDIOBJ oldFont = ::SelectObject(dc, drawn ? drawn.Get() : base);
    const COLORREF oldColor = ::SetTextColor(dc, color_);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client,
                (centred_ ? DT_CENTER : DT_LEFT) | DT_WORDBREAK);
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldColor);
    ::SelectObject(dc, oldFont);
}

LRESULT CFormatStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintMessage(GetSafeHwnd(), message, wParam, [this](HDC dc) { Paint(dc); });
    case WM_SETTEXT: {
        const LRESULT result = Default(message, wParam, lParam);
        Redraw();
        return result;
    }
    default:
        return Default(message, wParam, lParam);
    }
}

// --- CHoverStatic ----------------------------------------------------------------------------

CHoverStatic::CHoverStatic() {
    color_ = 0xFF0000;
    underline_ = true;
}

void CHoverStatic::OnAttached() {
    HWND hwnd = GetSafeHwnd();
    ::SetWindowLongPtrW(hwnd, GWL_STYLE, ::GetWindowLongPtrW(hwnd, GWL_STYLE) | SS_NOTIFY);
}

LRESULT CHoverStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETCURSOR) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    return CFormatStatic::WindowProc(message, wParam, lParam);
}

// --- CLinkStatic -----------------------------------------------------------------------------

LRESULT CLinkStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONUP) {
        const std::wstring target = link_.empty() ? WindowText(GetSafeHwnd()) : link_;
        if (!target.empty())
            Open(target);
    }
    return CHoverStatic::WindowProc(message, wParam, lParam);
}

void CLinkStatic::Open(const std::wstring& target) {
    ::ShellExecuteW(::GetParent(GetSafeHwnd()), L"open", target.c_str(), nullptr, nullptr,
                    SW_SHOWNORMAL);
}

// --- CEditWithSelectAll ----------------------------------------------------------------------

LRESULT CEditWithSelectAll::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    constexpr WPARAM kCtrlA = 1;
    if (message == WM_CHAR && wParam == kCtrlA) {
        ::SendMessageW(GetSafeHwnd(), EM_SETSEL, 0, -1);
        ::SendMessageW(GetSafeHwnd(), EM_SCROLLCARET, 0, 0);
        return 0;
    }
    return Default(message, wParam, lParam);
}

// --- CChangeColorButton ----------------------------------------------------------------------

void CChangeColorButton::OnAttached() {
    HWND hwnd = GetSafeHwnd();
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
    ::SetWindowLongPtrW(hwnd, GWL_STYLE, (style & ~LONG_PTR(BS_TYPEMASK)) | BS_OWNERDRAW);
}

void CChangeColorButton::SetColor(COLORREF color) {
    color_ = color;
    if (GetSafeHwnd())
        ::InvalidateRect(GetSafeHwnd(), nullptr, FALSE);
}

bool CChangeColorButton::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    UniqueGdiObject brush(::CreateSolidBrush(color_));
    UniqueGdiObject pen(::CreatePen(PS_SOLID, 1, color_));
    HGDIOBJ oldBrush = ::SelectObject(dc, brush.Get());
    HGDIOBJ oldPen = ::SelectObject(dc, pen.Get());
    ::Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
    ::DrawEdge(dc, &rect, (item.itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    return true;
}

// --- CCircleShapeStatic ----------------------------------------------------------------------

void CCircleShapeStatic::SetRatio(double ratio) {
    ratio_ = ratio;
    if (GetSafeHwnd())
        ::InvalidateRect(GetSafeHwnd(), nullptr, FALSE);
}

void CCircleShapeStatic::SetColor(COLORREF color) {
    color_ = color;
    if (GetSafeHwnd())
        ::InvalidateRect(GetSafeHwnd(), nullptr, FALSE);
}

void CCircleShapeStatic::Paint(HDC dc) {
    RECT client{};
    ::GetClientRect(GetSafeHwnd(), &client);
    UniqueGdiObject background(::CreateSolidBrush(kBackground));
    UniqueGdiObject outline(::CreatePen(PS_SOLID, 1, kBackground));
    UniqueGdiObject ellipsePen(::CreatePen(PS_SOLID, 2, color_));
    HGDIOBJ oldBrush = ::SelectObject(dc, background.Get());
    HGDIOBJ oldPen = ::SelectObject(dc, outline.Get());
    ::Rectangle(dc, client.left, client.top, client.right, client.bottom);

    const gw::PixelRect e =
        gw::CircleEllipseRect({client.left, client.top, client.right, client.bottom}, ratio_);
    if (e.bottom > e.top) {
        ::SelectObject(dc, ellipsePen.Get());
        ::Ellipse(dc, e.left, e.top, e.right, e.bottom);
    }
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
}

LRESULT CCircleShapeStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT || message == WM_PRINTCLIENT)
        return PaintMessage(GetSafeHwnd(), message, wParam, [this](HDC dc) { Paint(dc); });
    return Default(message, wParam, lParam);
}
