#include "shell/win/SingleInstance.h"

bool CSingleInstance::Claim() {
    opened_.Reset(::OpenMutexW(MUTEX_ALL_ACCESS, FALSE, name_.c_str()));
    if (opened_) {
        second_ = true;
        return false;
    }
    HANDLE created = ::CreateMutexW(nullptr, TRUE, name_.c_str());
    const DWORD error = ::GetLastError();
    owned_.Reset(created);
    if (owned_ && error == ERROR_ALREADY_EXISTS) {
        // Created by another start since our open: not ours, and not owned by us.
        opened_ = std::move(owned_);
        second_ = true;
        return false;
    }
    // A mutex that cannot be made at all does not stop the program.
    second_ = false;
    return true;
}

bool RestoreRunningInstance(const std::wstring& className, const std::wstring& title) {
    HWND window = ::FindWindowW(className.c_str(), title.c_str());
    if (!window)
        return false;
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    const DWORD self = ::GetCurrentThreadId();
    if (thread == 0 || thread == self)
        return false;
    const bool attached = ::AttachThreadInput(self, thread, TRUE) != FALSE;
    bool restored = false;
    if (::IsWindow(window)) {
        ::SetFocus(window);
        // A hung instance must not hang this start as well.
        DWORD_PTR result = 0;
        restored = ::SendMessageTimeoutW(window, WM_SYSCOMMAND, SC_RESTORE, 0,
                                         SMTO_NORMAL | SMTO_ABORTIFHUNG, 5000, &result) != 0;
    }
    if (attached)
        ::AttachThreadInput(self, thread, FALSE);
    return restored;
}
