#pragma once
// Worker thread class: created suspended so its fields can be set before it runs; the body is
// InitInstance, then Run (a message loop by default), then ExitInstance. With auto-delete on,
// the object deletes itself when its thread ends, and nobody may touch it after resuming.
#include <windows.h>

class CWinThread {
public:
    CWinThread() = default;
    virtual ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // Starts the thread suspended; false when the system could not create it.
    bool CreateThread();
    void ResumeThread();
    // A handle of the caller's own to wait on; the caller closes it.
    HANDLE DuplicateThreadHandle() const;
    DWORD ThreadId() const { return threadId_; }

    bool autoDelete = true;

protected:
    virtual bool InitInstance() { return true; }
    virtual int Run();
    virtual int ExitInstance() { return 0; }

private:
    static DWORD WINAPI ThreadEntry(void* self);
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
};
