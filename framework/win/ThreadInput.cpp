#include "framework/win/ThreadInput.h"

namespace {

// Ties this thread's input to another thread's for its lifetime.
class AttachedInput {
public:
    explicit AttachedInput(DWORD thread)
        : thread_(thread), attached_(thread != ::GetCurrentThreadId() &&
                                     ::AttachThreadInput(::GetCurrentThreadId(), thread, TRUE)) {}
    ~AttachedInput() {
        if (attached_)
            ::AttachThreadInput(::GetCurrentThreadId(), thread_, FALSE);
    }
    AttachedInput(const AttachedInput&) = delete;
    AttachedInput& operator=(const AttachedInput&) = delete;
    bool Attached() const { return attached_; }

private:
    DWORD thread_;
    bool attached_;
};

} // namespace

bool FocusOfThread(DWORD thread, HWND& focus) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (::GetGUIThreadInfo(thread, &info)) {
        focus = info.hwndFocus;
        return true;
    }
    const AttachedInput attached(thread);
    if (!attached.Attached())
        return false;
    focus = ::GetFocus();
    return true;
}

bool SetFocusOfThread(HWND window) {
    if (!::IsWindow(window))
        return false;
    const AttachedInput attached(::GetWindowThreadProcessId(window, nullptr));
    ::SetFocus(window);
    return true;
}
