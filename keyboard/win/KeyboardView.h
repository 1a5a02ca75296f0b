#pragma once
// The keyboard view: the main window's child that shows the keyboard picture with the modifier
// highlights and the stroke trace, turns mouse input into strokes for the engine, resizes the
// keyboard with its grip, never keeps the keyboard focus, and carries out what the engine asks
// of the view (switches of state, size and side, the picture, the cursor, the trace).
#include "framework/win/Window.h"
#include "keyboard/KeyboardSwitcher.h"
#include "keyboard/win/GWMainEngine.h"
#include "keyboard/win/KeyboardPictures.h"

#include <climits>
#include <string>
#include <vector>

// Sent to the view: an extension's stroke has ended.
constexpr UINT WM_GW_CLEAR_EXTERNAL_STROKE = WM_USER + 4;
// Kept in the view's first extra window word.
constexpr DWORD kKeyboardViewSignature = 0xC4EA2D34;

// What the view needs from the main window it lives in.
class CKeyboardViewHost {
public:
    virtual ~CKeyboardViewHost() = default;
    // Sizes the window for the Normal picture height of a size, in the current keyboard state.
    virtual void ResizeForKeyboard(int normalPictureHeight) = 0;
    // Lays the window out again after a switch to Horizontal or Vertical.
    virtual void RelayoutForState() = 0;
    virtual bool IsMinimized() const = 0;
    // The window being typed into, when no focused window is recorded.
    virtual HWND TargetWindow() const = 0;
    // The frame around the keyboard, for the sizes that fit the work area.
    virtual gw::FrameMargins FrameMargins() const = 0;
    // Writes the whole set of settings.
    virtual void SaveSettings() = 0;
    // The first loaded extension's keyboard goes on or off.
    virtual void ExtensionKeyboardOn() = 0;
    virtual void ExtensionKeyboardOff() = 0;
};

class CKeyboardView : public CWnd, public gw::EngineViewPort, private gw::KeyboardSwitchPort {
public:
    CKeyboardView(gw::AppSettings& settings, const gw::KeyboardLayout& layout,
                  gw::KeyGeometry& geometry, CGWMainEngine& engine, CKeyboardViewHost& host);
    ~CKeyboardView() override;

    // Creates the view as a child of the main window. The languages folder is the full path
    // of the "Languages" folder; the language itself is the settings' one.
    bool Create(HWND parent, UINT id, const std::wstring& languagesFolder,
                DWORD style = WS_CHILD | WS_VISIBLE, DWORD exStyle = WS_EX_NOACTIVATE);
    void SetLanguagesFolder(const std::wstring& languagesFolder);
    // The macro store, for its match-shown indicator; may be absent.
    void SetMacroStore(const gw::MacroPreviewPort* store) { macroStore_ = store; }
    // After a language or size change: reload the pictures and repaint completely.
    void ReloadPictures();
    // After the layout's characters changed (a language was loaded): draw them again.
    void RedrawLayout() {
        pictures_.Forget();
        ReloadPictures();
    }
    // Uses a size (1..6): saved, the pictures reloaded, the main window resized.
    void SelectSize(int size) { switcher_.ApplySize(size); }

    // The window that has the focus in the application being typed into, and its thread, as
    // the focus tracking found them (nullptr and 0 when none).
    void SetFocusedWindow(HWND window, std::uint32_t thread) {
        focusedWindow_ = window;
        focusedThread_ = thread;
    }
    HWND FocusedWindow() const { return focusedWindow_; }
    std::uint32_t GetTargetThread() const { return focusedThread_; }
    // The view adopts the cursor and shows it.
    void SetViewCursor(HCURSOR cursor);
    unsigned char GetExtensionKeyboard() const { return engine_.Engine().extensionKeyboard; }

    // Paints the view as WM_PAINT does into a device context of the client's size.
    void Render(HDC dc) const;
    int CurrentPicture() const { return current_; }
    const CKeyboardPicture* Picture(int picture) const { return pictures_.Get(picture); }
    const gw::AvailableSizes& AvailableSizes() const { return switcher_.available; }
    bool IsStretched() const { return switcher_.stretched; }
    bool IsSizing() const { return sizing_; }
    // The trace in picture pixels.
    const std::vector<gw::Point>& Trace() const { return trace_; }

    // gw::OutputViewPort
    std::uint32_t FocusedWindowThread() const override { return focusedThread_; }
    void InvalidateEditingArea() override { InvalidateArea(gw::kEditingArea); }
    void InvalidateView() override;
    // gw::EngineViewPort
    void MoveCursorTo(int area, gw::Point units) override;
    void AddTracePoint(int area, gw::Point units) override;
    void ClearTrace() override;
    void SetExternalStrokeFlag() override { externalStroke_ = true; }
    void ClearExternalStrokeFlag() override;
    void RefreshView() override;
    void SetKeyboardStateHorizontal() override { switcher_.SetState(gw::kHorizontal); }
    void SetKeyboardStateVertical() override { switcher_.SetState(gw::kVertical); }
    void SetKeyboardStateNormal() override { switcher_.SetState(gw::kNormal); }
    void ToggleBusyKeyboard() override { switcher_.ToggleBusyKeyboard(current_); }
    void TapSystemKey() override { switcher_.TapSystemKey(engine_.Engine().letterSide); }
    void SizeDown() override { switcher_.SizeDown(); }
    void SizeUp() override { switcher_.SizeUp(); }
    void InvalidateArea(int area) override;
    void UpdatePicture() override;
    void ExtensionKeyboardOn() override { host_.ExtensionKeyboardOn(); }
    void ExtensionKeyboardOff() override;
    void MinimizeMainWindow() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // gw::KeyboardSwitchPort
    bool IsStateAllowed(int state) const override;
    void SaveSettings() override { host_.SaveSettings(); }
    void LoadPictures() override;
    void ResizeFrame(int normalPictureHeight) override;
    void RelayoutFrame() override { host_.RelayoutForState(); }
    void Repaint() override;

    void OnCreate();
    void OnButtonDown(POINT client);
    void OnMouseMove(POINT client);
    void OnButtonUp(POINT client);
    void OnPaint();
    void GiveFocusBack();
    bool FocusIsBack() const;
    void AllowAllStatesAgain();
    int ChoosePicture() const;
    void ComputeGeometry();
    std::wstring LanguageFolder() const;
    HWND Parent() const { return ::GetParent(GetSafeHwnd()); }

    // Picture pixels and client pixels differ only while the picture is stretched.
    gw::Point ToPicture(POINT client) const;
    POINT ToClient(gw::Point picture) const;
    RECT ToClient(gw::Rect picture) const; // picture rectangle with exclusive edges

    gw::AppSettings& settings_;
    const gw::KeyboardLayout& layout_;
    gw::KeyGeometry& geometry_;
    CGWMainEngine& engine_;
    CKeyboardViewHost& host_;
    gw::KeyboardSwitcher switcher_;
    const gw::MacroPreviewPort* macroStore_ = nullptr;
    std::wstring languagesFolder_;

    CKeyboardPictures pictures_;
    int current_ = gw::kPicLowerCase;
    CPictureSource currentSource_;
    int traceHalfSize_ = 2;
    int traceWidth_ = 2;
    std::vector<gw::Point> trace_;

    bool buttonDown_ = false;
    bool externalStroke_ = false;
    bool sizing_ = false;
    int strokeArea_ = gw::kNoArea;
    POINT lastSizingPoint_{};
    POINT lastEngineCursor_{INT_MIN, INT_MIN};

    HWND focusedWindow_ = nullptr;
    std::uint32_t focusedThread_ = 0;

    HCURSOR normalCursor_ = nullptr;
    HCURSOR strokeCursor_ = nullptr;
    HCURSOR currentCursor_ = nullptr;
};
