#include "shell/win/BitmapDialog.h"

#include "resources/resource.h"

#include <cwchar>

namespace {

constexpr int kBuildMajor = 4;
constexpr int kBuildMinor = 1;
constexpr int kBuildPatch = 1;
constexpr int kBuildLineX = 60;
constexpr int kBuildLineY = 200;
constexpr COLORREF kBuildLineColor = 0x880001;
constexpr COLORREF kBuildLineBackground = 0xCCCCCC;

} // namespace

CBitmapDialog::CBitmapDialog(UINT templateId, UINT bitmapId, HWND parent)
    : CDialog(templateId, parent), bitmapId_(bitmapId),
      textColor_(::GetSysColor(COLOR_WINDOWTEXT)) {
    LoadPicture();
}

CBitmapDialog::~CBitmapDialog() {
    DestroyWindow();
    ReleasePicture();
}

void CBitmapDialog::LoadPicture() {
    // A section's pixels are the process's own memory, given back whole when the picture goes;
    // a device bitmap's stay with the thread that loaded it (the splash's ended thread).
    bitmap_ =
        static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapId_),
                                          IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP info{};
    if (bitmap_ && ::GetObjectW(bitmap_, sizeof(info), &info)) {
        bitmapWidth_ = info.bmWidth;
        bitmapHeight_ = info.bmHeight;
    }
}

void CBitmapDialog::ReleasePicture() {
    if (bitmap_)
        ::DeleteObject(bitmap_);
    bitmap_ = nullptr;
}

void CBitmapDialog::DrawBackground(HDC dc) {
    if (!bitmap_ || bitmapWidth_ <= 0 || bitmapHeight_ <= 0)
        return;
    RECT client{};
    ::GetClientRect(GetSafeHwnd(), &client);
    HDC memory = ::CreateCompatibleDC(dc);
    if (!memory)
        return;
    HGDIOBJ old = ::SelectObject(memory, bitmap_);
    for (int y = 0; y < client.bottom; y += bitmapHeight_)
        for (int x = 0; x < client.right; x += bitmapWidth_)
            ::BitBlt(dc, x, y, bitmapWidth_, bitmapHeight_, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
}

INT_PTR CBitmapDialog::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        // A dialog object that runs again after its window was destroyed needs its picture.
        if (!bitmap_)
            LoadPicture();
        break;
    case WM_ERASEBKGND:
        DrawBackground(reinterpret_cast<HDC>(wParam));
        SetResult(TRUE);
        return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORMSGBOX: {
        // The picture shows through; edit controls and list boxes keep the default colours.
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, textColor_);
        return reinterpret_cast<INT_PTR>(::GetStockObject(HOLLOW_BRUSH));
    }
    case WM_DESTROY:
        ReleasePicture();
        break;
    default:
        break;
    }
    return CDialog::DialogProc(message, wParam, lParam);
}

CSplashAboutParentDlg::CSplashAboutParentDlg(UINT templateId, HWND parent)
    : CBitmapDialog(templateId, IDB_SPLASH, parent) {}

void CSplashAboutParentDlg::DrawBackground(HDC dc) {
    CBitmapDialog::DrawBackground(dc);
    wchar_t line[40];
    std::swprintf(line, 40, L"Build %d.%1d.%1d", kBuildMajor, kBuildMinor, kBuildPatch);
    HGDIOBJ oldFont = nullptr;
    if (HFONT font = reinterpret_cast<HFONT>(::SendMessageW(GetSafeHwnd(), WM_GETFONT, 0, 0)))
        oldFont = ::SelectObject(dc, font);
    const UINT oldAlign = ::SetTextAlign(dc, TA_CENTER | TA_TOP);
    const COLORREF oldColor = ::SetTextColor(dc, kBuildLineColor);
    const COLORREF oldBack = ::SetBkColor(dc, kBuildLineBackground);
    const int oldMode = ::SetBkMode(dc, OPAQUE);
    ::TextOutW(dc, kBuildLineX, kBuildLineY, line, static_cast<int>(std::wcslen(line)));
    ::SetBkMode(dc, oldMode);
    ::SetBkColor(dc, oldBack);
    ::SetTextColor(dc, oldColor);
    ::SetTextAlign(dc, oldAlign);
    if (oldFont)
        ::SelectObject(dc, oldFont);
}
