#pragma once
// The keyboard's top-level window: always on top, never activated, layered, with a caption, a
// menu bar and a sizing border around the keyboard view. It sizes itself around the keyboard
// picture, remembers its place relative to the nearest corner of the work area, applies the
// transparency, carries the menu commands and minimizes to the tray.
#include "framework/win/Window.h"
#include "hook/HookEvent.h"
#include "keyboard/win/KeyboardView.h"
#include "macros/win/MacroContentDisplayWnd.h"
#include "shell/CaretFollowing.h"
#include "shell/MainFrameGeometry.h"
#include "shell/win/SystemTray.h"

#include <functional>

// What the frame needs from the application that owns it.
class CMainFrameOwner {
public:
    virtual ~CMainFrameOwner() = default;
    virtual gw::AppSettings& Settings() = 0;
    // Writes the whole set of settings.
    virtual void SaveSettings() = 0;
    // The six system metrics read when the application started.
    virtual const gw::FrameMetrics& Metrics() const = 0;
    // The full path of the "Languages" folder.
    virtual std::wstring LanguagesFolder() const = 0;
    // Runs the about box modally.
    virtual void RunAboutBox(HWND owner) = 0;
    // The commands of the languages (the Lang menu, the language's About item); false for any
    // other command.
    virtual bool OnLanguageCommand(unsigned command) = 0;
    // The Lang menu is about to open: its items are listed again from the installed languages.
    virtual void UpdateLanguageMenu(HMENU menu) = 0;
    // Runs the settings dialog modally.
    virtual void RunSettingsDialog() = 0;
    // The macro store: the frame shows its match, resets it on a click into the target and
    // stops its sending when the hook ring overflowed.
    virtual gw::MacroStore& Macros() = 0;
    // Hot key 0 of the window: registered again from the macro settings, and pressed.
    virtual void RegisterMacroHotKey(HWND window) = 0;
    virtual void OnMacroHotKey(int id, HWND window) = 0;
    // Opens Macro Scribe (with newKey set, the new macro dialog for the key).
    virtual void OpenMacroScribe(std::uint8_t newKey, const std::u16string& key) = 0;
    // The big circle switches the first extension's keyboard on or off.
    virtual void ExtensionKeyboardOn() = 0;
    virtual void ExtensionKeyboardOff() = 0;
};

// Sent to the main frame after Macro Scribe saved: register the macro hot key again.
constexpr UINT WM_GW_REGISTER_HOT_KEY = WM_USER + 50;

// Positions of the menu bar's menus.
constexpr int kLanguageMenuPosition = 1;
constexpr int kHelpMenuPosition = 2;

class CMainFrame : public CWnd, public CHookEventListener, private CKeyboardViewHost {
public:
    CMainFrame(CMainFrameOwner& owner, const gw::KeyboardLayout& layout, gw::KeyGeometry& geometry,
               CGWMainEngine& engine);
    ~CMainFrame() override;

    // Creates the frame hidden, with its view, macro content window and tray icon. False when
    // the window or its view cannot be created.
    bool Create();

    CKeyboardView& View() { return view_; }
    CSystemTray& Tray() { return tray_; }
    // The engine's window exists: the frame's commands may restart its idle timer.
    void SetEngineReady() { engineReady_ = true; }

    // Frame operations the keyboard view and the menu use.
    void ResizeForKeyboard(int pixelSize) override;
    void SelectKeyboardSize(int size);
    void SetTransparency(std::uint32_t transparency);
    void PlaceAtClosestCorner();

    // The macro store's match shown state changed.
    void OnMacroMatchChanged(bool matchShown);
    // Hook events from other programs: the target follows the focus, the keyboard the caret.
    void OnHookEvent(const gw::HookEvent& event) override;
    // Records the foreground window of another program as the target, and the window that has
    // the focus in it, for the keyboard view and the keystroke output.
    void TrackForegroundWindow();
    HWND TargetControl() const { return targetControl_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // CKeyboardViewHost
    void RelayoutForState() override { LayOutView(); }
    bool IsMinimized() const override { return ::IsIconic(GetSafeHwnd()) != FALSE; }
    HWND TargetWindow() const override { return targetWindow_; }
    gw::FrameMargins FrameMargins() const override;
    void SaveSettings() override { owner_.SaveSettings(); }
    void ExtensionKeyboardOn() override { owner_.ExtensionKeyboardOn(); }
    void ExtensionKeyboardOff() override { owner_.ExtensionKeyboardOff(); }

    bool OnCreate();
    void OnCommand(unsigned command);
    void OnInitMenuPopup(HMENU menu);
    void OnMove();
    void OnSize(int width, int height);
    void OnEnterSizeMove();
    void OnExitSizeMove();
    bool OnClose();
    void RestartIdleTimer();
    void LayOutView(int width = -1, int height = -1);
    void PlaceMacroWindowOverMenuBar();
    void MoveTo(gw::Point topLeft);
    void ClickStep(HWND eventWindow);
    void CaretStep(HWND eventWindow, const gw::HookEvent& event);
    gw::Size ClientSize() const;

    CMainFrameOwner& owner_;
    gw::AppSettings& settings_;
    const gw::FrameMetrics& metrics_;
    CGWMainEngine& engine_;
    CKeyboardView view_;
    CMacroContentDisplayWnd macroWindow_;
    CSystemTray tray_;

    gw::PixelRect workArea_;
    bool workAreaChanged_ = false;
    bool inSizeMove_ = false;
    gw::Size sizeAtEnterSizeMove_;
    bool exitRequested_ = false;
    bool engineReady_ = false;
    bool matchShown_ = false;
    // The top-level window of another program that last had the foreground, and the window in
    // it that had the focus.
    HWND targetWindow_ = nullptr;
    HWND targetControl_ = nullptr;
    gw::CaretFollowing caret_;
};
