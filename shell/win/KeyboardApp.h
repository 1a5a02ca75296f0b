#pragma once
// The keyboard program's application object: it owns the settings, the engine, the active
// layout and combine list and the main frame (the shared area, the hook library and the hook
// event listeners belong to its base), brings them to life in a fixed
// order, runs the message loop and shuts them down again.
#include "hook/win/HookClientApp.h"
#include "hook/win/SharedAreaOwner.h"
#include "keyboard/CombineList.h"
#include "keyboard/KeyboardModel.h"
#include "keyboard/win/GWMainEngine.h"
#include "shell/MainFrameGeometry.h"
#include "shell/Settings.h"
#include "shell/win/MainFrame.h"
#include "shell/win/SingleInstance.h"

#include <memory>

class CKeyboardApp final : public CHookClientApp, public CMainFrameOwner {
public:
    CKeyboardApp();
    ~CKeyboardApp() override;

    CGWMainEngine& Engine() { return engine_; }
    CMainFrame* MainFrame() { return frame_.get(); }

    // CMainFrameOwner
    gw::AppSettings& Settings() override { return settings_; }
    void SaveSettings() override;
    const gw::FrameMetrics& Metrics() const override { return metrics_; }
    std::wstring LanguagesFolder() const override;
    void RunAboutBox(HWND owner) override;

protected:
    bool InitInstance() override;
    int ExitInstance() override;

private:
    bool ClaimSingleInstance();
    bool StartOle();
    void ShowFrame();
    void ConnectEngine();

    gw::AppSettings settings_;
    gw::MacroSettings macroSettings_;
    gw::KeyboardLayout layout_;
    gw::CombineList combines_;
    gw::KeyGeometry geometry_;
    CGWMainEngine engine_;
    gw::FrameMetrics metrics_;

    CSingleInstance instance_;
    std::unique_ptr<CMainFrame> frame_;
    bool oleStarted_ = false;
};
