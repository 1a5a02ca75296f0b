#include "keyboard/CharacterEngine.h"

namespace gw {

namespace {

constexpr std::uint32_t kWmKeyDown = 0x0100;
constexpr std::uint32_t kWmKeyUp = 0x0101;
constexpr std::uint32_t kMsPerMinute = 60000;
constexpr char16_t kZeroWidthNonJoiner = 0x200C;
constexpr char16_t kBackspaceChar = 0x08;

// Virtual keys the decision sends directly.
namespace key {
constexpr std::uint8_t kPageUp = 0x21, kPageDown = 0x22, kEnd = 0x23, kHome = 0x24;
constexpr std::uint8_t kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28;
constexpr std::uint8_t kInsert = 0x2D, kDelete = 0x2E, kApps = 0x5D, kEscape = 0x1B;
constexpr std::uint8_t kF1 = 0x70;
} // namespace key

constexpr std::uint8_t FunctionKey(int number) {
    return static_cast<std::uint8_t>(key::kF1 + number - 1);
}

struct DirectionAndKind {
    int direction;
    int kind;
};

// On a key, a returned stroke gives the second character of its direction, and a circle the
// second character of the centre.
DirectionAndKind KeyStroke(const StrokeClassification& stroke) {
    if (!stroke.returned)
        return {stroke.direction, 0};
    return {stroke.circle ? kCenter : stroke.direction, 1};
}

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

// --- the decision -------------------------------------------------------------------------

bool CharacterEngine::Decide(const StrokeClassification& stroke) {
    output_.holdMode = stroke_.HoldMode();
    output_.releaseMode = stroke_.ReleaseMode();
    if (stroke.bigCircle) {
        ToggleExtensionKeyboard();
        return true;
    }
    const bool longDragPending = stroke_.TakeLongDragPending();
    output_.caseForced = 0;
    switch (stroke.area) {
    case kLetterGrid:
    case kNumberGrid:
        return DecideGrid(stroke, longDragPending);
    case kSpaceArea:
        return DecideSpaceArea(stroke);
    case kEnterArea:
        return TypeSlot(kLetterSide, 3, kNE, 0);
    case kBackspaceArea:
        if (stroke.straight && stroke.fourWay == 0)
            return SendKey(key::kDelete);
        return TypeSlot(kLetterSide, 7, kSW, 0);
    case kZeroKeyArea:
        return DecideZeroKey(stroke);
    case kEditingArea:
        return DecideEditingArea(stroke);
    case kNavigationArea:
        return DecideNavigationArea(stroke);
    case kFunctionArea:
        return DecideFunctionArea(stroke);
    case kSystemArea:
        return DecideSystemArea(stroke);
    default:
        return false;
    }
}

bool CharacterEngine::DecideGrid(const StrokeClassification& stroke, bool longDragPending) {
    if (stroke.key < 1 || stroke.key > 9)
        return false;
    auto [direction, kind] = KeyStroke(stroke);
    const int side = stroke.area == kNumberGrid ? kNumberSide : kLetterSide;
    if (layout_.Slot(side, stroke.key, direction, 0).letterPair) {
        const bool shiftDown = keys_.IsKeyDown(vk::kShift);
        if (keys_.IsKeyToggled(vk::kCapital)) {
            output_.caseForced = 1;
            if (!shiftDown)
                kind = 1 - kind;
        } else if (shiftDown || output_.shiftMode == kShiftOneShot ||
                   output_.shiftMode == kShiftCaps) {
            output_.caseForced = 1;
            kind = 1 - kind;
        }
    }
    if (longDragPending && stroke.straight) {
        // The drag went beyond the macro distance: type the key's macro instead.
        ResetMatch();
        OnTypedChar(SlotCharacter(side, stroke.key, direction, kind));
        if (macros_)
            macros_->RecallMacro(false, false);
        return false;
    }
    return TypeSlot(side, stroke.key, direction, kind);
}

bool CharacterEngine::DecideSpaceArea(const StrokeClassification& stroke) {
    if (stroke.straight) {
        switch (stroke.fourWay) {
        case 0:
            return SendKey(key::kDelete);
        case 1:
            if (!ReleaseMode() && view_)
                view_->ToggleBusyKeyboard();
            return false;
        case 2:
            return TypeSlot(kLetterSide, 7, kSW, 0);
        default:
            return TypeSlot(kLetterSide, 3, kNE, 0);
        }
    }
    if (stroke.circle)
        return TypeCharacter(kZeroWidthNonJoiner);
    return TypeSlot(kLetterSide, 9, kSE, 0);
}

bool CharacterEngine::DecideZeroKey(const StrokeClassification& stroke) {
    const auto [direction, kind] = KeyStroke(stroke);
    return TypeBottomSlot(direction, kind);
}

bool CharacterEngine::DecideEditingArea(const StrokeClassification& stroke) {
    if (stroke.straight) {
        switch (stroke.direction) {
        case kE:
            return CtrlLetter(u'c');
        case kNE:
            ToggleLatch(output_.ctrlState, vk::kControl, false);
            return false;
        case kN:
            return SendKey(key::kPageUp);
        case kNW:
            ToggleLatch(output_.altState, vk::kMenu, false);
            return false;
        case kW:
            return CtrlLetter(u'z');
        case kSW:
            return CtrlLetter(u'x');
        case kS:
            return SendKey(key::kPageDown);
        default:
            return CtrlLetter(u'v');
        }
    }
    if (stroke.isShort) {
        if (!ReleaseMode() && macros_)
            macros_->RecallMacro(true, true);
        return false;
    }
    if (stroke.circle)
        return CtrlLetter(u'a');
    switch (stroke.direction) {
    case kNE:
        ToggleLatch(output_.ctrlState, vk::kControl, true);
        return false;
    case kN:
        return CtrlKey(key::kHome);
    case kNW:
        ToggleLatch(output_.altState, vk::kMenu, true);
        return false;
    case kW:
        return CtrlLetter(u'y');
    case kS:
        return CtrlKey(key::kEnd);
    default:
        return false;
    }
}

bool CharacterEngine::DecideNavigationArea(const StrokeClassification& stroke) {
    if (stroke.straight) {
        static constexpr std::uint8_t kStraightKeys[8] = {
            key::kRight, FunctionKey(2), key::kUp,   FunctionKey(1),
            key::kLeft,  FunctionKey(3), key::kDown, FunctionKey(4)};
        return SendKey(kStraightKeys[stroke.direction]);
    }
    if (!stroke.returned || stroke.circle)
        return false;
    switch (stroke.direction) {
    case kE:
        return SendKey(key::kEnd);
    case kN:
        return CtrlKey(key::kHome);
    case kW:
        return SendKey(key::kHome);
    case kS:
        return CtrlKey(key::kEnd);
    default:
        return false;
    }
}

bool CharacterEngine::DecideFunctionArea(const StrokeClassification& stroke) {
    if (stroke.straight) {
        static constexpr int kStraightKeys[8] = {9, 7, 6, 5, 8, 10, 11, 12};
        return SendKey(FunctionKey(kStraightKeys[stroke.direction]));
    }
    if (stroke.isShort)
        return SendKey(key::kEscape);
    return false;
}

bool CharacterEngine::DecideSystemArea(const StrokeClassification& stroke) {
    const bool viewAction = !ReleaseMode() && view_ != nullptr;
    if (stroke.straight) {
        switch (stroke.direction) {
        case kE:
            if (viewAction)
                view_->SetKeyboardStateHorizontal();
            return false;
        case kNE:
            return SendKey(key::kInsert);
        case kN:
            if (viewAction)
                view_->SetKeyboardStateVertical();
            return false;
        case kNW:
            if (viewAction)
                view_->SizeDown();
            return false;
        case kSW:
            WindowsKey(false);
            return false;
        case kS:
            return SendKey(key::kApps);
        case kSE:
            if (viewAction)
                view_->SizeUp();
            return false;
        default:
            return false;
        }
    }
    if (stroke.isShort) {
        if (viewAction)
            view_->TapSystemKey();
    } else if (stroke.returned && !stroke.circle && stroke.direction == kSW) {
        WindowsKey(true);
    }
    return false;
}

// --- typing ----------------------------------------------------------------------------------

bool CharacterEngine::TypeSlot(int side, int key, int direction, int kind) {
    const CharacterSlot& slot = layout_.Slot(side, key, direction, kind);
    const char16_t ch = Resolve(std::nullopt, side, key, direction, kind, slot);
    SendResolved(slot, ch);
    // The grid gestures type nothing, and repeating them would cycle the modes.
    return !IsGestureKey(key, direction);
}

bool CharacterEngine::TypeBottomSlot(int direction, int kind) {
    // The bottom key is not a grid key, so it has no gesture directions (key 0).
    const CharacterSlot& slot = layout_.BottomSlot(direction, kind);
    SendResolved(slot, Resolve(std::nullopt, kNumberSide, 0, direction, kind, slot));
    return true;
}

bool CharacterEngine::TypeCharacter(char16_t ch) {
    const CharacterSlot record{1, ch, 0, 0, 0, 0};
    SendResolved(record, Resolve(ch, -1, 0, kCenter, 0, record));
    return true;
}

void CharacterEngine::SendResolved(const CharacterSlot& slot, char16_t ch) {
    if (slot.vk == 0)
        return;
    CharacterSlot record = slot;
    record.ch = ch;
    keystrokes_.SendCharacterSlot(record);
}

char16_t CharacterEngine::SlotCharacter(int side, int key, int direction, int kind) const {
    char16_t ch = layout_.Slot(side, key, direction, kind).ch;
    if (kind == 1 && IsLowerLetter(ch))
        ch = static_cast<char16_t>(ch - 32);
    return ch;
}

char16_t CharacterEngine::Resolve(std::optional<char16_t> override, int side, int key,
                                  int direction, int kind, const CharacterSlot& slot) {
    if (side < 0) {
        OnShiftEvent(kCharTyped);
        return override.value_or(0);
    }
    if (key == 6 && direction == kN) {
        if (!ReleaseMode())
            ShiftGesture(kind);
        return 0;
    }
    if (key == 6 && direction == kS) {
        if (!ReleaseMode())
            OnShiftEvent(kShiftCancel);
        return 0;
    }
    if (key == 1 && direction == kNW) {
        if (!ReleaseMode())
            ExplicitCombine();
        return 0;
    }
    char16_t ch = override.value_or(slot.ch);
    if (ch == 0) {
        OnShiftEvent(kCharTyped);
        return 0;
    }
    if (kind == 1 && IsLowerLetter(ch))
        ch = static_cast<char16_t>(ch - 32);
    return ResolveTypedCharacter(ch);
}

// The history and auto-combine part of resolving a character that is about to be typed.
char16_t CharacterEngine::ResolveTypedCharacter(char16_t ch) {
    if (ch == kBackspaceChar) {
        if (undoFirst_ != 0 || undoSecond_ != 0) {
            // Right after an auto-combine: give back the two characters it replaced.
            SendKey(vk::kBack);
            keystrokes_.SendKeyEvent(0, false, undoFirst_);
            keystrokes_.SendKeyEvent(0, true, undoFirst_);
            previous_ = undoFirst_;
            last_ = undoSecond_;
            const char16_t second = undoSecond_;
            undoFirst_ = undoSecond_ = 0;
            return second;
        }
        OnShiftEvent(kBackspaceTyped);
        last_ = previous_;
        previous_ = 0;
        return kBackspaceChar;
    }
    OnShiftEvent(kCharTyped);
    previous_ = last_;
    last_ = (output_.shiftMode != kShiftOff && IsLowerLetter(ch)) ? char16_t(ch - 32) : ch;
    const CombineResult combined =
        CombineLookup(combines_, previous_, last_, CombineScope::AutoOnly);
    if (combined.count > 0) {
        for (int i = 0; i < combined.count - 1; ++i)
            SendKey(vk::kBack);
        undoFirst_ = previous_;
        undoSecond_ = last_;
        previous_ = 0;
        last_ = combined.result;
        return combined.result;
    }
    undoFirst_ = undoSecond_ = 0;
    return ch;
}

void CharacterEngine::ExplicitCombine() {
    const CombineResult combined = CombineLookup(combines_, previous_, last_, CombineScope::All);
    if (combined.count < 1)
        return;
    for (int i = 0; i < combined.count; ++i)
        SendKey(vk::kBack);
    keystrokes_.SendCharacter(combined.result);
    previous_ = 0;
    last_ = combined.result;
}

bool CharacterEngine::SendKey(std::uint8_t virtualKey) {
    keystrokes_.KeyPress(virtualKey, 0, false, false, false);
    return false;
}

bool CharacterEngine::CtrlLetter(char16_t letter) {
    output_.usLayoutFallback = 1;
    output_.ctrlState = kLatchOneShot;
    keystrokes_.SendCharacter(letter);
    return false;
}

bool CharacterEngine::CtrlKey(std::uint8_t virtualKey) {
    keystrokes_.PressModifiersAndKey(vk::kControl, 0, false, false, false);
    keystrokes_.KeyPress(virtualKey, 0, false, false, false);
    keystrokes_.ReleaseKeyAndModifiers(vk::kControl, 0, false, false, false);
    return false;
}

// --- modifiers -------------------------------------------------------------------------------

void CharacterEngine::ToggleLatch(std::uint32_t& latch, std::uint8_t virtualKey, bool opposite) {
    if (ReleaseMode())
        return;
    if (view_)
        view_->InvalidateArea(kEditingArea);
    if (latch == kLatchOneShot) {
        latch = kLatchOff;
    } else if (latch == kLatchHeld) {
        keystrokes_.SendKeyEvent(virtualKey, true, 0);
        latch = kLatchOff;
    } else if (Immediate(opposite)) {
        latch = kLatchHeld;
        keystrokes_.SendKeyEvent(virtualKey, false, 0);
    } else {
        latch = kLatchOneShot;
    }
}

void CharacterEngine::WindowsKey(bool opposite) {
    if (ReleaseMode())
        return;
    if (Immediate(opposite)) {
        keystrokes_.SendKeyEvent(vk::kLWin, false, 0);
        keystrokes_.SendKeyEvent(vk::kLWin, true, 0);
        output_.windowsOneShot = 0;
        return;
    }
    if (view_)
        view_->InvalidateArea(kSystemArea);
    output_.windowsOneShot = output_.windowsOneShot ? 0 : 1;
}

void CharacterEngine::ShiftGesture(int kind) {
    std::uint32_t& mode = output_.shiftMode;
    if (!Immediate(kind == 1)) {
        switch (mode) {
        case kShiftOff:
            mode = kShiftOneShot;
            return OnShiftEvent(kShiftGesture);
        case kShiftOneShot:
            mode = kShiftCaps;
            return OnShiftEvent(kShiftGesture);
        case kShiftHeld:
            mode = kShiftOff;
            keystrokes_.SendKeyEvent(vk::kShift, true, 0);
            return OnShiftEvent(kShiftCancel);
        default:
            return OnShiftEvent(kShiftCancel);
        }
    }
    switch (mode) {
    case kShiftOff:
        mode = kShiftHeld;
        keystrokes_.SendKeyEvent(vk::kShift, false, 0);
        return OnShiftEvent(kShiftGesture);
    case kShiftHeld:
        mode = kShiftCapsLock;
        keystrokes_.SendKeyEvent(vk::kShift, true, 0);
        keystrokes_.SendKeyEvent(vk::kCapital, false, 0);
        keystrokes_.SendKeyEvent(vk::kCapital, true, 0);
        return OnShiftEvent(kShiftGesture);
    case kShiftOneShot:
        mode = kShiftOff;
        return OnShiftEvent(kShiftCancel);
    default:
        return OnShiftEvent(kShiftCancel);
    }
}

void CharacterEngine::OnShiftEvent(ShiftEvent event) {
    const std::uint32_t before = shiftIndicator;
    switch (shiftIndicator) {
    case kIndicatorLower:
        if (event == kShiftGesture)
            shiftIndicator = kIndicatorOneShot;
        break;
    case kIndicatorOneShot:
        if (event == kShiftGesture) {
            shiftIndicator = kIndicatorCaps;
        } else if (event == kShiftCancel) {
            shiftIndicator = kIndicatorLower;
            if (output_.shiftMode == kShiftHeld)
                keystrokes_.SendKeyEvent(vk::kShift, true, 0);
            output_.shiftMode = kShiftOff;
        } else {
            shiftIndicator = kIndicatorLower;
        }
        break;
    default:
        if (event == kShiftGesture || event == kShiftCancel) {
            shiftIndicator = kIndicatorLower;
            if (output_.shiftMode == kShiftCapsLock) {
                keystrokes_.SendKeyEvent(vk::kCapital, false, 0);
                keystrokes_.SendKeyEvent(vk::kCapital, true, 0);
            }
            output_.shiftMode = kShiftOff;
        }
        break;
    }
    if (!view_)
        return;
    view_->InvalidateView();
    if (shiftIndicator != before)
        view_->UpdatePicture();
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
