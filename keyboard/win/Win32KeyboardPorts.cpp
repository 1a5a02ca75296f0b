#include "keyboard/win/Win32KeyboardPorts.h"

static_assert(gw::kKeyEventExtendedKey == KEYEVENTF_EXTENDEDKEY);
static_assert(gw::kKeyEventKeyUp == KEYEVENTF_KEYUP);
static_assert(gw::kKeyEventUnicode == KEYEVENTF_UNICODE);
static_assert(gw::kKeyEventScanCode == KEYEVENTF_SCANCODE);
static_assert(gw::vk::kShift == VK_SHIFT && gw::vk::kControl == VK_CONTROL &&
              gw::vk::kMenu == VK_MENU && gw::vk::kCapital == VK_CAPITAL);
static_assert(gw::vk::kPrior == VK_PRIOR && gw::vk::kDown == VK_DOWN &&
              gw::vk::kInsert == VK_INSERT && gw::vk::kDelete == VK_DELETE &&
              gw::vk::kLWin == VK_LWIN && gw::vk::kApps == VK_APPS && gw::vk::kBack == VK_BACK);

void CWin32KeyEventPort::Send(const gw::KeyInput& input) {
    INPUT record{};
    record.type = INPUT_KEYBOARD;
    record.ki.wVk = input.vk;
    record.ki.wScan = input.scan;
    record.ki.dwFlags = input.flags;
    record.ki.time = 0;
    record.ki.dwExtraInfo = 0;
    ::SendInput(1, &record, sizeof(INPUT));
}

// The keyboard never has the focus, so its thread's own key state lags behind the keys that
// reach other programs; the down state is read from the system's current state instead.
bool CWin32KeyStatePort::IsKeyDown(std::uint8_t virtualKey) const {
    return (::GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

bool CWin32KeyStatePort::IsKeyToggled(std::uint8_t virtualKey) const {
    return (::GetKeyState(virtualKey) & 1) != 0;
}

gw::KeyboardLayoutId CWin32KeyStatePort::ThreadLayout(std::uint32_t threadId) const {
    return FromHkl(::GetKeyboardLayout(threadId));
}

void CWin32KeyStatePort::ActivateLayout(gw::KeyboardLayoutId layout) {
    ::ActivateKeyboardLayout(ToHkl(layout), KLF_SETFORPROCESS);
}

std::int16_t CWin32KeyStatePort::ScanCharacter(char16_t ch, gw::KeyboardLayoutId layout) const {
    return ::VkKeyScanExW(static_cast<WCHAR>(ch), ToHkl(layout));
}

std::uint16_t CWin32KeyStatePort::ScanCode(std::uint8_t virtualKey,
                                           gw::KeyboardLayoutId layout) const {
    return static_cast<std::uint16_t>(
        ::MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_VSC, ToHkl(layout)));
}

gw::KeyboardLayoutId CWin32KeyStatePort::LoadUsEnglishLayout() {
    return FromHkl(::LoadKeyboardLayoutW(L"00000409", KLF_SUBSTITUTE_OK));
}
