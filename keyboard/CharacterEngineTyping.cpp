// The engine's typing: resolving a slot against the shift modes and the typing history,
// combining, direct key sends, and the modifier toggles and state machines.
#include "keyboard/CharacterEngine.h"

namespace gw {

namespace {
constexpr char16_t kBackspaceChar = 0x08;
} // namespace

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

} // namespace gw
