#include "shell/win/KeyboardApp.h"

#include "framework/win/WaitCursor.h"
#include "framework/win/WideString.h"
#include "languages/win/SaxKeyboardReader.h"
#include "resources/resource.h"
#include "shell/StartUp.h"
#include "shell/win/AboutDlg.h"
#include "shell/win/MainFrameSupport.h"
#include "shell/win/MoreLanguagesDlg.h"
#include "shell/win/RegistrySettings.h"
#include "shell/win/SplashScreen.h"
#include "shell/win/StartUpSteps.h"

#include <ole2.h>
#include <shellapi.h>

CKeyboardApp::CKeyboardApp()
    : combines_(gw::BuiltInCombineList().begin(), gw::BuiltInCombineList().end()),
      engine_(layout_, geometry_, combines_), metrics_(ReadFrameMetrics()) {
    RegistrySettingsStore store;
    // The macro values name the macro file; the settings read them once more.
    gw::LoadMacroSettings(store, macroSettings_);
    macros_.LoadMacros();
    macros_.SetOutput(&engine_.Engine().Keystrokes(), &engine_.Engine().Keys());
    engine_.Engine().SetMacroStore(&macros_);
    gw::EngineSettings engineSettings = engine_.Engine().Settings();
    gw::LoadSettings(store, settings_, engineSettings, macroSettings_);
    engine_.Engine().ApplySettings(engineSettings, settings_.circleAreaRatio);
    languages_.ScanLanguages(FromWide(LanguagesFolder()));
}

CKeyboardApp::~CKeyboardApp() {
    SaveSettings();
}

void CKeyboardApp::SaveSettings() {
    RegistrySettingsStore store;
    const std::lock_guard<std::mutex> lock(macroSettingsLock_);
    gw::SaveSettings(store, settings_, engine_.Engine().Settings(), macroSettings_);
}

std::wstring CKeyboardApp::LanguagesFolder() const {
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = ::GetCurrentDirectoryW(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH)
        return L"Languages";
    return std::wstring(folder) + L"\\Languages";
}

void CKeyboardApp::RunAboutBox(HWND owner) {
    CAboutDlg about(owner);
    about.DoModal();
}

// --- settings dialog --------------------------------------------------------------------------

void CKeyboardApp::RunSettingsDialog() {
    COptionsDlg dialog(*this);
    dialog.DoModal();
}

const gw::EngineSettings& CKeyboardApp::EngineSettings() const {
    return engine_.Engine().Settings();
}

void CKeyboardApp::ApplyEngineSettings(const gw::EngineSettings& settings) {
    engine_.Engine().ApplySettings(settings, settings_.circleAreaRatio);
}

// --- macros ---------------------------------------------------------------------------------

void CKeyboardApp::OnMacroMatchChanged() {
    if (frame_)
        frame_->OnMacroMatchChanged(macros_.MatchShown());
}

void CKeyboardApp::OpenMacroScribe(std::uint8_t newKey, const std::u16string& key) {
    macroScribe_.Open(newKey, key);
}

gw::MacroSettings CKeyboardApp::MacroSettings() {
    const std::lock_guard<std::mutex> lock(macroSettingsLock_);
    return macroSettings_;
}

void CKeyboardApp::ChangeMacroSettings(const std::function<void(gw::MacroSettings&)>& change,
                                       bool save) {
    const std::lock_guard<std::mutex> lock(macroSettingsLock_);
    change(macroSettings_);
    if (save) {
        RegistrySettingsStore store;
        gw::SaveMacroSettings(store, macroSettings_);
    }
}

void CKeyboardApp::MacroHotKeyChanged() {
    if (mainWindow)
        ::SendMessageW(mainWindow, WM_GW_REGISTER_HOT_KEY, 0, 0);
}

void CKeyboardApp::RegisterMacroHotKey(HWND window) {
    ::UnregisterHotKey(window, 0);
    const gw::MacroSettings settings = MacroSettings();
    if (settings.hotKeyVk == 0)
        return;
    const std::uint16_t flags = settings.hotKeyModifiers;
    UINT modifiers = 0;
    if (flags & gw::hotkey::kShift)
        modifiers |= MOD_SHIFT;
    if (flags & gw::hotkey::kControl)
        modifiers |= MOD_CONTROL;
    if (flags & gw::hotkey::kAlt)
        modifiers |= MOD_ALT;
    // Another program may hold the combination: then the hot key simply never fires.
    ::RegisterHotKey(window, 0, modifiers, settings.hotKeyVk);
}

void CKeyboardApp::OnMacroHotKey(int id, HWND window) {
    if (id != 0 || macros_.OnMacroHotKey(id, macroSettings_.hotKeyModifiers))
        return;
    // Unused, the combination goes on to the program that has the focus.
    ::UnregisterHotKey(window, 0);
    const gw::MacroSettings settings = MacroSettings();
    macros_.PassOnHotKey(settings.hotKeyVk, settings.hotKeyModifiers);
    RegisterMacroHotKey(window);
}

// --- extensions -----------------------------------------------------------------------------

// The engine has set its extension-keyboard flag; the first extension's keyboard goes on.
void CKeyboardApp::ExtensionKeyboardOn() {
    extensions_.TurnOnKeyboard();
    engine_.Engine().extensionKeyboard = 1;
}

// The engine has cleared the flag; the view takes its normal cursor back afterwards.
void CKeyboardApp::ExtensionKeyboardOff() {
    extensions_.TurnOffKeyboard();
}

// --- languages ------------------------------------------------------------------------------

static_assert(ID_LANG_ENGLISH == gw::kLanguageEnglishCommand &&
              ID_LANG_FIRST_FOLDER == gw::kLanguageFirstCommand &&
              ID_LANG_LAST_FOLDER == gw::kLanguageFirstCommand + gw::kLanguageCommandCount - 1 &&
              ID_LANG_MORE == gw::kMoreLanguagesCommand &&
              ID_HELP_ABOUT_LANGUAGE == gw::kAboutLanguageCommand &&
              ID_APP_ABOUT == gw::kAboutProgramCommand);

void CKeyboardApp::SetLanguage(const std::u16string& name) {
    const WaitCursor wait;
    languages_.SetLanguage(name);
    settings_.language = languages_.GetLanguage();
}

HMENU CKeyboardApp::MenuBarItem(int position) const {
    return frame_ ? ::GetSubMenu(::GetMenu(frame_->GetSafeHwnd()), position) : nullptr;
}

// "&English" stays first; the installed languages follow (ten at most: the menu has commands
// for ten), then "More Languages...".
void CKeyboardApp::BuildLanguageMenu(HMENU menu) {
    if (!menu)
        return;
    while (::GetMenuItemCount(menu) > 1)
        ::DeleteMenu(menu, 1, MF_BYPOSITION);
    const auto& list = languages_.List();
    if (list.size() > 1)
        ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    for (std::size_t i = 1; i < list.size() && i <= gw::kLanguageCommandCount; ++i)
        ::AppendMenuW(menu, MF_STRING, gw::kLanguageEnglishCommand + i, ToWide(list[i]).c_str());
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, gw::kMoreLanguagesCommand, L"More Languages...");
}

void CKeyboardApp::UpdateLanguageMenu(HMENU menu) {
    languages_.ScanLanguages(FromWide(LanguagesFolder()));
    BuildLanguageMenu(menu);
    const auto& list = languages_.List();
    for (std::size_t i = 0; i < list.size() && i <= gw::kLanguageCommandCount; ++i)
        ::CheckMenuItem(menu, static_cast<UINT>(gw::kLanguageEnglishCommand + i),
                        MF_BYCOMMAND |
                            (list[i] == languages_.GetLanguage() ? MF_CHECKED : MF_UNCHECKED));
}

bool CKeyboardApp::OnLanguageCommand(unsigned command) {
    HWND owner = frame_ ? frame_->GetSafeHwnd() : nullptr;
    if (const std::u16string name = languages_.LanguageForCommand(command); !name.empty()) {
        SetLanguage(name);
        return true;
    }
    if (command == gw::kMoreLanguagesCommand) {
        CMoreLanguagesDlg dialog(owner);
        dialog.DoModal();
        return true;
    }
    if (command == gw::kAboutLanguageCommand) {
        if (!languageLink_.empty())
            ::ShellExecuteW(owner, L"open", languageLink_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return true;
    }
    return false;
}

std::vector<std::u16string> CKeyboardApp::SubFolders(const std::u16string& folder) {
    std::vector<std::u16string> found;
    const std::wstring base = ToWide(folder) + L"\\";
    WIN32_FIND_DATAW entry{};
    HANDLE search = ::FindFirstFileW((base + L"*.*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return found;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const DWORD attributes = ::GetFileAttributesW((base + name).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            found.push_back(FromWide(name));
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
    return found;
}

gw::LanguagePort::ReadResult CKeyboardApp::ReadKeyboardFile(const std::u16string& path,
                                                            gw::KeyboardXmlHandler& handler) {
    return ReadKeyboardFileWithSax(path, handler);
}

void CKeyboardApp::ShowMessage(std::u16string_view text, std::u16string_view caption) {
    ::MessageBoxW(nullptr, ToWide(text).c_str(), ToWide(caption).c_str(), MB_OK);
}

void CKeyboardApp::AddLanguageAboutItem(std::u16string_view itemText, std::u16string_view link) {
    if (HMENU help = MenuBarItem(kHelpMenuPosition))
        ::AppendMenuW(help, MF_STRING, gw::kAboutLanguageCommand, ToWide(itemText).c_str());
    languageLink_ = ToWide(link);
}

void CKeyboardApp::RemoveLanguageAboutItem() {
    if (HMENU help = MenuBarItem(kHelpMenuPosition))
        ::DeleteMenu(help, gw::kAboutLanguageCommand, MF_BYCOMMAND);
}

void CKeyboardApp::RemoveProgramAboutItem() {
    if (HMENU help = MenuBarItem(kHelpMenuPosition))
        ::DeleteMenu(help, gw::kAboutProgramCommand, MF_BYCOMMAND);
}

void CKeyboardApp::AppendProgramAboutItem() {
    if (HMENU help = MenuBarItem(kHelpMenuPosition))
        ::AppendMenuW(help, MF_STRING, gw::kAboutProgramCommand, L"&About Glyphwell...");
}

// The view draws the language's characters (and finds its picture files by its name).
void CKeyboardApp::ReloadPictures() {
    settings_.language = languages_.GetLanguage();
    if (frame_)
        frame_->View().RedrawLayout();
}

// Another instance runs: it comes to the front and this one ends.
bool CKeyboardApp::ClaimSingleInstance() {
    if (instance_.Claim())
        return true;
    RestoreRunningInstance();
    return false;
}

bool CKeyboardApp::StartOle() {
    oleStarted_ = SUCCEEDED(::OleInitialize(nullptr));
    if (!oleStarted_) {
        const std::wstring text = ToWide(gw::kOleFailedText);
        const std::wstring caption = ToWide(gw::kMainWindowTitle);
        ::MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
    }
    return oleStarted_;
}

void CKeyboardApp::ShowFrame() {
    HWND frame = frame_->GetSafeHwnd();
    if (settings_.startMinimized) {
        ::SendMessageW(frame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return;
    }
    ::ShowWindow(frame, SW_SHOWNOACTIVATE);
    ::UpdateWindow(frame);
}

// The engine gets its window, its view and the frame; the frame and the engine follow the hook
// events.
void CKeyboardApp::ConnectEngine() {
    HWND frame = frame_->GetSafeHwnd();
    if (!engine_.Create(frame, IDW_ENGINE_WINDOW))
        return;
    engine_.SetApplication(this);
    engine_.SetView(&frame_->View());
    frame_->SetEngineReady();
    SharedArea().SetMainWindow(frame);
    // Without the hooks the ring stays empty and the keyboard runs on.
    InstallHooks(true);
    extensions_.LoadExtensions(engine_);
    AddHookEventListener(&macros_);
    AddHookEventListener(frame_.get());
    AddHookEventListener(&engine_);
    BuildLanguageMenu(MenuBarItem(kLanguageMenuPosition));
    SetLanguage(settings_.language);
}

bool CKeyboardApp::InitInstance() {
    if (!ClaimSingleInstance())
        return false;
    if (!CreateSharedArea())
        return false;
    if (!StartOle())
        return false;
    RemoveEarlierMachineSettings();

    frame_ = std::make_unique<CMainFrame>(*this, layout_, geometry_, engine_);
    if (!frame_->Create())
        return false;
    mainWindow = frame_->GetSafeHwnd();
    CSplashThread::Start(mainWindow);
    ShowFrame();
    ConnectEngine();
    return true;
}

int CKeyboardApp::ExitInstance() {
    // An open Macro Scribe offers to save its changes first.
    macroScribe_.Close();
    SaveSettings();
    instance_.CloseOpenedMutex();
    if (!instance_.IsSecondInstance()) {
        ShutDownHooks();
        extensions_.Release();
        frame_.reset();
        if (oleStarted_)
            ::OleUninitialize();
    }
    return CWinApp::ExitInstance();
}
