#include "keyboard/KeyboardSwitcher.h"

#include <algorithm>

namespace gw {

int KeyboardSwitcher::NormalHeight(int size) {
    return kBuiltInNormalHeights[static_cast<std::size_t>(std::clamp(size, 1, kSizeCount) - 1)];
}

bool KeyboardSwitcher::SetState(KeyboardState state) {
    if (settings_.keyboardState == static_cast<std::uint32_t>(state) ||
        !port_.IsStateAllowed(state))
        return false;
    if (state == kVertical && settings_.keyboardSize == 1) {
        // The built-in set has no Vertical pictures at size 1.
        settings_.keyboardSize = 2;
        port_.SaveSettings();
        port_.LoadPictures();
        if (!stretched)
            port_.ResizeFrame(NormalHeight(2));
    }
    settings_.keyboardState = state;
    port_.SaveSettings();
    if (!stretched)
        port_.ResizeFrame(NormalHeight(static_cast<int>(settings_.keyboardSize)));
    port_.LoadPictures();
    port_.UpdatePicture();
    const int size = static_cast<int>(settings_.keyboardSize);
    const int settled = SettleSize(available, state, size);
    if (settled != size)
        ApplySize(settled);
    if (state != kNormal)
        port_.RelayoutFrame();
    port_.Repaint();
    return true;
}

void KeyboardSwitcher::ApplySize(int size) {
    settings_.keyboardSize = static_cast<std::uint32_t>(size);
    port_.SaveSettings();
    port_.LoadPictures();
    port_.ResizeFrame(NormalHeight(size));
}

bool KeyboardSwitcher::SizeDown() {
    const int size = static_cast<int>(settings_.keyboardSize) - 1;
    if (size < 1 || !IsSizeAvailable(available, static_cast<int>(settings_.keyboardState), size))
        return false;
    ApplySize(size);
    return true;
}

bool KeyboardSwitcher::SizeUp() {
    const int size = static_cast<int>(settings_.keyboardSize) + 1;
    if (size > kSizeCount ||
        !IsSizeAvailable(available, static_cast<int>(settings_.keyboardState), size))
        return false;
    ApplySize(size);
    return true;
}

void KeyboardSwitcher::TapSystemKey(std::uint8_t& letterSide) {
    if (settings_.keyboardState != kNormal) {
        SetState(kNormal);
        return;
    }
    letterSide = letterSide ? 0 : 1;
    port_.UpdatePicture();
}

bool KeyboardSwitcher::ToggleBusyKeyboard(int shownPicture) {
    if (settings_.keyboardState != kNormal || IsNumberPicture(shownPicture))
        return false;
    settings_.busyKeyboard = !settings_.busyKeyboard;
    port_.SaveSettings();
    port_.UpdatePicture();
    return true;
}

} // namespace gw
