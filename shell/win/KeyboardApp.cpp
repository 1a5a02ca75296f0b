#include "shell/win/KeyboardApp.h"

#include "framework/win/WideString.h"
#include "resources/resource.h"
#include "shell/StartUp.h"
#include "shell/win/AboutDlg.h"
#include "shell/win/MainFrameSupport.h"
#include "shell/win/RegistrySettings.h"
#include "shell/win/SplashScreen.h"
#include "shell/win/StartUpSteps.h"

#include <commctrl.h>
#include <ole2.h>

CKeyboardApp::CKeyboardApp()
    : combines_(gw::BuiltInCombineList().begin(), gw::BuiltInCombineList().end()),
      engine_(layout_, geometry_, combines_), metrics_(ReadFrameMetrics()) {
    RegistrySettingsStore store;
    gw::EngineSettings engineSettings = engine_.Engine().Settings();
    gw::LoadSettings(store, settings_, engineSettings, macroSettings_);
    engine_.Engine().ApplySettings(engineSettings, settings_.circleAreaRatio);
}

CKeyboardApp::~CKeyboardApp() {
    SaveSettings();
}

void CKeyboardApp::SaveSettings() {
    RegistrySettingsStore store;
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

// Another instance runs: it comes to the front and this one ends.
bool CKeyboardApp::ClaimSingleInstance() {
    if (instance_.Claim())
        return true;
    RestoreRunningInstance();
    return false;
}

bool CKeyboardApp::StartOle() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
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
    engine_.SetView(&frame_->View(), frame_->View().GetSafeHwnd());
    frame_->SetEngineReady();
    SharedArea().SetMainWindow(frame);
    // Without the hooks the ring stays empty and the keyboard runs on.
    InstallHooks(true);
    AddHookEventListener(frame_.get());
    AddHookEventListener(&engine_);
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
    SaveSettings();
    instance_.CloseOpenedMutex();
    if (!instance_.IsSecondInstance()) {
        ShutDownHooks();
        frame_.reset();
        if (oleStarted_)
            ::OleUninitialize();
    }
    return CWinApp::ExitInstance();
}
