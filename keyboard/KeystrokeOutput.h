#pragma once
// Synthesized keyboard output: how a character slot, a character or a virtual key becomes a
// sequence of key events, with the engine's pending modifiers pressed around the key and
// released after it, and hold and release modes splitting one press into its two halves.
#include "keyboard/KeyboardModel.h"

#include <cstdint>

namespace gw {

// The virtual keys this code names (values of the Win32 VK_ codes).
namespace vk {
inline constexpr std::uint8_t kBack = 0x08;
inline constexpr std::uint8_t kShift = 0x10;
inline constexpr std::uint8_t kControl = 0x11;
inline constexpr std::uint8_t kMenu = 0x12; // Alt
inline constexpr std::uint8_t kCapital = 0x14;
inline constexpr std::uint8_t kPrior = 0x21; // Page Up
inline constexpr std::uint8_t kNext = 0x22;  // Page Down
inline constexpr std::uint8_t kEnd = 0x23;
inline constexpr std::uint8_t kHome = 0x24;
inline constexpr std::uint8_t kLeft = 0x25;
inline constexpr std::uint8_t kUp = 0x26;
inline constexpr std::uint8_t kRight = 0x27;
inline constexpr std::uint8_t kDown = 0x28;
inline constexpr std::uint8_t kInsert = 0x2D;
inline constexpr std::uint8_t kDelete = 0x2E;
inline constexpr std::uint8_t kLWin = 0x5B;
inline constexpr std::uint8_t kApps = 0x5D;
} // namespace vk

// Flags of one key event (values of the Win32 KEYEVENTF_ flags).
inline constexpr std::uint32_t kKeyEventExtendedKey = 0x0001;
inline constexpr std::uint32_t kKeyEventKeyUp = 0x0002;
inline constexpr std::uint32_t kKeyEventUnicode = 0x0004;
inline constexpr std::uint32_t kKeyEventScanCode = 0x0008;

// One keyboard input record, as SendInput takes it. For a Unicode event vk is 0 and scan holds
// the UTF-16 code unit.
struct KeyInput {
    std::uint16_t vk = 0;
    std::uint16_t scan = 0;
    std::uint32_t flags = 0;
    bool operator==(const KeyInput&) const = default;
};

// Where the key events go: each call is one record sent on its own. The result is not needed.
class KeyEventPort {
public:
    virtual ~KeyEventPort() = default;
    virtual void Send(const KeyInput& input) = 0;
};

// A keyboard layout handle (HKL); 0 is none.
using KeyboardLayoutId = std::uintptr_t;

// The key states and keyboard layouts of the system.
class KeyStatePort {
public:
    virtual ~KeyStatePort() = default;
    // The key is down now (the high bit of its key state), physically or by synthesized input.
    virtual bool IsKeyDown(std::uint8_t virtualKey) const = 0;
    // A toggle key (Caps Lock) is on (the low bit of its key state).
    virtual bool IsKeyToggled(std::uint8_t virtualKey) const = 0;
    // The active layout of a thread; thread 0 is the calling thread.
    virtual KeyboardLayoutId ThreadLayout(std::uint32_t threadId) const = 0;
    // Makes the layout the whole process's active one.
    virtual void ActivateLayout(KeyboardLayoutId layout) = 0;
    // The key that types the character in the layout: the virtual key in the low byte, the
    // needed modifiers in the high byte (1 Shift, 2 Ctrl, 4 Alt); -1 when no key types it.
    virtual std::int16_t ScanCharacter(char16_t ch, KeyboardLayoutId layout) const = 0;
    // The scan code of a virtual key in the layout; 0 when it has none.
    virtual std::uint16_t ScanCode(std::uint8_t virtualKey, KeyboardLayoutId layout) const = 0;
    // Loads (if needed) the US-English layout "00000409"; 0 on failure.
    virtual KeyboardLayoutId LoadUsEnglishLayout() = 0;
};

// What the output needs from the keyboard view.
class OutputViewPort {
public:
    virtual ~OutputViewPort() = default;
    // The thread of the focused window of the application being typed into; 0 if none known.
    virtual std::uint32_t FocusedWindowThread() const = 0;
    // The Ctrl or Alt indicator changed.
    virtual void InvalidateEditingArea() = 0;
    // The Shift indicator changed.
    virtual void InvalidateView() = 0;
};

enum ShiftMode : std::uint32_t {
    kShiftOff = 0,
    kShiftOneShot = 1,  // Shift goes with the next character
    kShiftHeld = 2,     // the Shift key is down; released after the next character
    kShiftCaps = 3,     // Caps Lock is turned on around each character
    kShiftCapsLock = 4, // the real Caps Lock is on
};

enum ModifierLatch : std::uint32_t {
    kLatchOff = 0,
    kLatchOneShot = 1, // pressed with the next character
    kLatchHeld = 2,    // the key is down now; released after the next character
};

// The engine's modifier and stroke state that the output reads and consumes. The engine owns
// it; the output changes it as keys go through the release phase.
struct OutputState {
    std::uint32_t shiftMode = kShiftOff;
    std::uint32_t ctrlState = kLatchOff;
    std::uint32_t altState = kLatchOff;
    std::uint8_t windowsOneShot = 0;
    std::uint8_t usLayoutFallback = 0; // per character: look a letter up in US-English too
    std::uint8_t caseForced = 0;       // per character: its case is chosen, type it as is
    std::uint8_t holdMode = 0;         // send only the press half
    std::uint8_t releaseMode = 0;      // send only the release half
};

// The virtual keys that need the extended-key flag.
bool IsExtendedKey(std::uint8_t virtualKey);

class KeystrokeOutput {
public:
    KeystrokeOutput(KeyEventPort& events, KeyStatePort& keys, OutputState& state)
        : events_(events), keys_(keys), state_(state) {}

    // The view may be absent (nullptr): then no target thread is known.
    void SetView(OutputViewPort* view) { view_ = view; }

    // One event: a Unicode character when unicode is not 0, else the virtual key by scan code.
    void SendKeyEvent(std::uint8_t virtualKey, bool up, char16_t unicode);
    // The press half: pending modifiers down, then the key.
    void PressModifiersAndKey(std::uint8_t virtualKey, char16_t unicode, bool shift, bool ctrl,
                              bool alt);
    // The release half: the key up, then the modifiers; one-shot and held modifiers end here.
    void ReleaseKeyAndModifiers(std::uint8_t virtualKey, char16_t unicode, bool shift, bool ctrl,
                                bool alt);
    // Both halves, or only one of them in hold or release mode.
    void KeyPress(std::uint8_t virtualKey, char16_t unicode, bool shift, bool ctrl, bool alt);
    // Types a slot's record (vk, ch, ctrl, shift) through the target layout, as a Unicode
    // character or as a bare virtual key.
    void SendCharacterSlot(const CharacterSlot& record);
    // A character without a slot: the record (1, ch, 0, 0).
    void SendCharacter(char16_t ch);

private:
    void DropPendingShift(std::uint8_t virtualKey);
    std::int16_t FindLayoutKey(char16_t ch);

    KeyEventPort& events_;
    KeyStatePort& keys_;
    OutputState& state_;
    OutputViewPort* view_ = nullptr;
};

} // namespace gw
