#include "shell/win/MainFrame.h"

#include "framework/win/ThreadInput.h"
#include "framework/win/WideString.h"
#include "framework/win/Window.h"
#include "hook/HookRing.h"
#include "resources/resource.h"
#include "shell/ProgramLinks.h"
#include "shell/StartUp.h"
#include "shell/win/MainFrameSupport.h"
#include "shell/win/PracticeGame.h"

#include <shellapi.h>

namespace {

constexpr UINT WM_GW_TRAY_NOTIFICATION = WM_USER + 5;
constexpr UINT WM_GW_HOOK_OVERFLOW = WM_USER + 6;
const wchar_t kTrayTip[] = L"Glyphwell Onscreen Keyboard";
const wchar_t kHelpFile[] = L"Glyphwell.chm";

void OpenWithShell(const wchar_t* target) {
    ::ShellExecuteW(nullptr, L"open", target, nullptr, nullptr, SW_SHOWNORMAL);
}

bool IsTaskBar(HWND window) {
    wchar_t className[32] = {};
    return ::GetClassNameW(window, className, 32) > 0 && wcscmp(className, L"Shell_TrayWnd") == 0;
}

gw::CharacterClass ClassifyCharacter(char16_t ch) {
    WORD type = 0;
    const wchar_t text = static_cast<wchar_t>(ch);
    if (!::GetStringTypeW(CT_CTYPE1, &text, 1, &type))
        return gw::CharacterClass::kOther;
    if (type & (C1_ALPHA | C1_DIGIT))
        return gw::CharacterClass::kLetterOrDigit;
    if (type & (C1_SPACE | C1_PUNCT | C1_BLANK))
        return gw::CharacterClass::kSpaceOrPunctuation;
    return gw::CharacterClass::kOther;
}

} // namespace

CMainFrame::CMainFrame(CMainFrameOwner& owner, const gw::KeyboardLayout& layout,
                       gw::KeyGeometry& geometry, CGWMainEngine& engine)
    : owner_(owner), settings_(owner.Settings()), metrics_(owner.Metrics()), engine_(engine),
      view_(owner.Settings(), layout, geometry, engine, *this), workArea_(ReadWorkArea()) {}

CMainFrame::~CMainFrame() {
    tray_.Destroy();
    DestroyWindow();
}

bool CMainFrame::Create() {
    const std::wstring className = ToWide(gw::kMainFrameClassName);
    RegisterWindowClass(className.c_str(), 0, nullptr, nullptr, ProgramIcon(IDR_MAINFRAME, false));
    const gw::Size size =
        gw::WindowSizeForKeyboard(settings_.keyboardState, settings_.keyboardSize, metrics_);
    const gw::CornerPlacement place = gw::PlaceAtClosestCorner(workArea_, settings_);
    const int x = place.knownCorner ? place.topLeft.x : CW_USEDEFAULT;
    const int y = place.knownCorner ? place.topLeft.y : CW_USEDEFAULT;
    TrackForegroundWindow();
    HMENU menu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    const std::wstring title = ToWide(gw::kMainWindowTitle);
    if (!CreateEx(kMainFrameExStyle, className.c_str(), title.c_str(), kMainFrameStyle, x, y,
                  size.width, size.height, nullptr, menu)) {
        if (menu)
            ::DestroyMenu(menu);
        return false;
    }
    return true;
}

bool CMainFrame::OnCreate() {
    ApplyTransparency(GetSafeHwnd(), settings_.transparency);
    if (!view_.Create(GetSafeHwnd(), IDW_KEYBOARD_VIEW, owner_.LanguagesFolder()))
        return false;
    LayOutView();
    macroWindow_.Create(owner_.Macros(), ProgramIcon(IDR_MAINFRAME, false));
    if (settings_.minimizeToTray) {
        tray_.Create(GetSafeHwnd(), WM_GW_TRAY_NOTIFICATION, kTrayTip, IDR_MAINFRAME,
                     IDR_TRAY_MENU);
        tray_.SetMainWindow(GetSafeHwnd());
        tray_.SetMenuDefaultItem(0, true);
    }
    owner_.RegisterMacroHotKey(GetSafeHwnd());
    return true;
}

// --- frame operations -----------------------------------------------------------------------

void CMainFrame::ResizeForKeyboard(int pixelSize) {
    // During a drag of the border the drag itself sizes the window.
    if (inSizeMove_ || !GetSafeHwnd())
        return;
    const gw::Size size = gw::WindowSizeForPicture(settings_.keyboardState, pixelSize, metrics_);
    const gw::PixelRect before = WindowRectOf(GetSafeHwnd());
    ::SetWindowPos(GetSafeHwnd(), nullptr, 0, 0, size.width, size.height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const gw::PixelRect after = WindowRectOf(GetSafeHwnd());
    if (!(after == before))
        MoveTo(gw::KeepInsideWorkArea(after, workArea_));
    ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void CMainFrame::SelectKeyboardSize(int size) {
    // The menu offers only the sizes the current state can show.
    if (gw::IsSizeAvailable(view_.AvailableSizes(), static_cast<int>(settings_.keyboardState),
                            size))
        view_.SelectSize(size);
}

void CMainFrame::SetTransparency(std::uint32_t transparency) {
    settings_.transparency = transparency;
    owner_.SaveSettings();
    ApplyTransparency(GetSafeHwnd(), transparency);
}

void CMainFrame::PlaceAtClosestCorner() {
    MoveTo(gw::PlaceAtClosestCorner(workArea_, settings_).topLeft);
}

void CMainFrame::MoveTo(gw::Point topLeft) {
    ::SetWindowPos(GetSafeHwnd(), nullptr, topLeft.x, topLeft.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

gw::FrameMargins CMainFrame::FrameMargins() const {
    return gw::MainFrameMargins(metrics_);
}

gw::Size CMainFrame::ClientSize() const {
    RECT client{};
    ::GetClientRect(GetSafeHwnd(), &client);
    return {client.right, client.bottom};
}

// The view fills the client area, or the given size during a drag of the border.
void CMainFrame::LayOutView(int width, int height) {
    if (!view_.GetSafeHwnd())
        return;
    const gw::Size client = ClientSize();
    ::SetWindowPos(view_.GetSafeHwnd(), nullptr, 0, 0, width < 0 ? client.width : width,
                   height < 0 ? client.height : height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMainFrame::PlaceMacroWindowOverMenuBar() {
    if (!macroWindow_.GetSafeHwnd())
        return;
    const gw::PixelRect over = gw::MacroWindowOverMenuBar(WindowRectOf(GetSafeHwnd()), metrics_);
    ::SetWindowPos(macroWindow_.GetSafeHwnd(), nullptr, over.left, over.top, over.right - over.left,
                   over.bottom - over.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMainFrame::RestartIdleTimer() {
    if (engineReady_)
        engine_.RestartIdleTimer();
}

void CMainFrame::OnMacroMatchChanged(bool matchShown) {
    matchShown_ = matchShown;
    ::InvalidateRect(view_.GetSafeHwnd(), nullptr, FALSE);
    const gw::MacroMatchDisplay display =
        gw::MacroMatchDisplayFor(matchShown, IsMinimized(), settings_.minimizeToTray);
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    if (display.window == gw::MacroWindowAction::kShowOnTop) {
        ::SetWindowPos(macroWindow_.GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, flags | SWP_SHOWWINDOW);
        ::InvalidateRect(macroWindow_.GetSafeHwnd(), nullptr, TRUE);
    } else if (display.window == gw::MacroWindowAction::kHideAndRaiseFrame) {
        ::ShowWindow(macroWindow_.GetSafeHwnd(), SW_HIDE);
        ::SetWindowPos(GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, flags);
    }
    if (display.trayIcon != 0)
        tray_.SetIcon(display.trayIcon);
    if (display.smallIcon != 0)
        ::SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_SMALL,
                       reinterpret_cast<LPARAM>(ProgramIcon(display.smallIcon, true)));
}

// --- target tracking and caret following ---------------------------------------------------

void CMainFrame::TrackForegroundWindow() {
    HWND foreground = ::GetForegroundWindow();
    for (int retry = 0; !foreground && retry < 10; ++retry) {
        ::Sleep(5);
        foreground = ::GetForegroundWindow();
    }
    if (!foreground)
        return;
    const HWND focusBefore = view_.FocusedWindow();
    const HWND targetBefore = targetWindow_;
    // The keyboard's own windows and the task bar are never typed into.
    if (foreground == GetSafeHwnd() || foreground == macroWindow_.GetSafeHwnd() ||
        IsTaskBar(foreground))
        return;
    targetWindow_ = foreground;

    const DWORD thread = ::GetWindowThreadProcessId(foreground, nullptr);
    if (thread == ::GetCurrentThreadId())
        return;
    HWND focus = nullptr;
    if (!FocusOfThread(thread, focus))
        return;
    if (focus) {
        view_.SetFocusedWindow(focus, thread);
        if (focus != view_.GetSafeHwnd())
            targetControl_ = focus;
    } else {
        view_.SetFocusedWindow(nullptr, 0);
    }
    // No combination joins characters typed on either side of a change of focus.
    if (targetWindow_ != targetBefore || view_.FocusedWindow() != focusBefore)
        engine_.Engine().ClearHistory();
}

void CMainFrame::OnHookEvent(const gw::HookEvent& event) {
    HWND window = static_cast<HWND>(gw::HandleFromShared(event.window));
    const bool keyGivesCharacter = event.message == gw::hookmsg::kKeyUp &&
                                   ::MapVirtualKeyW(event.wParam, MAPVK_VK_TO_CHAR) != 0;
    const gw::HookEventSteps steps = caret_.PlanEvent(
        event.message, event.wParam, settings_.followCaret, keyGivesCharacter, ClassifyCharacter);
    if (steps.trackForeground && ::IsWindow(window))
        TrackForegroundWindow();
    if (steps.minimize)
        ::SendMessageW(GetSafeHwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    if (steps.clickStep)
        ClickStep(window);
    if (steps.caretStep)
        CaretStep(window, event);
}

void CMainFrame::ClickStep(HWND eventWindow) {
    // A click elsewhere moves the caret: what was typed before is no longer next to it.
    if (eventWindow != view_.GetSafeHwnd() && eventWindow != GetSafeHwnd())
        engine_.Engine().ClearHistory();
    // The typed key is no longer where the caret is.
    if (eventWindow == targetControl_)
        owner_.Macros().ResetMatch();
}

void CMainFrame::CaretStep(HWND eventWindow, const gw::HookEvent& event) {
    POINT origin{0, 0};
    ::ClientToScreen(eventWindow, &origin);
    const std::optional<gw::PixelRect> to =
        caret_.CaretStep({event.caretX, event.caretY}, {origin.x, origin.y}, settings_.followCaret,
                         IsMinimized(), WindowRectOf(GetSafeHwnd()), workArea_);
    if (!to)
        return;
    ::SetWindowPos(GetSafeHwnd(), nullptr, to->left, to->top, to->right - to->left,
                   to->bottom - to->top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// --- commands -------------------------------------------------------------------------------

void CMainFrame::OnCommand(unsigned command) {
    if (const auto size = gw::KeyboardSizeForCommand(command)) {
        SelectKeyboardSize(static_cast<int>(*size));
        return;
    }
    if (const auto state = gw::KeyboardStateForCommand(command)) {
        if (*state == gw::kHorizontal)
            view_.SetKeyboardStateHorizontal();
        else if (*state == gw::kVertical)
            view_.SetKeyboardStateVertical();
        else
            view_.SetKeyboardStateNormal();
        return;
    }
    if (const auto transparency = gw::TransparencyForCommand(command)) {
        SetTransparency(*transparency);
        return;
    }
    switch (command) {
    case ID_OPTIONS_SETTINGS:
        owner_.RunSettingsDialog();
        break;
    case ID_OPTIONS_GAME:
        StartPracticeGame(GetSafeHwnd());
        break;
    case ID_HELP_FINDER:
        OpenWithShell(kHelpFile);
        break;
    case ID_HELP_WEB_SITE:
        OpenWithShell(ToWide(gw::kMakerWebSite).c_str());
        break;
    case ID_APP_ABOUT:
        owner_.RunAboutBox(GetSafeHwnd());
        break;
    case ID_TRAY_OPEN:
        ::SendMessageW(GetSafeHwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
        break;
    case ID_TRAY_EXIT:
        exitRequested_ = true;
        ::SendMessageW(GetSafeHwnd(), WM_CLOSE, 0, 0);
        break;
    case ID_OPTIONS_MACRO_SCRIBE:
    case ID_TRAY_MACRO_SCRIBE:
        owner_.OpenMacroScribe(0, u"");
        break;
    default:
        owner_.OnLanguageCommand(command);
        break;
    }
}

void CMainFrame::OnInitMenuPopup(HMENU menu) {
    if (menu == ::GetSubMenu(::GetMenu(GetSafeHwnd()), kLanguageMenuPosition)) {
        owner_.UpdateLanguageMenu(menu);
        return;
    }
    gw::MenuUpdateInput input;
    input.keyboardState = settings_.keyboardState;
    input.keyboardSize = settings_.keyboardSize;
    input.transparency = settings_.transparency;
    input.availableSizes = view_.AvailableSizes();
    for (int state = 0; state < gw::kStateCount; ++state) {
        if (engine_.Engine().IsStateAllowed(state))
            input.availableModes |= 1u << state;
    }
    UpdateMenuItems(menu, input);
}

// --- moving and sizing ----------------------------------------------------------------------

void CMainFrame::OnMove() {
    if (workAreaChanged_) {
        workAreaChanged_ = false;
        PlaceAtClosestCorner();
    }
    if (IsMinimized())
        return;
    PlaceMacroWindowOverMenuBar();
    const gw::PixelRect work = ReadWorkArea();
    if (!(work == workArea_)) {
        workArea_ = work;
        PlaceAtClosestCorner();
        return;
    }
    gw::RecordClosestCorner(WindowRectOf(GetSafeHwnd()), workArea_, settings_);
    caret_.Dock(WindowRectOf(GetSafeHwnd()), settings_.followCaret);
}

void CMainFrame::OnSize(int width, int height) {
    if (settings_.minimizeToTray)
        tray_.SetIcon(gw::TrayIconFor(matchShown_, IsMinimized()));
    // Any change of size, a restore from the tray included, counts as use of the keyboard.
    RestartIdleTimer();
    if (!IsMinimized())
        ::SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_SMALL,
                       reinterpret_cast<LPARAM>(ProgramIcon(IDR_MAINFRAME, true)));
    if (!inSizeMove_) {
        LayOutView();
        return;
    }
    const gw::BorderDragStep step =
        gw::BorderDragLayout({width, height}, settings_.keyboardState, metrics_);
    if (step.stateChange) {
        if (step.state == gw::kHorizontal)
            view_.SetKeyboardStateHorizontal();
        else if (step.state == gw::kVertical)
            view_.SetKeyboardStateVertical();
        else
            view_.SetKeyboardStateNormal();
    }
    PlaceMacroWindowOverMenuBar();
    // The layout size is the picture's; the view's client edge lies around it.
    if (step.stateChange)
        LayOutView();
    else
        LayOutView(step.layout.width + 2 * metrics_.cxEdge,
                   step.layout.height + 2 * metrics_.cyEdge);
}

void CMainFrame::OnEnterSizeMove() {
    inSizeMove_ = true;
    const gw::PixelRect window = WindowRectOf(GetSafeHwnd());
    sizeAtEnterSizeMove_ = {window.right - window.left, window.bottom - window.top};
    settings_.keyboardSize = static_cast<std::uint32_t>(gw::kBuiltInSizeTable.size() - 1);
    view_.ReloadPictures();
}

void CMainFrame::OnExitSizeMove() {
    const gw::PixelRect window = WindowRectOf(GetSafeHwnd());
    // A move of the whole window keeps the place the user chose; a resize snaps to the edges.
    const bool resized =
        !(gw::Size{window.right - window.left, window.bottom - window.top} == sizeAtEnterSizeMove_);
    const int size = gw::SizeAfterBorderDrag(
        ClientSize(), settings_.keyboardState, metrics_, gw::kBuiltInSizeTable,
        view_.AvailableSizes()[gw::StateOrNormal(settings_.keyboardState)]);
    settings_.keyboardSize = static_cast<std::uint32_t>(size);
    owner_.SaveSettings();
    inSizeMove_ = false;
    ResizeForKeyboard(gw::KeyboardPixelSize(settings_.keyboardSize));
    view_.ReloadPictures();
    if (resized)
        MoveTo(gw::SnapToWorkArea(WindowRectOf(GetSafeHwnd()), workArea_));
    if (caret_.followEngaged)
        MoveTo(caret_.followPosition);
}

// --- closing --------------------------------------------------------------------------------

// True when the window really closes.
bool CMainFrame::OnClose() {
    if (gw::CloseActionFor(settings_.minimizeToTray, exitRequested_) ==
        gw::CloseAction::kMinimize) {
        ::SendMessageW(GetSafeHwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return false;
    }
    ::UnregisterHotKey(GetSafeHwnd(), 0);
    return true;
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_SETFOCUS:
        ::SetLayeredWindowAttributes(GetSafeHwnd(), 0, 255, LWA_ALPHA);
        ::SetFocus(view_.GetSafeHwnd());
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_MOVE: {
        const LRESULT result = Default(message, wParam, lParam);
        OnMove();
        return result;
    }
    case WM_SIZE:
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_ENTERSIZEMOVE:
        OnEnterSizeMove();
        return 0;
    case WM_EXITSIZEMOVE:
        OnExitSizeMove();
        return 0;
    case WM_GETMINMAXINFO:
        // The limits are for the user's drag of the border. The program's own sizes come from
        // the size table, and the narrowest of them (Vertical) is below the drag's minimum.
        if (inSizeMove_)
            SetTrackingLimits(*reinterpret_cast<MINMAXINFO*>(lParam), metrics_);
        else
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {1, 1};
        return 0;
    case WM_DISPLAYCHANGE:
        workArea_ = ReadWorkArea();
        workAreaChanged_ = true;
        break;
    case WM_SETTINGCHANGE: {
        const LRESULT result = Default(message, wParam, lParam);
        // Only top-level windows hear of it; the engine re-reads the keyboard delay and speed.
        if (engineReady_)
            ::SendMessageW(engine_.GetSafeHwnd(), message, wParam, lParam);
        if (wParam == SPI_SETWORKAREA) {
            workArea_ = ReadWorkArea();
            workAreaChanged_ = true;
        }
        return result;
    }
    case WM_NCLBUTTONDOWN:
        ::SetForegroundWindow(GetSafeHwnd());
        RestartIdleTimer();
        break;
    case WM_MENUSELECT: {
        const LRESULT result = Default(message, wParam, lParam);
        RestartIdleTimer();
        return result;
    }
    case WM_SYSCOMMAND: {
        const LRESULT result = Default(message, wParam, lParam);
        if ((wParam & 0xFFF0) == SC_MINIMIZE && settings_.minimizeToTray)
            ::ShowWindow(GetSafeHwnd(), SW_HIDE);
        return result;
    }
    case WM_CLOSE:
        if (!OnClose())
            return 0;
        break;
    case WM_GW_HOOK_OVERFLOW:
        // The echo of a macro being typed may be lost with the emptied ring.
        owner_.Macros().StopSending();
        return 0;
    case WM_GW_REGISTER_HOT_KEY:
        owner_.RegisterMacroHotKey(GetSafeHwnd());
        return 0;
    case WM_HOTKEY:
        owner_.OnMacroHotKey(static_cast<int>(wParam), GetSafeHwnd());
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return Default(message, wParam, lParam);
}
