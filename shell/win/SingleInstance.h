#pragma once
// The single-instance rule: the first process creates the named mutex, owned from its
// creation, and holds it until it ends; a later start finds it, restores the running
// instance's main window and ends.
#include "framework/win/Handles.h"
#include "framework/win/WideString.h"
#include "shell/StartUp.h"

#include <string>
#include <utility>

class CSingleInstance {
public:
    explicit CSingleInstance(std::wstring mutexName = ToWide(gw::kInstanceMutexName))
        : name_(std::move(mutexName)) {}
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // Opens the mutex if another instance made it, else creates it owned. True when this
    // process is the first instance. Two starts at the same moment can both miss the open:
    // the later create then finds the mutex made and this process is the second instance.
    bool Claim();
    bool IsSecondInstance() const { return second_; }
    // Closes the handle of another instance's mutex (a second instance's, at exit). The first
    // instance's own mutex stays held until this object goes.
    void CloseOpenedMutex() { opened_.Reset(); }

private:
    std::wstring name_;
    UniqueHandle opened_; // another instance's mutex
    UniqueHandle owned_;  // ours
    bool second_ = false;
};

// Finds the top-level window of the running instance by class and title and, if it belongs to
// another thread, gives it the focus and restores it (WM_SYSCOMMAND SC_RESTORE) with this
// thread's input attached to its thread. True when a window was restored.
bool RestoreRunningInstance(const std::wstring& className = ToWide(gw::kMainFrameClassName),
                            const std::wstring& title = ToWide(gw::kMainWindowTitle));
