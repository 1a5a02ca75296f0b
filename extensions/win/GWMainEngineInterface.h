#pragma once
// The character engine as extension libraries see it. Extensions compile against this header;
// the order of the operations is part of the contract and never changes.
#include "framework/win/Window.h"

class CGWMainEngineInterface : public CWnd {
public:
    // Strokes in engine units of the area (100 per cell); external: the points come from the
    // extension's own device rather than the mouse.
    virtual void StrokeStart(int area, int x, int y, unsigned char external) = 0;
    virtual void StrokeMove(int x, int y, unsigned char external) = 0;
    virtual void StrokeEnd(int x, int y, unsigned char external) = 0;
    virtual void RestartIdleTimer() = 0;
    // Bit index of the allowed keyboard states: 0 Normal, 1 Horizontal, 2 Vertical.
    virtual void SetStateAllowed(int index, unsigned char on) = 0;
    virtual void SetKeyboardStateHorizontal() = 0;
    virtual void SetKeyboardStateVertical() = 0;
    virtual void SetKeyboardStateNormal() = 0;
    virtual unsigned char GetLetterSide() = 0;
    virtual void SetLetterSide(unsigned char letterSide) = 0;
    virtual void SetExternalPointer(unsigned char external) = 0;
    virtual unsigned char GetExternalPointer() = 0;
    // The application object; valid while the extension is installed.
    virtual void* GetApplication() = 0;
    // The keyboard view adopts the cursor and shows it at once.
    virtual void SetViewCursor(HCURSOR cursor) = 0;
};

// What an extension library exports, by these names, with C linkage and the default calling
// convention. The program calls them on its user-interface thread only:
// - SetupCursors (optional) first, with the library's own module;
// - InstallKeyboard: true when the device is there and running;
// - SetGWEngine: the engine, valid until UninstallKeyboard returns;
// - TurnOnKeyboard and TurnOffKeyboard: the user switches the extension's keyboard on and off;
// - at the end TurnOffKeyboard, then UninstallKeyboard (its result is not used).
// An extension whose device reports on another thread hands the data over to that thread
// before it calls the engine, which has no lock.
extern "C" {
using SetupCursorsFunction = bool (*)(HINSTANCE module);
using InstallKeyboardFunction = bool (*)();
using SetGWEngineFunction = void (*)(CGWMainEngineInterface* engine);
using TurnOnKeyboardFunction = void (*)();
using TurnOffKeyboardFunction = void (*)();
using UninstallKeyboardFunction = bool (*)();
}

#define GW_EXTENSION_EXPORT extern "C" __declspec(dllexport)
