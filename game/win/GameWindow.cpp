#include "game/win/GameWindow.h"

#include "framework/win/WideString.h"
#include "game/win/GameResource.h"

#include <string>

namespace {

constexpr UINT_PTR kFallTimer = 1;
constexpr UINT_PTR kNewItemTimer = 2;
// Posted when the Start/End button lost the focus, to take it back once the focus settled.
constexpr UINT kTakeFocusBack = WM_APP + 1;
constexpr int kMargin = 8;
constexpr int kPanelWidth = 150;
// The explosion picture's place relative to the completed item, in twips.
constexpr int kExplosionTopOffset = 275;
constexpr int kExplosionLeftOffset = 225;
// The menu bar's popups, by position.
constexpr UINT kSpeedMenu = 1;
constexpr UINT kCategoryMenu = 2;

HFONT MakeFont(int height) {
    return ::CreateFontW(-height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_SWISS, L"Arial");
}

void SetTextIfChanged(HWND window, const std::wstring& text) {
    wchar_t shown[256] = {};
    ::GetWindowTextW(window, shown, 256);
    if (text != shown)
        ::SetWindowTextW(window, text.c_str());
}

// The key-down's shift state: 1 Shift, 2 Ctrl, 4 Alt.
int ShiftState() {
    return (::GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (::GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (::GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

// Handles what is waiting in the queue, as the explosion does between its pictures.
void ProcessPendingMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

} // namespace

CGameWnd::CGameWnd(gw::RandomSource& random) : game_(random), topScores_(store_) {}

bool CGameWnd::Create() {
    WindowDc screen(nullptr);
    dpi_ = ::GetDeviceCaps(screen.Get(), LOGPIXELSX);
    const gw::GameField& field = game_.Field();
    field_ = {kMargin, kMargin, kMargin + Pixels(field.width),
              kMargin + Pixels(field.height + gw::kItemHeightTwips)};
    RECT client{0, 0, field_.right + 2 * kMargin + kPanelWidth, field_.bottom + kMargin};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    ::AdjustWindowRectEx(&client, style, TRUE, 0);

    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    HICON icon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_GAME));
    RegisterWindowClass(kGameWindowClass, 0, nullptr, ::GetSysColorBrush(COLOR_BTNFACE), icon);
    HMENU menu = ::LoadMenuW(instance, MAKEINTRESOURCEW(IDR_GAME_MENU));
    const std::wstring title = ToWide(gw::kGameTitle);
    if (!CreateEx(0, kGameWindowClass, title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                  client.right - client.left, client.bottom - client.top, nullptr, menu))
        return false;
    return topScores_.CreateFor(GetSafeHwnd());
}

HWND CGameWnd::AddControl(const wchar_t* className, const wchar_t* text, DWORD style, RECT at,
                          int id, HFONT font) {
    HWND control = ::CreateWindowExW(0, className, text, WS_CHILD | style, at.left, at.top,
                                     at.right - at.left, at.bottom - at.top, GetSafeHwnd(),
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                     ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

void CGameWnd::CreateControls() {
    fieldBrush_.Reset(::CreateSolidBrush(kFieldColour));
    itemFont_.Reset(MakeFont(20));
    scoreFont_.Reset(MakeFont(26));
    gameOverFont_.Reset(MakeFont(32));
    const auto small = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    const int x = field_.right + kMargin;
    for (int i = 0; i < gw::kLives; ++i) {
        const int left = x + i * (kHeartSize.cx + 8);
        hearts_[i] = AddControl(L"STATIC", nullptr, SS_BITMAP,
                                {left, 12, left + kHeartSize.cx, 12 + kHeartSize.cy},
                                IDC_HEART_FIRST + i, small);
        ::SendMessageW(hearts_[i], STM_SETIMAGE, IMAGE_BITMAP,
                       reinterpret_cast<LPARAM>(pictures_.Heart()));
    }
    AddControl(L"STATIC", L"Score:", WS_VISIBLE, {x, 60, x + kPanelWidth, 78}, IDC_SCORE_CAPTION,
               small);
    score_ = AddControl(L"STATIC", L"0", WS_VISIBLE, {x, 78, x + kPanelWidth, 110}, IDC_SCORE,
                        static_cast<HFONT>(scoreFont_.Get()));
    lastKey_ =
        AddControl(L"STATIC", L"", WS_VISIBLE, {x, 120, x + kPanelWidth, 138}, IDC_LAST_KEY, small);
    landed_ =
        AddControl(L"STATIC", L"0", WS_VISIBLE, {x, 142, x + kPanelWidth, 160}, IDC_LANDED, small);
    AddControl(L"BUTTON", L"Start Game", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
               {x, 176, x + 130, 206}, IDC_START_BUTTON, small);
    button_.Attach(::GetDlgItem(GetSafeHwnd(), IDC_START_BUTTON));

    const int cx = (field_.left + field_.right) / 2, cy = (field_.top + field_.bottom) / 2;
    gameOverFrame_ = AddControl(L"BUTTON", L"", BS_GROUPBOX, {cx - 110, cy - 50, cx + 110, cy + 50},
                                IDC_GAME_OVER_FRAME, small);
    gameOver_ = AddControl(L"STATIC", L"Game Over", SS_CENTER | SS_CENTERIMAGE,
                           {cx - 100, cy - 30, cx + 100, cy + 40}, IDC_GAME_OVER,
                           static_cast<HFONT>(gameOverFont_.Get()));
    explosion_ = AddControl(L"STATIC", nullptr, SS_BITMAP,
                            {0, 0, kExplosionSize.cx, kExplosionSize.cy}, IDC_EXPLOSION, small);
}

LRESULT CGameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CreateControls();
        ShowState();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_KEYDOWN:
        if (OnKeyDown(wParam))
            return 0;
        break;
    case kTakeFocusBack:
        OnFocusLost();
        return 0;
    case WM_CTLCOLORSTATIC: {
        const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (id == IDC_ITEM_LABEL || id == IDC_GAME_OVER || id == IDC_GAME_OVER_FRAME ||
            id == IDC_EXPLOSION) {
            auto dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, kItemColour);
            ::SetBkColor(dc, kFieldColour);
            return reinterpret_cast<LRESULT>(fieldBrush_.Get());
        }
        break;
    }
    case WM_PAINT:
        Paint();
        return 0;
    case WM_DESTROY:
        StopTimers();
        topScores_.DestroyWindow();
        ::PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return Default(message, wParam, lParam);
}

void CGameWnd::Paint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(GetSafeHwnd(), &paint);
    ::FillRect(dc, &field_, static_cast<HBRUSH>(fieldBrush_.Get()));
    ::EndPaint(GetSafeHwnd(), &paint);
}

void CGameWnd::OnCommand(int id) {
    if (id == ID_GAME_START || id == IDC_START_BUTTON) {
        if (game_.Running())
            EndGame();
        else
            StartGame();
    } else if (id == ID_GAME_PAUSE) {
        TogglePause();
    } else if (id == ID_GAME_TOP_SCORES && !game_.Running()) {
        topScores_.Reload();
        topScores_.ShowTable();
    } else if (id >= ID_SPEED_FIRST && id <= ID_SPEED_LAST) {
        game_.SelectSpeed(id - ID_SPEED_FIRST + 1);
    } else if (id >= ID_CATEGORY_FIRST && id <= ID_CATEGORY_LAST) {
        game_.SelectCategory(id - ID_CATEGORY_FIRST);
    } else if (id == ID_HELP_ABOUT) {
        CDialog about(IDD_GAME_ABOUT, GetSafeHwnd());
        about.DoModal();
    }
    ShowState();
}

void CGameWnd::StartGame() {
    game_.Start();
    StartTimers();
    SyncItemLabels();
    ShowState();
    ::SetFocus(button_.GetSafeHwnd());
}

void CGameWnd::EndGame() {
    topScores_.Reload();
    StopTimers();
    const int finalScore = game_.End();
    SyncItemLabels();
    ShowState();
    topScores_.EnterScore(finalScore);
}

void CGameWnd::TogglePause() {
    if (!game_.Running())
        return;
    game_.TogglePause();
    if (game_.Paused())
        StopTimers();
    else
        StartTimers();
}

void CGameWnd::StartTimers() {
    ::SetTimer(GetSafeHwnd(), kFallTimer, gw::kFallTickMs, nullptr);
    ::SetTimer(GetSafeHwnd(), kNewItemTimer, static_cast<UINT>(game_.NewItemIntervalMs()), nullptr);
}

void CGameWnd::StopTimers() {
    ::KillTimer(GetSafeHwnd(), kFallTimer);
    ::KillTimer(GetSafeHwnd(), kNewItemTimer);
}

void CGameWnd::OnTimer(UINT_PTR id) {
    if (!game_.Running() || game_.Paused())
        return;
    if (id == kNewItemTimer) {
        game_.NewItemTimer();
    } else if (id == kFallTimer) {
        // The tick's own time does not count towards the next one.
        ::KillTimer(GetSafeHwnd(), kFallTimer);
        if (!game_.FallTick()) {
            EndGame();
            return;
        }
        ::SetTimer(GetSafeHwnd(), kFallTimer, gw::kFallTickMs, nullptr);
    }
    SyncItemLabels();
    ShowState();
}

bool CGameWnd::OnKeyDown(WPARAM virtualKey) {
    if (!game_.Running())
        return false;
    if (game_.Paused())
        return true;
    const std::optional<gw::Explosion> explosion =
        game_.KeyDown(static_cast<int>(virtualKey), ShiftState());
    SyncItemLabels();
    ShowState();
    if (explosion)
        Explode(*explosion);
    return true;
}

void CGameWnd::Explode(const gw::Explosion& explosion) {
    ::MessageBeep(MB_OK);
    const POINT at =
        FieldPoint(explosion.top + kExplosionTopOffset, explosion.left + kExplosionLeftOffset);
    for (int frame = 0; frame < kExplosionFrames; ++frame) {
        ProcessPendingMessages();
        if (!GetSafeHwnd())
            return;
        ::SendMessageW(explosion_, STM_SETIMAGE, IMAGE_BITMAP,
                       reinterpret_cast<LPARAM>(pictures_.ExplosionFrame(frame)));
        ::SetWindowPos(explosion_, HWND_TOP, at.x, at.y, kExplosionSize.cx, kExplosionSize.cy,
                       SWP_SHOWWINDOW | SWP_NOACTIVATE);
        ::UpdateWindow(explosion_);
        ::Sleep(5);
    }
    ::ShowWindow(explosion_, SW_HIDE);
}

POINT CGameWnd::FieldPoint(double top, double left) const {
    return {field_.left + Pixels(left), field_.top + Pixels(top)};
}

// One label per active item, at its place with its remaining text.
void CGameWnd::SyncItemLabels() {
    const std::vector<gw::FallingItem>& items = game_.Items();
    for (std::size_t i = items.size(); i < itemLabels_.size(); ++i) {
        if (itemLabels_[i])
            ::DestroyWindow(itemLabels_[i]);
    }
    itemLabels_.resize(items.size(), nullptr);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const gw::FallingItem& item = items[i];
        HWND& label = itemLabels_[i];
        if (!item.active) {
            if (label)
                ::DestroyWindow(label);
            label = nullptr;
            continue;
        }
        const POINT at = FieldPoint(item.top, item.left);
        const RECT place{at.x, at.y, at.x + Pixels(item.width),
                         at.y + Pixels(gw::kItemHeightTwips)};
        if (!label)
            label = AddControl(L"STATIC", L"", WS_VISIBLE | SS_CENTER, place, IDC_ITEM_LABEL,
                               static_cast<HFONT>(itemFont_.Get()));
        SetTextIfChanged(label, ToWide(item.text));
        ::SetWindowPos(label, nullptr, place.left, place.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CGameWnd::ShowState() {
    SetTextIfChanged(score_, std::to_wstring(game_.Score()));
    SetTextIfChanged(lastKey_, ToWide(game_.LastKey()));
    SetTextIfChanged(landed_, std::to_wstring(game_.Landed()));
    for (int i = 0; i < gw::kLives; ++i) {
        // Lives go from the first heart on.
        const bool shown = i >= gw::kLives - game_.Lives();
        ::ShowWindow(hearts_[i], shown ? SW_SHOWNA : SW_HIDE);
    }
    const int gameOver = game_.GameOverShown() ? SW_SHOWNA : SW_HIDE;
    ::ShowWindow(gameOverFrame_, gameOver);
    ::ShowWindow(gameOver_, gameOver);
    SetTextIfChanged(button_.GetSafeHwnd(), game_.Running() ? L"End Game" : L"Start Game");
    ShowMenuState();
}

void CGameWnd::ShowMenuState() {
    HMENU menu = ::GetMenu(GetSafeHwnd());
    const bool running = game_.Running();
    const UINT idle = running ? MF_GRAYED : MF_ENABLED;
    ::EnableMenuItem(menu, kSpeedMenu, MF_BYPOSITION | idle);
    ::EnableMenuItem(menu, kCategoryMenu, MF_BYPOSITION | idle);
    ::EnableMenuItem(menu, ID_GAME_TOP_SCORES, MF_BYCOMMAND | idle);
    ::EnableMenuItem(menu, ID_GAME_PAUSE, MF_BYCOMMAND | (running ? MF_ENABLED : MF_GRAYED));
    ::CheckMenuItem(menu, ID_GAME_PAUSE, MF_BYCOMMAND | (game_.Paused() ? MF_CHECKED : 0));
    ::CheckMenuRadioItem(menu, ID_SPEED_FIRST, ID_SPEED_LAST,
                         static_cast<UINT>(ID_SPEED_FIRST + game_.Speed() - 1), MF_BYCOMMAND);
    ::CheckMenuRadioItem(menu, ID_CATEGORY_FIRST, ID_CATEGORY_LAST,
                         static_cast<UINT>(ID_CATEGORY_FIRST + game_.CategoryIndex()),
                         MF_BYCOMMAND);
    ::DrawMenuBar(GetSafeHwnd());
}

// While a game runs and is not paused, the button takes the focus back from anything else in
// this window, so the keys reach the game. Focus in another program or a dialog stays there.
void CGameWnd::OnFocusLost() {
    if (!game_.Running() || game_.Paused() || ::GetActiveWindow() != GetSafeHwnd())
        return;
    HWND focus = ::GetFocus();
    if (focus != button_.GetSafeHwnd() &&
        (!focus || focus == GetSafeHwnd() || ::IsChild(GetSafeHwnd(), focus)))
        ::SetFocus(button_.GetSafeHwnd());
}

LRESULT CGameWnd::CStartButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && owner_.OnKeyDown(wParam))
        return 0;
    // A running game's keys do nothing else (Space and Enter would press the button).
    if ((message == WM_KEYUP || message == WM_CHAR) && owner_.game_.Running())
        return 0;
    if (message == WM_GETDLGCODE && owner_.game_.Running())
        return DLGC_WANTALLKEYS;
    if (message == WM_KILLFOCUS)
        ::PostMessageW(owner_.GetSafeHwnd(), kTakeFocusBack, 0, 0);
    return Default(message, wParam, lParam);
}
