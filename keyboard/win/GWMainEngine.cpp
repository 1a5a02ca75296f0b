#include "keyboard/win/GWMainEngine.h"

#include "keyboard/win/KeyboardView.h"

namespace {
const wchar_t kEngineWindowClass[] = L"GlyphwellEngine";
constexpr DWORD kTimerStopPauseMs = 100;
} // namespace

void CEngineTimers::Start(gw::EngineTimer timer, std::uint32_t intervalMs) {
    Slot(timer).Start(target_, MessageOf(timer), intervalMs);
}

void CEngineTimers::Stop(gw::EngineTimer timer) {
    Slot(timer).Stop();
}

bool CEngineTimers::IsRunning(gw::EngineTimer timer) const {
    return slots_[static_cast<int>(timer)].IsRunning();
}

bool CEngineTimers::Accept(gw::EngineTimer timer, LPARAM lParam) {
    return Slot(timer).Accept(lParam);
}

UINT CEngineTimers::MessageOf(gw::EngineTimer timer) {
    switch (timer) {
    case gw::EngineTimer::KeyDelay:
        return WM_GW_KEY_DELAY_TIMER;
    case gw::EngineTimer::Repeat:
        return WM_GW_REPEAT_TIMER;
    default:
        return WM_GW_IDLE_TIMER;
    }
}

CGWMainEngine::CGWMainEngine(const gw::KeyboardLayout& layout, const gw::KeyGeometry& geometry,
                             const gw::CombineList& combines)
    : engine_(layout, geometry, combines, events_, keys_, timers_) {
    ReadKeyboardTiming();
}

CGWMainEngine::~CGWMainEngine() {
    const bool timersRan = timers_.IsRunning(gw::EngineTimer::KeyDelay) ||
                           timers_.IsRunning(gw::EngineTimer::Repeat) ||
                           timers_.IsRunning(gw::EngineTimer::Idle);
    engine_.Shutdown();
    if (timersRan)
        ::Sleep(kTimerStopPauseMs); // let the stopped timer threads end before we go
}

bool CGWMainEngine::Create(HWND parent, UINT id) {
    RegisterWindowClass(kEngineWindowClass);
    const bool created =
        parent ? CreateEx(WS_EX_NOACTIVATE, kEngineWindowClass, L"", WS_CHILD, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)))
               : CreateEx(0, kEngineWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr);
    timers_.SetTarget(GetSafeHwnd());
    return created;
}

void CGWMainEngine::SetView(CKeyboardView* view) {
    view_ = view;
    engine_.SetView(view);
}

void CGWMainEngine::SetViewPort(gw::EngineViewPort* view) {
    view_ = nullptr;
    engine_.SetView(view);
}

void CGWMainEngine::StrokeStart(int area, int x, int y, unsigned char external) {
    engine_.StrokeStart(area, {x, y}, external != 0);
}

void CGWMainEngine::StrokeMove(int x, int y, unsigned char external) {
    engine_.StrokeMove({x, y}, external != 0);
}

void CGWMainEngine::StrokeEnd(int x, int y, unsigned char external) {
    engine_.StrokeEnd({x, y}, external != 0);
}

void CGWMainEngine::SetStateAllowed(int index, unsigned char on) {
    engine_.SetStateAllowed(index, on != 0);
}

void CGWMainEngine::SetKeyboardStateHorizontal() {
    if (gw::EngineViewPort* view = engine_.View())
        view->SetKeyboardStateHorizontal();
}

void CGWMainEngine::SetKeyboardStateVertical() {
    if (gw::EngineViewPort* view = engine_.View())
        view->SetKeyboardStateVertical();
}

void CGWMainEngine::SetKeyboardStateNormal() {
    if (gw::EngineViewPort* view = engine_.View())
        view->SetKeyboardStateNormal();
}

// The view keeps the cursor as its own, so it is the one it shows from now on.
void CGWMainEngine::SetViewCursor(HCURSOR cursor) {
    if (!view_ || !view_->GetSafeHwnd())
        return;
    view_->SetViewCursor(cursor);
    HWND window = view_->GetSafeHwnd();
    ::SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void CGWMainEngine::ReadKeyboardTiming() {
    int delay = 1;
    DWORD speed = 31;
    ::SystemParametersInfoW(SPI_GETKEYBOARDDELAY, 0, &delay, 0);
    ::SystemParametersInfoW(SPI_GETKEYBOARDSPEED, 0, &speed, 0);
    engine_.SetKeyboardTiming(delay, static_cast<int>(speed));
}

LRESULT CGWMainEngine::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GW_KEY_DELAY_TIMER:
        if (timers_.Accept(gw::EngineTimer::KeyDelay, lParam))
            engine_.OnKeyDelayTimer();
        return 0;
    case WM_GW_REPEAT_TIMER:
        if (timers_.Accept(gw::EngineTimer::Repeat, lParam))
            engine_.OnRepeatTimer();
        return 0;
    case WM_GW_IDLE_TIMER:
        if (timers_.Accept(gw::EngineTimer::Idle, lParam))
            engine_.OnIdleTimer();
        return 0;
    case WM_SETTINGCHANGE:
        ReadKeyboardTiming();
        break;
    default:
        break;
    }
    return Default(message, wParam, lParam);
}
