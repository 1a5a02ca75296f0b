#include "macros/win/MacroScribe.h"

#include "framework/win/CommonControls.h"
#include "framework/win/WinThread.h"
#include "macros/win/MacrosDlg.h"

#include <utility>

// The dialog's own user-interface thread: it runs Macro Scribe modally and ends with it.
class CMacroScribe::CScribeThread : public CWinThread {
public:
    CScribeThread(CMacroScribe& owner, std::uint8_t newKey, std::u16string key)
        : owner_(owner), newKey_(newKey), key_(std::move(key)) {}

protected:
    int Run() override {
        {
            CMacrosDlg dialog(owner_.host_, newKey_, key_);
            dialog.RunModal();
        }
        owner_.ThreadEnded();
        return 0;
    }

private:
    CMacroScribe& owner_;
    std::uint8_t newKey_;
    std::u16string key_;
};

void CMacroScribe::Open(std::uint8_t newKey, const std::u16string& key) {
    // Loaded here, before the dialog's thread starts: loaded by the dialog on its own thread,
    // the library's start-up held the loader lock while another thread waited for it, and the
    // first opening deadlocked under Wine.
    LoadCommonControls();
    const std::lock_guard<std::mutex> lock(lock_);
    if (open_)
        return;
    auto* thread = new CScribeThread(*this, newKey, key);
    if (!thread->CreateThread()) {
        delete thread;
        return;
    }
    thread_.Reset(thread->DuplicateThreadHandle());
    threadId_ = thread->ThreadId();
    open_ = true;
    thread->ResumeThread();
}

bool CMacroScribe::IsOpen() const {
    const std::lock_guard<std::mutex> lock(lock_);
    return open_;
}

void CMacroScribe::ThreadEnded() {
    const std::lock_guard<std::mutex> lock(lock_);
    open_ = false;
}

namespace {

BOOL CALLBACK AskToEnd(HWND window, LPARAM) {
    ::PostMessageW(window, WM_GW_END_MACRO_SCRIBE, 0, 0);
    return TRUE;
}

} // namespace

void CMacroScribe::Close() {
    UniqueHandle thread;
    DWORD threadId = 0;
    {
        const std::lock_guard<std::mutex> lock(lock_);
        thread = std::move(thread_);
        threadId = threadId_;
    }
    if (!thread)
        return;
    HANDLE handle = thread.Get();
    // Until the dialog is there to take it, the request is repeated.
    for (;;) {
        ::EnumThreadWindows(threadId, AskToEnd, 0);
        const DWORD waited = ::MsgWaitForMultipleObjects(1, &handle, FALSE, 100, QS_ALLINPUT);
        if (waited == WAIT_OBJECT_0 || waited == WAIT_FAILED)
            break;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}
