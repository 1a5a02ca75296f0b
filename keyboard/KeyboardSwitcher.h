#pragma once
// The keyboard's changes of state, size, side and busy picture that strokes on the keyboard ask
// for: which are allowed, what is saved, and in which order the pictures are reloaded and the
// main window is resized.
#include "keyboard/KeyboardViewRules.h"
#include "shell/Settings.h"

#include <cstdint>

namespace gw {

// What the switches need from the keyboard view and its main window.
class KeyboardSwitchPort {
public:
    virtual ~KeyboardSwitchPort() = default;
    // The engine's allowed-state set (extensions may narrow it).
    virtual bool IsStateAllowed(int state) const = 0;
    virtual void SaveSettings() = 0;
    // Reloads the pictures for the current state and size, chooses the picture and recomputes
    // the key areas.
    virtual void LoadPictures() = 0;
    virtual void UpdatePicture() = 0;
    // The main window sizes itself for this Normal picture height in the current state.
    virtual void ResizeFrame(int normalPictureHeight) = 0;
    // The main window lays itself out again after a switch to Horizontal or Vertical.
    virtual void RelayoutFrame() = 0;
    virtual void Repaint() = 0;
};

class KeyboardSwitcher {
public:
    KeyboardSwitcher(AppSettings& settings, KeyboardSwitchPort& port)
        : settings_(settings), port_(port) {}
    KeyboardSwitcher(const KeyboardSwitcher&) = delete;
    KeyboardSwitcher& operator=(const KeyboardSwitcher&) = delete;

    // Switches to the state unless it is the current one or not allowed; true if it switched.
    bool SetState(KeyboardState state);
    // One size smaller or larger if that size is available for the current state.
    bool SizeDown();
    bool SizeUp();
    // The system key's tap: back to Normal from the other states, else the other side.
    void TapSystemKey(std::uint8_t& letterSide);
    // The busy picture goes on or off, in Normal state and not while a number picture shows.
    bool ToggleBusyKeyboard(int shownPicture);
    // Uses a size: saved, the pictures reloaded, the main window resized.
    void ApplySize(int size);

    AvailableSizes available{};
    // Set once the user resized the keyboard with its grip: state switches then leave the main
    // window's size alone.
    bool stretched = false;

private:
    static int NormalHeight(int size);

    AppSettings& settings_;
    KeyboardSwitchPort& port_;
};

} // namespace gw
