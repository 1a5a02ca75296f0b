#include "shell/win/SystemTray.h"

#include "framework/win/Handles.h"

#include <cwchar>

namespace {

const wchar_t kTrayWindowClass[] = L"GlyphwellTrayWnd";

#if !defined(_WIN64)
static_assert(CSystemTray::kRecordSize == 936, "the record with balloon fields");
#endif

HICON LoadTrayIcon(UINT resource) {
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                                           IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                           ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

struct MenuCloser {
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU menu) { ::DestroyMenu(menu); }
};
using UniqueMenu = ScopedHandle<HMENU, MenuCloser>;

UniqueMenu LoadMenuResource(UINT resource) {
    return UniqueMenu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource)));
}

} // namespace

CSystemTray::~CSystemTray() {
    Destroy();
}

bool CSystemTray::Create(HWND /*parent*/, UINT callbackMessage, const wchar_t* tip,
                         UINT iconResource, UINT menuResource) {
    // The notification area came with major version 4.
    if (LOBYTE(LOWORD(::GetVersion())) < 4)
        return false;
    if (GetSafeHwnd())
        return enabled_;
    RegisterWindowClass(kTrayWindowClass);
    if (!CreateEx(0, kTrayWindowClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr))
        return false;

    menuResource_ = menuResource;
    record_ = NOTIFYICONDATAW{};
    record_.cbSize = kRecordSize;
    record_.hWnd = GetSafeHwnd();
    record_.uID = menuResource;
    record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record_.uCallbackMessage = callbackMessage;
    record_.hIcon = LoadTrayIcon(iconResource);
    // At most 127 characters and the terminating zero.
    std::wcsncpy(record_.szTip, tip ? tip : L"", 127);
    record_.szTip[127] = L'\0';

    enabled_ = ShellNotify(NIM_ADD, &record_) != FALSE;
    return enabled_;
}

bool CSystemTray::SetIcon(UINT iconResource) {
    HICON icon = LoadTrayIcon(iconResource);
    if (!enabled_ || !icon)
        return false; // a missing picture keeps the current one
    record_.hIcon = icon;
    record_.uFlags = NIF_ICON;
    return ShellNotify(NIM_MODIFY, &record_) != FALSE;
}

bool CSystemTray::SetMenuDefaultItem(UINT item, bool byPosition) {
    if (!enabled_)
        return false;
    if (item == defaultItem_ && byPosition == defaultByPosition_)
        return true;
    UniqueMenu menu = LoadMenuResource(menuResource_);
    HMENU popup = menu ? ::GetSubMenu(menu.Get(), 0) : nullptr;
    if (!popup || !::SetMenuDefaultItem(popup, item, byPosition ? TRUE : FALSE))
        return false; // an item the menu refuses is not remembered
    defaultItem_ = item;
    defaultByPosition_ = byPosition;
    return true;
}

void CSystemTray::Destroy() {
    if (enabled_) {
        ShellNotify(NIM_DELETE, &record_);
        enabled_ = false;
    }
    DestroyWindow();
}

BOOL CSystemTray::ShellNotify(DWORD message, NOTIFYICONDATAW* record) {
    return ::Shell_NotifyIconW(message, record);
}

LRESULT CSystemTray::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == record_.uCallbackMessage && record_.uCallbackMessage != 0)
        return OnTrayNotification(wParam, lParam);
    return Default(message, wParam, lParam);
}

UINT CSystemTray::DefaultCommand() const {
    if (!defaultByPosition_)
        return defaultItem_;
    UniqueMenu menu = LoadMenuResource(menuResource_);
    HMENU popup = menu ? ::GetSubMenu(menu.Get(), 0) : nullptr;
    const UINT id = popup ? ::GetMenuItemID(popup, static_cast<int>(defaultItem_)) : UINT(-1);
    return id == UINT(-1) ? 0 : id; // a separator or submenu has no command
}

LRESULT CSystemTray::OnTrayNotification(WPARAM wParam, LPARAM lParam) {
    if (!enabled_ || wParam != record_.uID)
        return 0;
    HWND target = mainWindow_;

    switch (LOWORD(lParam)) {
    case WM_RBUTTONUP: {
        UniqueMenu menu = LoadMenuResource(menuResource_);
        HMENU popup = menu ? ::GetSubMenu(menu.Get(), 0) : nullptr;
        if (!popup)
            return 0;
        ::SetMenuDefaultItem(popup, defaultItem_, defaultByPosition_ ? TRUE : FALSE);
        POINT cursor{};
        ::GetCursorPos(&cursor);
        // The menu closes when the user clicks elsewhere only if its owner is in the
        // foreground, and only once the owner has seen a message after the menu.
        ::SetForegroundWindow(target);
        ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN, cursor.x, cursor.y, 0, target,
                         nullptr);
        ::PostMessageW(target, WM_NULL, 0, 0);
        return 1;
    }
    case WM_LBUTTONDBLCLK: {
        ::SetForegroundWindow(target);
        if (const UINT command = DefaultCommand())
            ::SendMessageW(target, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        return 1;
    }
    default:
        return 1;
    }
}
