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
