#pragma once
// Macro Scribe, the dialog in which the user edits, sends, saves and loads the macros, runs on
// a thread of its own so that the keyboard keeps working while it is open. At most one is
// open; opening it again while it is does nothing.
#include "framework/win/Handles.h"
#include "hook/HookEvent.h"
#include "macros/win/MacroStore.h"
#include "shell/Settings.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

// What Macro Scribe needs from the program. Called on Macro Scribe's thread.
class CMacroScribeHost {
public:
    virtual ~CMacroScribeHost() = default;
    virtual CMacroStore& Store() = 0;
    // A copy of the macro settings now.
    virtual gw::MacroSettings MacroSettings() = 0;
    // Changes the macro settings; with save set they are written to the registry as well.
    virtual void ChangeMacroSettings(const std::function<void(gw::MacroSettings&)>& change,
                                     bool save) = 0;
    // The saved hot key is to be registered again (by the main window).
    virtual void MacroHotKeyChanged() = 0;
    virtual void AddHookEventListener(CHookEventListener* listener) = 0;
    virtual void RemoveHookEventListener(CHookEventListener* listener) = 0;
};

class CMacroScribe {
public:
    explicit CMacroScribe(CMacroScribeHost& host) : host_(host) {}
    ~CMacroScribe() { Close(); }
    CMacroScribe(const CMacroScribe&) = delete;
    CMacroScribe& operator=(const CMacroScribe&) = delete;

    // Opens Macro Scribe on its own thread unless it is open. With newKey set, the New Macro
    // dialog opens at once with the key filled in.
    void Open(std::uint8_t newKey, const std::u16string& key);
    bool IsOpen() const;
    // The program ends: an open Macro Scribe closes (offering to save its changes) and its
    // thread is waited for, with this thread's messages pumped meanwhile.
    void Close();

private:
    class CScribeThread;
    void ThreadEnded();

    CMacroScribeHost& host_;
    mutable std::mutex lock_;
    bool open_ = false;
    UniqueHandle thread_; // a handle of our own of the last thread started
    DWORD threadId_ = 0;
};
