#pragma once
// The keystroke output's ports on Win32: key events go out through SendInput, key states and
// keyboard layouts come from the system.
#include "keyboard/KeystrokeOutput.h"

#include <windows.h>

// Sends each key event as one INPUT record of its own.
class CWin32KeyEventPort : public gw::KeyEventPort {
public:
    void Send(const gw::KeyInput& input) override;
};

class CWin32KeyStatePort : public gw::KeyStatePort {
public:
    bool IsKeyDown(std::uint8_t virtualKey) const override;
    bool IsKeyToggled(std::uint8_t virtualKey) const override;
    gw::KeyboardLayoutId ThreadLayout(std::uint32_t threadId) const override;
    void ActivateLayout(gw::KeyboardLayoutId layout) override;
    std::int16_t ScanCharacter(char16_t ch, gw::KeyboardLayoutId layout) const override;
    std::uint16_t ScanCode(std::uint8_t virtualKey, gw::KeyboardLayoutId layout) const override;
    gw::KeyboardLayoutId LoadUsEnglishLayout() override;

    static HKL ToHkl(gw::KeyboardLayoutId layout) { return reinterpret_cast<HKL>(layout); }
    static gw::KeyboardLayoutId FromHkl(HKL layout) {
        return reinterpret_cast<gw::KeyboardLayoutId>(layout);
    }
};
