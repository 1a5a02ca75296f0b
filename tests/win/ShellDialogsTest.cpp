// The dialog base, the splash screen on its thread, the about box's layout and picture, and
// the small dialog controls, with the program's own resources. Pictures are checked on the
// pixels that the controls paint into a memory bitmap (WM_PRINTCLIENT, WM_ERASEBKGND).
#include "framework/win/Bitmaps.h"
#include "framework/win/Dialog.h"
#include "framework/win/WideString.h"
#include "framework/win/Window.h"
#include "resources/resource.h"
#include "shell/DialogGeometry.h"
#include "shell/ProgramLinks.h"
#include "shell/win/AboutDlg.h"
#include "shell/win/DialogControls.h"
#include "shell/win/MoreLanguagesDlg.h"
#include "shell/win/SplashScreen.h"
#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using wintest::PumpFor;
using wintest::SendClick;

// A 32-bit top-down memory bitmap selected into a memory device context.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        const BITMAPINFO info = TopDown32BitmapInfo(width, height);
        dc_ = ::CreateCompatibleDC(nullptr);
        bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        old_ = ::SelectObject(dc_, bitmap_);
        Fill(0x00FFFFFF);
    }
    ~Canvas() {
        ::SelectObject(dc_, old_);
        ::DeleteObject(bitmap_);
        ::DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_; }
    void Fill(COLORREF color) {
        ::GdiFlush();
        for (int i = 0; i < width_ * height_; ++i)
            static_cast<std::uint32_t*>(bits_)[i] = Bgr(color);
    }
    COLORREF At(int x, int y) const {
        ::GdiFlush();
        const std::uint32_t p = static_cast<const std::uint32_t*>(bits_)[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Pixels of the colour in the rectangle.
    int Count(COLORREF color, RECT area) const {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                n += At(x, y) == color;
        return n;
    }
    // Bounding box of the pixels that are not the colour.
    RECT InkBounds(COLORREF background) const {
        RECT box{width_, height_, -1, -1};
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (At(x, y) != background) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box;
    }

private:
    static std::uint32_t Bgr(COLORREF c) {
        return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
};

// A plain top-level window to hold the controls under test; it reflects WM_DRAWITEM to them
// and counts its own paints.
class HostWindow : public CWnd {
public:
    // Hidden unless it must paint: without a window manager on the test display, destroying
    // a shown window waits 2 s for it to be withdrawn.
    explicit HostWindow(bool visible = false) {
        RegisterWindowClass(L"GWShellDialogsHost", 0, nullptr,
                            reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        CreateEx(0, L"GWShellDialogsHost", L"Glyphwell", WS_POPUP | (visible ? WS_VISIBLE : 0), 50,
                 50, 400, 300, nullptr, nullptr);
    }
    HWND AddChild(const wchar_t* className, const wchar_t* text, DWORD style, int width,
                  int height) {
        return ::CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 10, 10, width,
                                 height, GetSafeHwnd(), nullptr, ::GetModuleHandleW(nullptr),
                                 nullptr);
    }
    int paints = 0;
    int erases = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_DRAWITEM && CSubclassWnd::ReflectDrawItem(lParam))
            return TRUE;
        if (message == WM_PAINT)
            ++paints;
        if (message == WM_ERASEBKGND)
            ++erases;
        return Default(message, wParam, lParam);
    }
};

BOOL CALLBACK FindVisible(HWND hwnd, LPARAM found) {
    if (::IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForThreadWindow(DWORD threadId, DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms) {
        HWND found = nullptr;
        ::EnumThreadWindows(threadId, &FindVisible, reinterpret_cast<LPARAM>(&found));
        if (found)
            return found;
        ::Sleep(10);
    }
    return nullptr;
}

// Waits until the window is off the screen (hidden or gone); true if it went in time.
bool WaitUntilHidden(HWND window, DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms) {
        if (!::IsWindow(window) || !::IsWindowVisible(window))
            return true;
        ::Sleep(5);
    }
    return false;
}

RECT ClientRectInParent(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// --- CDialog ---------------------------------------------------------------------------------

class EndsItselfDlg : public CDialog {
public:
    EndsItselfDlg(WPARAM command) : CDialog(IDD_ABOUTBOX), command_(command) {}
    int initialised = 0;

protected:
    bool OnInitDialog() override {
        ++initialised;
        ::PostMessageW(GetSafeHwnd(), WM_COMMAND, command_, 0);
        return true;
    }

private:
    WPARAM command_;
};

TEST(Dialog, ModalRunReturnsTheResultOfOkOrCancel) {
    EndsItselfDlg ok(IDOK);
    EXPECT_EQ(ok.DoModal(), IDOK);
    EXPECT_EQ(ok.initialised, 1);
    EXPECT_EQ(ok.GetSafeHwnd(), nullptr);
    EXPECT_EQ(ok.DoModal(), IDOK) << "a dialog object runs again";

    EndsItselfDlg cancel(IDCANCEL);
    EXPECT_EQ(cancel.DoModal(), IDCANCEL);

    CDialog missing(4242);
    EXPECT_EQ(missing.DoModal(), -1);
}

TEST(Dialog, ModelessDialogIsDestroyedByOk) {
    CDialog dialog(IDD_ABOUTBOX);
    ASSERT_TRUE(dialog.Create());
    ASSERT_NE(dialog.GetSafeHwnd(), nullptr);
    EXPECT_EQ(CDialog::FromHandle(dialog.GetSafeHwnd()), &dialog);
    EXPECT_NE(dialog.GetDlgItem(IDOK), nullptr);
    ::SendMessageW(dialog.GetSafeHwnd(), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

// --- Splash screen ---------------------------------------------------------------------------

TEST(SplashScreen, ShowsCentredOnTopAndClosesItselfAfterTwoSeconds) {
    HostWindow main(true);
    PumpFor(100); // main window painted and validated
    const int paintsBefore = main.paints;
    const int erasesBefore = main.erases;

    HANDLE thread = nullptr;
    DWORD threadId = 0;
    const DWORD start = ::GetTickCount();
    ASSERT_TRUE(CSplashThread::Start(main.GetSafeHwnd(), &thread, &threadId));
    ASSERT_NE(thread, nullptr);
    HWND splash = WaitForThreadWindow(threadId, 1500);
    ASSERT_NE(splash, nullptr) << "the splash screen did not appear";

    RECT r{};
    ::GetWindowRect(splash, &r);
    const int width = 574 + ::GetSystemMetrics(SM_CXDLGFRAME);
    const int height = 229 + ::GetSystemMetrics(SM_CYDLGFRAME);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
    EXPECT_EQ(r.left, ::GetSystemMetrics(SM_CXFULLSCREEN) / 2 - width / 2);
    EXPECT_EQ(r.top, ::GetSystemMetrics(SM_CYFULLSCREEN) / 2 - height / 2);
    EXPECT_TRUE(::GetWindowLongPtrW(splash, GWL_EXSTYLE) & WS_EX_TOPMOST);

    ASSERT_TRUE(WaitUntilHidden(splash, 5000)) << "the splash screen stayed";
    const DWORD elapsed = ::GetTickCount() - start;
    EXPECT_GE(elapsed, 2000u);
    EXPECT_LE(elapsed, 3000u);
    ASSERT_TRUE(wintest::PumpUntilSignalled(thread, 5000));
    DWORD code = 0;
    ::GetExitCodeThread(thread, &code);
    EXPECT_EQ(code, DWORD(IDCANCEL)) << "closed by its timer";
    ::CloseHandle(thread);
    EXPECT_FALSE(::IsWindow(splash));

    // The main window is asked to repaint, without erasing its background.
    PumpFor(100);
    EXPECT_GT(main.paints, paintsBefore);
    EXPECT_EQ(main.erases, erasesBefore);
}

TEST(SplashScreen, ClickClosesItAtOnce) {
    HANDLE thread = nullptr;
    DWORD threadId = 0;
    const DWORD start = ::GetTickCount();
    ASSERT_TRUE(CSplashThread::Start(nullptr, &thread, &threadId));
    HWND splash = WaitForThreadWindow(threadId, 1500);
    ASSERT_NE(splash, nullptr);
    PumpFor(200);
    RECT r{};
    ::GetWindowRect(splash, &r);
    const DWORD clicked = ::GetTickCount();
    SendClick({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    ASSERT_TRUE(WaitUntilHidden(splash, 3000));
    const DWORD hidden = ::GetTickCount();
    EXPECT_LT(hidden - clicked, 500u);
    EXPECT_LT(hidden - start, 2000u) << "before its timer";
    ASSERT_TRUE(wintest::PumpUntilSignalled(thread, 5000));
    DWORD code = 0;
    ::GetExitCodeThread(thread, &code);
    EXPECT_EQ(code, DWORD(CSplashScreen::kClosedByClick));
    ::CloseHandle(thread);
    // Its timer fires into the void later and ends quietly.
    PumpFor(2200);
}

// --- About box -------------------------------------------------------------------------------

// The link texts' rectangles in the picture (resources/tools/make_shell_pictures.py).
struct LinkExpectation {
    int id;
    RECT inPicture;
    const char16_t* address;
};
const LinkExpectation kLinks[] = {
    {IDC_LINK_WEB_SITE, {196, 120, 470, 142}, gw::kMakerWebSite},
    {IDC_LINK_USERS_GROUP, {196, 144, 470, 166}, gw::kUsersGroupPage},
    {IDC_LINK_MAKER, {16, 122, 166, 156}, gw::kMakerWebSite},
    {IDC_LINK_MAIL, {196, 168, 470, 190}, gw::kMakerMail},
};

TEST(AboutBox, FitsThePictureAndPlacesOkAndTheLinkAreasOverIt) {
    CAboutDlg about;
    ASSERT_EQ(about.BitmapWidth(), 574);
    ASSERT_EQ(about.BitmapHeight(), 229);
    ASSERT_TRUE(about.Create());
    HWND dialog = about.GetSafeHwnd();
    EXPECT_TRUE(::GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);

    RECT window{};
    ::GetWindowRect(dialog, &window);
    EXPECT_EQ(window.right - window.left, 574 + ::GetSystemMetrics(SM_CXDLGFRAME));
    EXPECT_EQ(window.bottom - window.top,
              229 + ::GetSystemMetrics(SM_CYDLGFRAME) + ::GetSystemMetrics(SM_CYCAPTION));

    RECT client{};
    ::GetClientRect(dialog, &client);
    const RECT ok = ClientRectInParent(about.GetDlgItem(IDOK));
    EXPECT_EQ(ok.right, client.right - 10);
    EXPECT_EQ(ok.bottom, client.bottom - 10);

    // The template as it comes, unscaled: its window and the link areas on the screen.
    CDialog unscaled(IDD_ABOUTBOX);
    ASSERT_TRUE(unscaled.Create());
    RECT templateWindow{};
    ::GetWindowRect(unscaled.GetSafeHwnd(), &templateWindow);
    const gw::DialogFrame frame{
        {templateWindow.left, templateWindow.top, templateWindow.right, templateWindow.bottom},
        ::GetSystemMetrics(SM_CXDLGFRAME),
        ::GetSystemMetrics(SM_CYDLGFRAME),
        ::GetSystemMetrics(SM_CYCAPTION)};

    for (const LinkExpectation& link : kLinks) {
        SCOPED_TRACE(testing::Message() << "link area " << link.id);
        // Each area is the template's one, measured from the client origin of the window as
        // the template made it and scaled to the picture.
        RECT source{};
        ::GetWindowRect(unscaled.GetDlgItem(link.id), &source);
        const gw::PixelRect expected = gw::ScaleToPicture(
            {source.left, source.top, source.right, source.bottom}, frame, 574, 229);
        const RECT area = ClientRectInParent(about.GetDlgItem(link.id));
        EXPECT_EQ((gw::PixelRect{area.left, area.top, area.right, area.bottom}), expected);
        // And so it lies over the words in the picture: a click in their middle hits it.
        const POINT middle{(link.inPicture.left + link.inPicture.right) / 2,
                           (link.inPicture.top + link.inPicture.bottom) / 2};
        EXPECT_TRUE(::PtInRect(&area, middle));
        EXPECT_GE(area.right - area.left, (link.inPicture.right - link.inPicture.left) * 9 / 10);

        ASSERT_NE(about.Link(link.id), nullptr);
        EXPECT_EQ(about.Link(link.id)->Link(),
                  std::wstring(link.address,
                               link.address + std::char_traits<char16_t>::length(link.address)));
        EXPECT_TRUE(::GetWindowLongPtrW(about.GetDlgItem(link.id), GWL_STYLE) & SS_NOTIFY);
    }
    EXPECT_EQ(about.Link(IDC_LINK_MAIL)->Link().rfind(L"mailto:", 0), 0u);
    about.DestroyWindow();
}

TEST(AboutBox, BackgroundTilesThePictureAndDrawsTheBuildLine) {
    CAboutDlg about;
    ASSERT_TRUE(about.Create());
    HWND dialog = about.GetSafeHwnd();
    // Larger than the picture, so that the tiling shows.
    ::SetWindowPos(dialog, nullptr, 0, 0, 800, 400, SWP_NOMOVE | SWP_NOZORDER);
    RECT client{};
    ::GetClientRect(dialog, &client);
    ASSERT_GT(client.right, 574 + 100);
    ASSERT_GT(client.bottom, 229 + 50);

    Canvas canvas(client.right, client.bottom);
    ::SendMessageW(dialog, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0);

    // The picture itself, read from the resource.
    HBITMAP picture = ::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_SPLASH));
    ASSERT_NE(picture, nullptr);
    Canvas original(574, 229);
    HDC source = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(source, picture);
    ::BitBlt(original.Dc(), 0, 0, 574, 229, source, 0, 0, SRCCOPY);
    ::SelectObject(source, old);
    ::DeleteDC(source);
    ::DeleteObject(picture);

    const POINT samples[] = {{5, 5}, {60, 40}, {300, 60}, {200, 130}, {500, 150}, {570, 225}};
    for (POINT p : samples) {
        SCOPED_TRACE(testing::Message() << "at " << p.x << "," << p.y);
        EXPECT_EQ(canvas.At(p.x, p.y), original.At(p.x, p.y));
        EXPECT_EQ(canvas.At(p.x + 574, p.y), original.At(p.x, p.y)) << "tiled to the right";
        if (p.y + 229 < client.bottom) {
            EXPECT_EQ(canvas.At(p.x, p.y + 229), original.At(p.x, p.y)) << "tiled below";
        }
    }

    // "Build 4.1.1" in 0x880001 on 0xCCCCCC, centred at x = 60, top at y = 200.
    const RECT line{0, 200, 140, 228};
    EXPECT_GT(canvas.Count(0x880001, line), 20);
    int left = 1000;
    int right = -1;
    int top = 1000;
    for (int y = line.top; y < line.bottom; ++y)
        for (int x = line.left; x < line.right; ++x)
            if (canvas.At(x, y) == 0x880001) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
            }
    EXPECT_NEAR((left + right) / 2, 60, 3);
    EXPECT_GE(top, 200);
    EXPECT_LE(top, 204);

    // Static controls draw transparently in the dialog's text colour over the picture; edit
    // controls keep their own colours.
    HDC dc = ::GetDC(dialog);
    HWND link = about.GetDlgItem(IDC_LINK_WEB_SITE);
    const auto brush = reinterpret_cast<HGDIOBJ>(::SendMessageW(
        dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(link)));
    EXPECT_EQ(brush, ::GetStockObject(HOLLOW_BRUSH));
    EXPECT_EQ(::GetTextColor(dc), COLORREF(0x800000));
    EXPECT_EQ(::GetBkMode(dc), TRANSPARENT);
    const auto editBrush = reinterpret_cast<HGDIOBJ>(::SendMessageW(
        dialog, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(link)));
    EXPECT_NE(editBrush, ::GetStockObject(HOLLOW_BRUSH));
    ::ReleaseDC(dialog, dc);
    about.DestroyWindow();
}

// --- Controls --------------------------------------------------------------------------------

TEST(EditWithSelectAll, CtrlASelectsAllAndScrollsOtherCharactersAreDefault) {
    HostWindow host;
    const std::wstring text(200, L'w');
    HWND edit = host.AddChild(L"Edit", text.c_str(), ES_AUTOHSCROLL, 80, 22);
    HWND plain = host.AddChild(L"Edit", text.c_str(), ES_AUTOHSCROLL, 80, 22);
    CEditWithSelectAll control;
    ASSERT_TRUE(control.Attach(edit));

    for (HWND e : {edit, plain}) {
        ::SendMessageW(e, EM_SETSEL, 0, 0);
        ::SendMessageW(e, EM_SCROLLCARET, 0, 0);
    }
    ::SendMessageW(edit, WM_CHAR, 2, 0); // Ctrl+B
    DWORD start = 1;
    DWORD end = 1;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(end - start, 0u) << "Ctrl+B selects nothing";

    ::SendMessageW(edit, WM_CHAR, 1, 0); // Ctrl+A
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 200u);
    EXPECT_GT(::SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "caret scrolled in view";

    ::SendMessageW(plain, WM_CHAR, 1, 0);
    ::SendMessageW(plain, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_NE(end - start, 200u) << "a plain edit control does not do it by itself";
}

class RecordingLink : public CLinkStatic {
public:
    std::vector<std::wstring> opened;

protected:
    void Open(const std::wstring& target) override { opened.push_back(target); }
};

TEST(LinkStatic, ClickOpensTheLinkOrElseTheWindowTextOrNothing) {
    HostWindow host;
    HWND withText = host.AddChild(L"Static", L"https://text.example/", SS_LEFT, 100, 20);
    HWND empty = host.AddChild(L"Static", L"", SS_LEFT, 100, 20);
    RecordingLink byText;
    RecordingLink byLink;
    RecordingLink nothing;
    ASSERT_TRUE(byText.Attach(withText));
    ASSERT_TRUE(nothing.Attach(empty));
    HWND other = host.AddChild(L"Static", L"shown words", SS_LEFT, 100, 20);
    ASSERT_TRUE(byLink.Attach(other));
    byLink.SetLink(L"mailto:someone@vantorel.example");

    for (HWND h : {withText, empty, other})
        ::SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(byText.opened, std::vector<std::wstring>{L"https://text.example/"});
    EXPECT_EQ(byLink.opened, std::vector<std::wstring>{L"mailto:someone@vantorel.example"});
    EXPECT_TRUE(nothing.opened.empty());
}

TEST(MoreLanguages, ShowsItsTextsAndBothLinksOpenTheLanguagesPage) {
    CMoreLanguagesDlg dialog;
    ASSERT_TRUE(dialog.Create());
    HWND window = dialog.GetSafeHwnd();
    EXPECT_EQ(wintest::WindowText(window), L"More Languages");
    std::vector<std::wstring> texts;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        texts.push_back(wintest::WindowText(child));
    const std::vector<std::wstring> expected = {
        L"To add more language modules ",
        L"click here",
        L"or visit:",
        L"www.vantorel.example/glyphwell/languages",
        L"You will be able to download additional language modules and will  be able to use a "
        L"ready-made template to create your own language/keyboard combination.",
        L"OK"};
    EXPECT_EQ(texts, expected);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_EQ(dialog.Link(i).Link(), ToWide(gw::kLanguagesPage));
    dialog.DestroyWindow();
}

TEST(HoverStatic, ReceivesClicksShowsTheHandAndStartsBlueUnderlined) {
    HostWindow host;
    HWND label = host.AddChild(L"Static", L"hover", SS_LEFT, 100, 20);
    ASSERT_EQ(::SendMessageW(label, WM_NCHITTEST, 0, MAKELPARAM(65, 65)), HTTRANSPARENT);
    CHoverStatic hover;
    ASSERT_TRUE(hover.Attach(label));
    EXPECT_TRUE(::GetWindowLongPtrW(label, GWL_STYLE) & SS_NOTIFY);
    EXPECT_EQ(::SendMessageW(label, WM_NCHITTEST, 0, MAKELPARAM(65, 65)), HTCLIENT);
    EXPECT_EQ(hover.TextColor(), COLORREF(0xFF0000));
    EXPECT_TRUE(hover.Underline());
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_TRUE(::SendMessageW(label, WM_SETCURSOR, reinterpret_cast<WPARAM>(label),
                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
}

TEST(FormatStatic, PaintsItsTextInItsColourAndAttributes) {
    HostWindow host;
    constexpr int kWidth = 200;
    constexpr int kHeight = 30;
    HWND label = host.AddChild(L"Static", L"Il", SS_LEFT, kWidth, kHeight);
    ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)),
                   FALSE);
    CFormatStatic format;
    ASSERT_TRUE(format.Attach(label));
    format.SetText(L"HEAT MAN");
    constexpr COLORREF kColor = 0x2040C0;
    format.SetTextColor(kColor);

    struct Rendering {
        RECT ink;       // bounding box of everything drawn
        int colour;     // pixels of exactly the text colour
        int longestRow; // the row with the most ink (an underline or strike-out line)
        int longestRun; // and its length
    };
    auto render = [&] {
        Canvas canvas(kWidth, kHeight);
        ::SendMessageW(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
        Rendering r{canvas.InkBounds(0xFFFFFF), canvas.Count(kColor, {0, 0, kWidth, kHeight}), -1,
                    0};
        for (int y = 0; y < kHeight; ++y) {
            int run = 0;
            for (int x = 0; x < kWidth; ++x) {
                run = canvas.At(x, y) != 0xFFFFFF ? run + 1 : 0;
                if (run > r.longestRun) {
                    r.longestRun = run;
                    r.longestRow = y;
                }
            }
        }
        return r;
    };
    const Rendering plain = render();
    const int plainWidth = plain.ink.right - plain.ink.left;
    ASSERT_GT(plain.colour, 10) << "text drawn in its colour";
    EXPECT_LE(plain.ink.left, 2) << "left-aligned";
    EXPECT_LT(plain.longestRun, plainWidth / 2) << "no line through the text";

    format.SetBold(true);
    EXPECT_GT(render().ink.right - render().ink.left, plainWidth) << "bold text is wider";
    format.SetBold(false);

    format.SetCentred(true);
    const Rendering centred = render();
    EXPECT_NEAR((centred.ink.left + centred.ink.right) / 2, kWidth / 2, 2);
    EXPECT_NEAR(centred.ink.right - centred.ink.left, plainWidth, 1);
    format.SetCentred(false);

    // Underline and strike-out draw a line across the text: below it, or through its middle.
    format.SetUnderline(true);
    const Rendering underlined = render();
    EXPECT_GE(underlined.longestRun, plainWidth * 9 / 10);
    EXPECT_GE(underlined.longestRow, plain.ink.bottom - 1);
    format.SetUnderline(false);
    format.SetStrikeOut(true);
    const Rendering struck = render();
    EXPECT_GE(struck.longestRun, plainWidth * 9 / 10);
    EXPECT_GT(struck.longestRow, plain.ink.top);
    EXPECT_LT(struck.longestRow, plain.ink.bottom - 1);
    format.SetStrikeOut(false);

    // Without its own text the window text ("Il") is drawn: much narrower.
    format.SetText(L"");
    const Rendering windowText = render();
    EXPECT_GT(windowText.colour, 0);
    EXPECT_LT(windowText.ink.right - windowText.ink.left, plainWidth / 3);
}

TEST(ChangeColorButton, FillsItsColourRaisedOrSunkenWhilePressed) {
    HostWindow host;
    HWND button = host.AddChild(L"Button", L"", BS_PUSHBUTTON, 40, 24);
    CChangeColorButton swatch;
    ASSERT_TRUE(swatch.Attach(button));
    EXPECT_EQ(::GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    constexpr COLORREF kTrace = 0x10A020;
    swatch.SetColor(kTrace);

    auto render = [&](Canvas& canvas) {
        ::SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    };
    Canvas raised(40, 24);
    render(raised);
    EXPECT_EQ(raised.At(20, 12), kTrace);
    EXPECT_EQ(raised.At(5, 5), kTrace);
    EXPECT_EQ(raised.At(0, 0), ::GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(raised.At(39, 23), ::GetSysColor(COLOR_3DDKSHADOW));

    ::SendMessageW(button, BM_SETSTATE, TRUE, 0);
    Canvas sunken(40, 24);
    render(sunken);
    EXPECT_EQ(sunken.At(20, 12), kTrace);
    EXPECT_EQ(sunken.At(0, 0), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(sunken.At(39, 23), ::GetSysColor(COLOR_3DHILIGHT));
}

TEST(CircleShapeStatic, EllipseHeightFollowsTheRatio) {
    HostWindow host;
    constexpr int kWidth = 100;
    constexpr int kHeight = 60; // the square's side
    HWND picture = host.AddChild(L"Static", L"", SS_LEFT, kWidth, kHeight);
    CCircleShapeStatic circle;
    ASSERT_TRUE(circle.Attach(picture));
    constexpr COLORREF kTrace = 0x00FF00;
    circle.SetColor(kTrace);
    constexpr COLORREF kBack = CCircleShapeStatic::kBackground;

    struct Case {
        double ratio;
        int height; // min(60, (int)(ratio / 0.785398175 * 60) + 3)
    };
    const Case cases[] = {{0.0, 3}, {0.2, 18}, {0.5, 41}, {0.7, 56}, {gw::kFullCircleRatio, 60},
                          {2.0, 60}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "ratio " << c.ratio);
        circle.SetRatio(c.ratio);
        Canvas canvas(kWidth, kHeight);
        ::SendMessageW(picture, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
        // Pixel for pixel the picture of an ellipse of that height, centred in the 60 x 60
        // square, outlined with a 2-pixel pen and filled with the background.
        Canvas expected(kWidth, kHeight);
        {
            HDC dc = expected.Dc();
            HBRUSH back = ::CreateSolidBrush(kBack);
            HPEN edge = ::CreatePen(PS_SOLID, 1, kBack);
            HPEN outline = ::CreatePen(PS_SOLID, 2, kTrace);
            HGDIOBJ oldBrush = ::SelectObject(dc, back);
            HGDIOBJ oldPen = ::SelectObject(dc, edge);
            ::Rectangle(dc, 0, 0, kWidth, kHeight);
            ::SelectObject(dc, outline);
            const int margin = (kHeight - c.height) / 2;
            ::Ellipse(dc, 0, margin, kHeight, kHeight - margin);
            ::SelectObject(dc, oldPen);
            ::SelectObject(dc, oldBrush);
            ::DeleteObject(outline);
            ::DeleteObject(edge);
            ::DeleteObject(back);
        }
        int differing = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                differing += canvas.At(x, y) != expected.At(x, y);
        EXPECT_EQ(differing, 0);
        // The outline spans the ellipse's height in the square's middle column, within the
        // pen's width.
        int top = -1;
        int bottom = -1;
        for (int y = 0; y < kHeight; ++y)
            if (canvas.At(kHeight / 2, y) == kTrace) {
                if (top < 0)
                    top = y;
                bottom = y;
            }
        ASSERT_GE(top, 0) << "no ellipse";
        EXPECT_NEAR(bottom - top + 1, c.height, 2);
        // Filled with the background, on the background.
        EXPECT_EQ(canvas.At(0, 0), kBack);
        EXPECT_EQ(canvas.At(kWidth - 1, kHeight - 1), kBack);
        EXPECT_EQ(canvas.At(80, kHeight / 2), kBack) << "outside the square";
        if (c.height > 8) {
            EXPECT_EQ(canvas.At(kHeight / 2, kHeight / 2), kBack) << "inside the ellipse";
        }
        // Full width of the square: the outline reaches its left and right edges.
        EXPECT_EQ(canvas.Count(kTrace, {0, 0, 2, kHeight}) > 0, true);
        EXPECT_EQ(canvas.Count(kTrace, {kHeight - 2, 0, kHeight, kHeight}) > 0, true);
        EXPECT_EQ(canvas.Count(kTrace, {kHeight + 1, 0, kWidth, kHeight}), 0);
    }
}

} // namespace
