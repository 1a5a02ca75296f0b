#include "hook/win/HookClientApp.h"

#include "framework/win/CommonDialogs.h"
#include "framework/win/ProcAddress.h"
#include "framework/win/WideString.h"
#include "hook/HookRing.h"
#include "shell/StartUp.h"

#include <algorithm>

namespace {

const wchar_t kHookLibraryName[] = L"GWOKHOOK.DLL";
const wchar_t kLoadFailedText[] = L"Unable to load GWOKHOOK.DLL\nWould you like to browse for it?";
const wchar_t kMessageHookFailedText[] = L"Unable to set hook GetMessageHookProc";
const wchar_t kCallHookFailedText[] = L"Unable to set hook CallWndHookProc";

void ShowError(HWND owner, const wchar_t* text) {
    const std::wstring caption = ToWide(gw::kMainWindowTitle);
    ::MessageBoxW(owner, text, caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

// Lets the user pick the library; the name stays as it was when the dialog is cancelled.
void BrowseForLibrary(HWND owner, std::wstring& name) {
    wchar_t file[MAX_PATH] = {};
    name.copy(file, MAX_PATH - 1);
    wchar_t folder[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, folder);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = folder;
    dialog.lpstrDefExt = L"dll";
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
    if (ShowOpenFileDialog(dialog))
        name = file;
}

} // namespace

CHookClientApp::CHookClientApp() {
    ::InitializeCriticalSection(&listenersLock_);
}

CHookClientApp::~CHookClientApp() {
    ShutDownHooks();
    ::DeleteCriticalSection(&listenersLock_);
}

void CHookClientApp::AddHookEventListener(CHookEventListener* listener) {
    ::EnterCriticalSection(&listenersLock_);
    listeners_.push_back(listener);
    ::LeaveCriticalSection(&listenersLock_);
}

void CHookClientApp::RemoveHookEventListener(CHookEventListener* listener) {
    ::EnterCriticalSection(&listenersLock_);
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
    ::LeaveCriticalSection(&listenersLock_);
}

bool CHookClientApp::LoadHookLibrary() {
    std::wstring name = kHookLibraryName;
    library_ = ::LoadLibraryW(name.c_str());
    while (!library_) {
        const std::wstring caption = ToWide(gw::kMainWindowTitle);
        if (::MessageBoxW(mainWindow, kLoadFailedText, caption.c_str(),
                          MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
            return false;
        BrowseForLibrary(mainWindow, name);
        library_ = ::LoadLibraryW(name.c_str());
    }
    return true;
}

// Sets one global hook, unless it is set, and stores its handle in the area for the library.
bool CHookClientApp::SetHook(int type, const char* procedure, HHOOK& hook,
                             std::uint32_t& storedHandle) {
    if (hook)
        return true;
    const auto proc = ProcAddress<HOOKPROC>(library_, procedure);
    hook = proc ? ::SetWindowsHookExW(type, proc, library_, 0) : nullptr;
    storedHandle = gw::HandleToShared(hook);
    return hook != nullptr;
}

bool CHookClientApp::InstallHooks(bool install) {
    if (!install) {
        RemoveHooks();
        return true;
    }
    gw::SharedArea* area = sharedArea_.Area();
    if (!area || (!library_ && !LoadHookLibrary()))
        return false;
    if (!SetHook(WH_GETMESSAGE, "GetMessageHookProc", messageHook_, area->header.messageHook)) {
        ShowError(mainWindow, kMessageHookFailedText);
        return false;
    }
    if (!SetHook(WH_CALLWNDPROC, "CallWndHookProc", callHook_, area->header.callHook)) {
        RemoveHooks();
        ShowError(mainWindow, kCallHookFailedText);
        return false;
    }
    return true;
}

void CHookClientApp::RemoveHooks() {
    gw::SharedArea* area = sharedArea_.Area();
    if (messageHook_) {
        ::UnhookWindowsHookEx(messageHook_);
        messageHook_ = nullptr;
        if (area)
            area->header.messageHook = 0;
    }
    if (callHook_) {
        ::UnhookWindowsHookEx(callHook_);
        callHook_ = nullptr;
        if (area)
            area->header.callHook = 0;
    }
}

void CHookClientApp::ShutDownHooks() {
    if (sharedArea_.IsHeld()) {
        // A copy of the library lets the area go only when one of its procedures runs, and
        // under Wine the library stays loaded in a program once it was loaded there for good.
        // So the area is marked inactive while the hooks are still in place, every top-level
        // window gets a message that runs them, and the copies have 100 ms to let go.
        sharedArea_.MarkInactive();
        ::PostMessageW(HWND_BROADCAST, WM_NULL, 0, 0);
        ::Sleep(100);
    }
    RemoveHooks();
    sharedArea_.Release();
    if (library_) {
        ::FreeLibrary(library_);
        library_ = nullptr;
    }
}

bool CHookClientApp::GetNextHookEvent(gw::HookEvent& event) {
    if (takenNext_ == takenCount_ && !TakeEventsFromRing())
        return false;
    event = taken_[takenNext_++];
    return true;
}

// Takes the oldest events out of the ring, as many as fit, under one hold of the mutex.
bool CHookClientApp::TakeEventsFromRing() {
    takenNext_ = takenCount_ = 0;
    gw::SharedArea* area = sharedArea_.Area();
    if (!area || gw::RingLooksEmpty(area->header))
        return false;
    const DWORD wait = ::WaitForSingleObject(sharedArea_.Mutex(), 0);
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED)
        return false; // a writer has it: the ring is tried again at the next idle time
    const gw::RingRead read = gw::ReadHookEvents(*area, taken_.data(), taken_.size(), takenCount_);
    ::ReleaseMutex(sharedArea_.Mutex());
    if (read == gw::RingRead::kDiscarded && mainWindow)
        ::SendMessageW(mainWindow, gw::kHookOverflowMessage, 0, 0);
    return takenCount_ != 0;
}

void CHookClientApp::Dispatch(const gw::HookEvent& event) {
    ::EnterCriticalSection(&listenersLock_);
    // By index: a listener may change the list while it is called.
    for (std::size_t i = 0; i < listeners_.size(); ++i)
        listeners_[i]->OnHookEvent(event);
    ::LeaveCriticalSection(&listenersLock_);
}

bool CHookClientApp::OnIdle(long count) {
    gw::HookEvent event;
    // Events come in runs for one window; its check holds for the rest of the run.
    std::uint32_t liveWindow = 0;
    while (GetNextHookEvent(event)) {
        // An event for a window that is gone by now is of no use to anyone.
        if (event.window != liveWindow) {
            if (!::IsWindow(static_cast<HWND>(gw::HandleFromShared(event.window))))
                continue;
            liveWindow = event.window;
        }
        Dispatch(event);
    }
    while (CWinApp::OnIdle(count))
        ++count;
    return false;
}
