#include "keyboard/KeystrokeOutput.h"

namespace gw {

namespace {

// Keys whose shifted character is a different symbol: a pending Shift would change it.
bool IsDigitOrPunctuationKey(std::uint8_t virtualKey) {
    return (virtualKey >= 0x30 && virtualKey <= 0x39) ||
           (virtualKey >= 0xBA && virtualKey <= 0xC0) || (virtualKey >= 0xDB && virtualKey <= 0xDE);
}

// The key of a control character that programs expect as a key press: rich-text controls, for
// one, ignore Backspace, Tab and Enter when they come as Unicode characters. 0 for the others.
std::uint8_t ControlCharacterKey(char16_t ch) {
    switch (ch) {
    case 0x08: // Backspace
    case 0x09: // Tab
    case 0x0D: // Enter
    case 0x1B: // Escape
        return static_cast<std::uint8_t>(ch);
    default:
        return 0;
    }
}

} // namespace

bool IsExtendedKey(std::uint8_t virtualKey) {
    return (virtualKey >= vk::kPrior && virtualKey <= vk::kDown) || virtualKey == vk::kInsert ||
           virtualKey == vk::kDelete || virtualKey == vk::kLWin || virtualKey == vk::kApps;
}

void KeystrokeOutput::SendKeyEvent(std::uint8_t virtualKey, bool up, char16_t unicode) {
    KeyInput input;
    if (unicode != 0) {
        input.scan = unicode;
        input.flags = kKeyEventUnicode;
    } else {
        input.vk = virtualKey;
        // The scan code comes from our own layout, which SendCharacterSlot makes the target's.
        input.scan = keys_.ScanCode(virtualKey, keys_.ThreadLayout(0));
        input.flags = kKeyEventScanCode;
        if (IsExtendedKey(virtualKey))
            input.flags |= kKeyEventExtendedKey;
    }
    if (up)
        input.flags |= kKeyEventKeyUp;
    events_.Send(input);
}

void KeystrokeOutput::PressModifiersAndKey(std::uint8_t virtualKey, char16_t unicode, bool shift,
                                           bool ctrl, bool alt) {
    if (!keys_.IsKeyDown(vk::kControl) && (state_.ctrlState == kLatchOneShot || ctrl))
        SendKeyEvent(vk::kControl, false, 0);
    if (!keys_.IsKeyDown(vk::kMenu) && (state_.altState == kLatchOneShot || alt))
        SendKeyEvent(vk::kMenu, false, 0);
    // A case-forced character is typed as it is; Shift or Caps Lock would change it again.
    if (!state_.caseForced) {
        if (!keys_.IsKeyDown(vk::kShift) && (state_.shiftMode == kShiftOneShot || shift))
            SendKeyEvent(vk::kShift, false, 0);
        if (!keys_.IsKeyToggled(vk::kCapital) && state_.shiftMode == kShiftCaps) {
            SendKeyEvent(vk::kCapital, false, 0);
            SendKeyEvent(vk::kCapital, true, 0);
        }
    }
    if (state_.windowsOneShot && !keys_.IsKeyDown(vk::kLWin))
        SendKeyEvent(vk::kLWin, false, 0);
    SendKeyEvent(virtualKey, false, unicode);
}

void KeystrokeOutput::ReleaseKeyAndModifiers(std::uint8_t virtualKey, char16_t unicode, bool shift,
                                             bool ctrl, bool alt) {
    SendKeyEvent(virtualKey, true, unicode);
    if (state_.altState != kLatchOff || alt) {
        SendKeyEvent(vk::kMenu, true, 0);
        state_.altState = kLatchOff;
        if (view_)
            view_->InvalidateEditingArea();
    }
    if (state_.ctrlState != kLatchOff || ctrl) {
        SendKeyEvent(vk::kControl, true, 0);
        state_.ctrlState = kLatchOff;
        if (view_)
            view_->InvalidateEditingArea();
    }
    if (state_.shiftMode == kShiftOneShot || state_.shiftMode == kShiftHeld) {
        state_.shiftMode = kShiftOff;
        SendKeyEvent(vk::kShift, true, 0);
        if (view_)
            view_->InvalidateView();
    } else if (state_.shiftMode == kShiftCaps && !state_.caseForced) {
        // Caps Lock is on only while the character is typed.
        SendKeyEvent(vk::kCapital, false, 0);
        SendKeyEvent(vk::kCapital, true, 0);
    }
    if (shift)
        SendKeyEvent(vk::kShift, true, 0);
    if (state_.windowsOneShot) {
        state_.windowsOneShot = 0;
        SendKeyEvent(vk::kLWin, true, 0);
    }
}

void KeystrokeOutput::KeyPress(std::uint8_t virtualKey, char16_t unicode, bool shift, bool ctrl,
                               bool alt) {
    if (!state_.releaseMode)
        PressModifiersAndKey(virtualKey, unicode, shift, ctrl, alt);
    if (!state_.holdMode)
        ReleaseKeyAndModifiers(virtualKey, unicode, shift, ctrl, alt);
}

void KeystrokeOutput::DropPendingShift(std::uint8_t virtualKey) {
    if (!IsDigitOrPunctuationKey(virtualKey))
        return;
    if (state_.shiftMode == kShiftHeld) {
        state_.shiftMode = kShiftOff;
        SendKeyEvent(vk::kShift, true, 0);
    } else if (state_.shiftMode == kShiftOneShot) {
        state_.shiftMode = kShiftOff;
    }
}

std::int16_t KeystrokeOutput::FindLayoutKey(char16_t ch) {
    std::int16_t key = -1;
    const std::uint32_t thread = view_ ? view_->FocusedWindowThread() : 0;
    // A thread that is gone has no layout (0); activating 0 would switch to the previous one.
    if (const KeyboardLayoutId layout = thread != 0 ? keys_.ThreadLayout(thread) : 0) {
        // Our scan codes must be the target's, so its layout becomes ours.
        if (layout != keys_.ThreadLayout(0))
            keys_.ActivateLayout(layout);
        key = keys_.ScanCharacter(ch, layout);
    }
    if (state_.usLayoutFallback) {
        // Ctrl letter shortcuts need the letter key even where the target layout has none.
        if (key < 0) {
            if (const KeyboardLayoutId us = keys_.LoadUsEnglishLayout()) {
                keys_.ActivateLayout(us);
                key = keys_.ScanCharacter(ch, us);
            }
        }
        state_.usLayoutFallback = 0;
    }
    return key;
}

void KeystrokeOutput::SendCharacterSlot(const CharacterSlot& record) {
    DropPendingShift(record.vk);
    if (record.ch > 0 && record.ch < 256) {
        const std::int16_t key = FindLayoutKey(record.ch);
        if (!state_.caseForced && key >= 0) {
            const unsigned modifiers = static_cast<unsigned>(key) >> 8;
            KeyPress(static_cast<std::uint8_t>(key & 0xFF), 0, (modifiers & 1) != 0,
                     (modifiers & 2) != 0, (modifiers & 4) != 0);
        } else if (const std::uint8_t controlKey = ControlCharacterKey(record.ch)) {
            KeyPress(controlKey, 0, record.shift != 0, false, false);
        } else {
            KeyPress(record.vk, record.ch, record.shift != 0, false, false);
        }
    } else {
        KeyPress(record.vk, record.ch, record.shift != 0, record.ctrl != 0, false);
    }
}

void KeystrokeOutput::SendCharacter(char16_t ch) {
    CharacterSlot record;
    record.vk = 1;
    record.ch = ch;
    SendCharacterSlot(record);
}

} // namespace gw
