#pragma once
// The keyboard program's application object: it owns the settings, the engine, the active
// layout and combine list and the main frame (the shared area, the hook library and the hook
// event listeners belong to its base), brings them to life in a fixed
// order, runs the message loop and shuts them down again.
#include "extensions/win/ExtensionLoader.h"
#include "hook/win/HookClientApp.h"
#include "hook/win/SharedAreaOwner.h"
#include "keyboard/CombineList.h"
#include "keyboard/KeyboardModel.h"
#include "keyboard/win/GWMainEngine.h"
#include "languages/Languages.h"
#include "macros/win/MacroScribe.h"
#include "macros/win/MacroStore.h"
#include "shell/MainFrameGeometry.h"
#include "shell/Settings.h"
#include "shell/win/MainFrame.h"
#include "shell/win/OptionsDlg.h"
#include "shell/win/SingleInstance.h"

#include <functional>
#include <memory>
#include <mutex>

class CKeyboardApp final : public CHookClientApp,
                           public CMainFrameOwner,
                           private gw::LanguagePort,
                           private gw::MacroStorePort,
                           private CMacroScribeHost,
                           private COptionsDlgHost {
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
    bool OnLanguageCommand(unsigned command) override;
    void UpdateLanguageMenu(HMENU menu) override;
    void RunSettingsDialog() override;
    gw::MacroStore& Macros() override { return macros_; }
    void RegisterMacroHotKey(HWND window) override;
    void OnMacroHotKey(int id, HWND window) override;
    void OpenMacroScribe(std::uint8_t newKey, const std::u16string& key) override;
    void ExtensionKeyboardOn() override;
    void ExtensionKeyboardOff() override;

    // Makes the language current and loads it, with the wait cursor up.
    void SetLanguage(const std::u16string& name) override;
    const gw::Languages& Languages() const { return languages_; }

protected:
    bool InitInstance() override;
    int ExitInstance() override;

private:
    bool ClaimSingleInstance();
    bool StartOle();
    void ShowFrame();
    void ConnectEngine();
    void BuildLanguageMenu(HMENU menu);
    HMENU MenuBarItem(int position) const;

    // gw::LanguagePort
    std::vector<std::u16string> SubFolders(const std::u16string& folder) override;
    ReadResult ReadKeyboardFile(const std::u16string& path,
                                gw::KeyboardXmlHandler& handler) override;
    void ShowMessage(std::u16string_view text, std::u16string_view caption) override;
    void AddLanguageAboutItem(std::u16string_view itemText, std::u16string_view link) override;
    void RemoveLanguageAboutItem() override;
    void RemoveProgramAboutItem() override;
    void AppendProgramAboutItem() override;
    void ClearLanguageLink() override { languageLink_.clear(); }
    void ReloadPictures() override;

    // gw::MacroStorePort
    void OnMacroMatchChanged() override;

    // CMacroScribeHost (on Macro Scribe's thread)
    CMacroStore& Store() override { return macros_; }
    gw::MacroSettings MacroSettings() override;
    void ChangeMacroSettings(const std::function<void(gw::MacroSettings&)>& change,
                             bool save) override;
    void MacroHotKeyChanged() override;
    void AddHookEventListener(CHookEventListener* listener) override {
        CHookClientApp::AddHookEventListener(listener);
    }
    void RemoveHookEventListener(CHookEventListener* listener) override {
        CHookClientApp::RemoveHookEventListener(listener);
    }

    // COptionsDlgHost
    const gw::EngineSettings& EngineSettings() const override;
    void ApplyEngineSettings(const gw::EngineSettings& settings) override;
    void RestartIdleTimer() override { engine_.RestartIdleTimer(); }
    const std::vector<std::u16string>& LanguageList() const override { return languages_.List(); }
    const std::u16string& CurrentLanguage() const override { return languages_.GetLanguage(); }

    gw::AppSettings settings_;
    // Macro Scribe's thread changes the macro settings too.
    mutable std::mutex macroSettingsLock_;
    gw::MacroSettings macroSettings_;
    CMacroStore macros_{*this, macroSettings_};
    CMacroScribe macroScribe_{*this};
    gw::KeyboardLayout layout_;
    gw::CombineList combines_;
    gw::KeyGeometry geometry_;
    CGWMainEngine engine_;
    gw::FrameMetrics metrics_;

    CSingleInstance instance_;
    gw::Languages languages_{layout_, combines_, *this};
    std::wstring languageLink_; // the page of the current language's About item
    std::unique_ptr<CMainFrame> frame_;
    bool oleStarted_ = false;
    // Last, so that the extensions are gone before the frame they may reach through the engine.
    CExtensionLoader extensions_;
};
