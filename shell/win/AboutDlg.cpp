#include "shell/win/AboutDlg.h"

#include "framework/win/WideString.h"
#include "resources/resource.h"
#include "shell/DialogGeometry.h"
#include "shell/ProgramLinks.h"

namespace {

constexpr COLORREF kAboutTextColor = 0x800000;

struct LinkArea {
    int id;
    const char16_t* address;
};
constexpr LinkArea kLinkAreas[CAboutDlg::kLinkCount] = {
    {IDC_LINK_WEB_SITE, gw::kMakerWebSite},
    {IDC_LINK_USERS_GROUP, gw::kUsersGroupPage},
    {IDC_LINK_MAKER, gw::kMakerWebSite},
    {IDC_LINK_MAIL, gw::kMakerMail},
};

gw::PixelRect ToPixelRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

} // namespace

CAboutDlg::CAboutDlg(HWND parent) : CSplashAboutParentDlg(IDD_ABOUTBOX, parent) {}

CLinkStatic* CAboutDlg::Link(int controlId) {
    for (int i = 0; i < kLinkCount; ++i)
        if (kLinkAreas[i].id == controlId)
            return &links_[i];
    return nullptr;
}

bool CAboutDlg::OnInitDialog() {
    HWND dialog = GetSafeHwnd();
    SetControlTextColor(kAboutTextColor);
    ::SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    // The link areas are laid out in the template's proportions of the picture, so they are
    // scaled from the window as the template made it, before it is fitted to the picture.
    gw::DialogFrame frame;
    RECT window{};
    ::GetWindowRect(dialog, &window);
    frame.window = ToPixelRect(window);
    frame.frameX = ::GetSystemMetrics(SM_CXDLGFRAME);
    frame.frameY = ::GetSystemMetrics(SM_CYDLGFRAME);
    frame.captionY = ::GetSystemMetrics(SM_CYCAPTION);
    gw::PixelRect placed[kLinkCount];
    for (int i = 0; i < kLinkCount; ++i) {
        links_[i].SubclassDlgItem(kLinkAreas[i].id, dialog);
        links_[i].SetLink(ToWide(kLinkAreas[i].address));
        RECT area{};
        ::GetWindowRect(GetDlgItem(kLinkAreas[i].id), &area);
        placed[i] = gw::ScaleToPicture(ToPixelRect(area), frame, BitmapWidth(), BitmapHeight());
    }

    ::SetWindowPos(dialog, nullptr, 0, 0, BitmapWidth() + frame.frameX,
                   BitmapHeight() + frame.frameY + frame.captionY,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    RECT client{};
    ::GetClientRect(dialog, &client);
    if (HWND ok = GetDlgItem(IDOK)) {
        RECT button{};
        ::GetWindowRect(ok, &button);
        const int width = button.right - button.left;
        const int height = button.bottom - button.top;
        ::SetWindowPos(ok, nullptr, client.right - kOkMargin - width,
                       client.bottom - kOkMargin - height, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (int i = 0; i < kLinkCount; ++i) {
        const gw::PixelRect& r = placed[i];
        ::SetWindowPos(GetDlgItem(kLinkAreas[i].id), nullptr, r.left, r.top, r.right - r.left,
                       r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return true;
}
