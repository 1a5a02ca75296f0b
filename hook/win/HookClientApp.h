#pragma once
// The keyboard program's side of the focus hook library: the application base class that owns
// the shared area, loads the library and installs its two global hooks, drains the ring in the
// idle processing of the message loop and hands every event whose window still exists to the
// registered listeners, in the order they were added.
#include "framework/win/WinApp.h"
#include "hook/HookEvent.h"
#include "hook/win/SharedAreaOwner.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CHookClientApp : public CWinApp {
public:
    CHookClientApp();
    ~CHookClientApp() override;

    // Adds a listener at the end of the list; removes every occurrence of one. Any thread.
    void AddHookEventListener(CHookEventListener* listener);
    void RemoveHookEventListener(CHookEventListener* listener);

    // True: loads "GWOKHOOK.DLL" (asking the user to browse for it when it cannot be found)
    // and installs both hooks on every thread of the desktop. False: removes the hooks. False
    // when the library could not be loaded or a hook could not be set.
    bool InstallHooks(bool install);
    // Takes the oldest event out of the ring without ever waiting for the mutex; false when
    // there is none, when the mutex is busy, or when the ring had to be emptied (the main
    // window is then sent the overflow message).
    bool GetNextHookEvent(gw::HookEvent& event);

    CSharedAreaOwner& SharedArea() { return sharedArea_; }

protected:
    // Creates the shared area and its mutex; false ends the program.
    bool CreateSharedArea() { return sharedArea_.Create(); }
    // Marks the area inactive, runs the library's copies with a message to every top-level
    // window and gives them 100 ms to let go, removes the hooks, releases the area and frees the
    // library.
    void ShutDownHooks();
    // Drains the ring, dispatching each event to the listeners, then runs the framework's idle
    // work.
    bool OnIdle(long count) override;

private:
    bool LoadHookLibrary();
    bool TakeEventsFromRing();
    bool SetHook(int type, const char* procedure, HHOOK& hook, std::uint32_t& storedHandle);
    void RemoveHooks();
    void Dispatch(const gw::HookEvent& event);

    CSharedAreaOwner sharedArea_;
    HMODULE library_ = nullptr;
    HHOOK messageHook_ = nullptr;
    HHOOK callHook_ = nullptr;
    // Events taken out of the ring and not yet handed out.
    std::array<gw::HookEvent, 2048> taken_{};
    std::size_t takenCount_ = 0;
    std::size_t takenNext_ = 0;

    // Recursive, so a listener may add or remove listeners while it is called.
    CRITICAL_SECTION listenersLock_;
    std::vector<CHookEventListener*> listeners_;
};
