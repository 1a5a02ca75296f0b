#include "keyboard/CharacterEngine.h"

// The engine's life, its timers and settings, the physical modifier mirror and the forwarding
// to the view and the macro store. The decision is in CharacterEngineDecision.cpp, the typing
// and the modifiers in CharacterEngineTyping.cpp.

namespace gw {

namespace {

constexpr std::uint32_t kWmKeyDown = 0x0100;
constexpr std::uint32_t kWmKeyUp = 0x0101;
constexpr std::uint32_t kMsPerMinute = 60000;

} // namespace

CharacterEngine::CharacterEngine(const KeyboardLayout& layout, const KeyGeometry& geometry,
                                 const CombineList& combines, KeyEventPort& events,
                                 KeyStatePort& keys, TimerPort& timers)
    : layout_(layout), combines_(combines), keys_(keys), timers_(timers),
      keystrokes_(events, keys, output_), stroke_(geometry, layout, timers, *this, *this, *this) {
    ApplySettings(settings_, StrokeSettings{}.circleAreaRatio);
    if (keys_.IsKeyToggled(vk::kCapital)) {
        output_.shiftMode = kShiftCapsLock;
        shiftIndicator = kIndicatorCaps;
    }
}

void CharacterEngine::SetView(EngineViewPort* view) {
    view_ = view;
    keystrokes_.SetView(view);
    RestartIdleTimer();
}

void CharacterEngine::SetKeyboardTiming(int delaySetting, int speedSetting) {
    stroke_.keyDelayMs = KeyDelayMs(delaySetting);
    stroke_.repeatIntervalMs = RepeatIntervalMs(speedSetting);
}

void CharacterEngine::ApplySettings(const EngineSettings& engineSettings, double circleAreaRatio) {
    settings_ = engineSettings;
    stroke_.settings.minDrag = static_cast<int>(settings_.minDrag);
    stroke_.settings.maxDrag = static_cast<int>(settings_.maxDrag);
    stroke_.settings.maxDragMacros = settings_.maxDragMacros;
    stroke_.settings.drawTrace = settings_.drawTrace;
    stroke_.settings.circleAreaRatio = circleAreaRatio;
}

void CharacterEngine::RestartIdleTimer() {
    timers_.Stop(EngineTimer::Idle);
    if (!view_ || settings_.dontMinimize)
        return;
    timers_.Start(EngineTimer::Idle, settings_.minimizeTime * kMsPerMinute);
}

void CharacterEngine::OnIdleTimer() {
    if (view_)
        view_->MinimizeMainWindow();
}

void CharacterEngine::SetStateAllowed(int state, bool on) {
    if (state < 0 || state >= kStateCount)
        return;
    const std::uint32_t bit = 1u << state;
    allowedStates_ = on ? (allowedStates_ | bit) : (allowedStates_ & ~bit);
}

void CharacterEngine::Shutdown() {
    timers_.Stop(EngineTimer::KeyDelay);
    timers_.Stop(EngineTimer::Repeat);
    timers_.Stop(EngineTimer::Idle);
    if (output_.altState == kLatchHeld)
        keystrokes_.SendKeyEvent(vk::kMenu, true, 0);
    if (output_.ctrlState == kLatchHeld)
        keystrokes_.SendKeyEvent(vk::kControl, true, 0);
    output_.altState = output_.ctrlState = kLatchOff;
}

void CharacterEngine::ToggleExtensionKeyboard() {
    if (!view_)
        return;
    if (extensionKeyboard) {
        extensionKeyboard = 0;
        view_->ExtensionKeyboardOff();
    } else {
        extensionKeyboard = 1;
        view_->ExtensionKeyboardOn();
    }
}
void CharacterEngine::OnHookEvent(const HookEvent& event) {
    if ((event.message != kWmKeyDown && event.message != kWmKeyUp) || stroke_.HoldMode())
        return;
    const std::uint32_t virtualKey = event.wParam;
    if (virtualKey != vk::kShift && virtualKey != vk::kControl && virtualKey != vk::kMenu &&
        virtualKey != vk::kCapital)
        return;

    auto setShift = [this](std::uint32_t mode, std::uint32_t indicator) {
        output_.shiftMode = mode;
        shiftIndicator = indicator;
        if (view_) {
            view_->UpdatePicture();
            view_->InvalidateView();
        }
    };
    const bool shiftDown = keys_.IsKeyDown(vk::kShift);
    if (shiftDown && output_.shiftMode != kShiftHeld)
        setShift(kShiftHeld, kIndicatorOneShot);
    else if (!shiftDown && output_.shiftMode == kShiftHeld)
        setShift(kShiftOff, kIndicatorLower);

    auto mirrorLatch = [this](std::uint32_t& latch, std::uint8_t key) {
        const bool down = keys_.IsKeyDown(key);
        const std::uint32_t before = latch;
        if (down)
            latch = kLatchHeld;
        else if (latch == kLatchHeld)
            latch = kLatchOff;
        if (latch != before && view_)
            view_->InvalidateArea(kEditingArea);
    };
    mirrorLatch(output_.ctrlState, vk::kControl);
    mirrorLatch(output_.altState, vk::kMenu);

    const bool capsOn = keys_.IsKeyToggled(vk::kCapital);
    if (capsOn && output_.shiftMode != kShiftCapsLock)
        setShift(kShiftCapsLock, kIndicatorCaps);
    else if (!capsOn && output_.shiftMode == kShiftCapsLock)
        setShift(kShiftOff, kIndicatorLower);
}
// --- forwarding to the view and the macro store -------------------------------------------------

void CharacterEngine::MoveCursorTo(int area, Point units) {
    if (view_)
        view_->MoveCursorTo(area, units);
}
void CharacterEngine::AddTracePoint(int area, Point units) {
    if (view_)
        view_->AddTracePoint(area, units);
}
void CharacterEngine::ClearTrace() {
    if (view_)
        view_->ClearTrace();
}
void CharacterEngine::SetExternalStrokeFlag() {
    if (view_)
        view_->SetExternalStrokeFlag();
}
void CharacterEngine::ClearExternalStrokeFlag() {
    if (view_)
        view_->ClearExternalStrokeFlag();
}
void CharacterEngine::RefreshView() {
    if (view_)
        view_->RefreshView();
}
std::u16string CharacterEngine::TypedBuffer() const {
    return macros_ ? macros_->TypedBuffer() : std::u16string();
}
void CharacterEngine::ResetMatch() {
    if (macros_)
        macros_->ResetMatch();
}
void CharacterEngine::OnTypedChar(char16_t ch) {
    if (macros_)
        macros_->OnTypedChar(ch);
}
bool CharacterEngine::MatchShown() const {
    return macros_ && macros_->MatchShown();
}

} // namespace gw
