#pragma once
// The macro content window: a top-most popup over the keyboard's menu bar that shows the
// content of the macro the typed key matches. A click on it recalls the macro. It never takes
// the activation, so the program being typed into keeps it.
#include "framework/win/Window.h"
#include "macros/MacroStore.h"

class CMacroContentDisplayWnd : public CWnd {
public:
    // Creates the window hidden; it shows the store's matched content.
    bool Create(gw::MacroStore& store, HICON icon);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
    void SetPressed(bool pressed);

    gw::MacroStore* store_ = nullptr;
    bool pressed_ = false;
};
