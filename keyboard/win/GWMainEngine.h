#pragma once
// The character engine's window: a hidden window that owns the portable engine, receives its
// timer messages, and implements the interface extensions drive the engine through.
#include "extensions/win/GWMainEngineInterface.h"
#include "keyboard/CharacterEngine.h"
#include "keyboard/win/Win32KeyboardPorts.h"
#include "shell/win/TimerThread.h"

#include <array>

class CKeyboardView;

// Messages of the engine's timers.
constexpr UINT WM_GW_KEY_DELAY_TIMER = WM_USER + 1;
constexpr UINT WM_GW_REPEAT_TIMER = WM_USER + 2;
constexpr UINT WM_GW_IDLE_TIMER = WM_USER + 3;

// The engine's three timers as timer threads that deliver to the engine window.
class CEngineTimers : public gw::TimerPort {
public:
    void SetTarget(HWND target) { target_ = target; }
    void Start(gw::EngineTimer timer, std::uint32_t intervalMs) override;
    void Stop(gw::EngineTimer timer) override;
    bool IsRunning(gw::EngineTimer timer) const override;
    // The receiving rule for a timer message: true when it comes from the current timer.
    bool Accept(gw::EngineTimer timer, LPARAM lParam);
    static UINT MessageOf(gw::EngineTimer timer);

private:
    CTimerSlot& Slot(gw::EngineTimer timer) { return slots_[static_cast<int>(timer)]; }
    HWND target_ = nullptr;
    std::array<CTimerSlot, 3> slots_;
};

class CGWMainEngine : public CGWMainEngineInterface, public CHookEventListener {
public:
    CGWMainEngine(const gw::KeyboardLayout& layout, const gw::KeyGeometry& geometry,
                  const gw::CombineList& combines);
    ~CGWMainEngine() override;

    // Creates the hidden window; with a parent it is a child with that id, else message-only.
    bool Create(HWND parent, UINT id);
    // The application gives the keyboard view (null: none); the idle timer starts.
    void SetView(CKeyboardView* view);
    // A view without a window, for driving the engine on its own.
    void SetViewPort(gw::EngineViewPort* view);
    void SetApplication(void* application) { application_ = application; }
    gw::CharacterEngine& Engine() { return engine_; }
    const gw::CharacterEngine& Engine() const { return engine_; }

    void StrokeStart(int area, int x, int y, unsigned char external) override;
    void StrokeMove(int x, int y, unsigned char external) override;
    void StrokeEnd(int x, int y, unsigned char external) override;
    void RestartIdleTimer() override { engine_.RestartIdleTimer(); }
    void SetStateAllowed(int index, unsigned char on) override;
    void SetKeyboardStateHorizontal() override;
    void SetKeyboardStateVertical() override;
    void SetKeyboardStateNormal() override;
    unsigned char GetLetterSide() override { return engine_.letterSide; }
    void SetLetterSide(unsigned char letterSide) override { engine_.letterSide = letterSide; }
    void SetExternalPointer(unsigned char external) override { engine_.externalPointer = external; }
    unsigned char GetExternalPointer() override { return engine_.externalPointer; }
    void* GetApplication() override { return application_; }
    void SetViewCursor(HCURSOR cursor) override;

    void OnHookEvent(const gw::HookEvent& event) override { engine_.OnHookEvent(event); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ReadKeyboardTiming();

    CWin32KeyEventPort events_;
    CWin32KeyStatePort keys_;
    CEngineTimers timers_;
    gw::CharacterEngine engine_;
    CKeyboardView* view_ = nullptr;
    void* application_ = nullptr;
};
