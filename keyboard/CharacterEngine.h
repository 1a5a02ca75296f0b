#pragma once
// The character engine: maps each classified stroke to its effect (a character of the layout,
// a special key, a modifier toggle, a switch of state, size or side, a macro recall, or the
// combination of the last two characters), and owns the modifier state machines and the
// typing history they work on.
#include "hook/HookEvent.h"
#include "keyboard/CombineList.h"
#include "keyboard/KeyboardModel.h"
#include "keyboard/KeystrokeOutput.h"
#include "keyboard/StrokeRecognizer.h"
#include "shell/Settings.h"
#include "shell/Timers.h"

#include <cstdint>
#include <optional>

namespace gw {

// The keyboard view as the engine calls it back.
class EngineViewPort : public OutputViewPort {
public:
    virtual void MoveCursorTo(int area, Point units) = 0;
    virtual void AddTracePoint(int area, Point units) = 0;
    virtual void ClearTrace() = 0;
    virtual void SetExternalStrokeFlag() = 0;
    virtual void ClearExternalStrokeFlag() = 0;
    virtual void RefreshView() = 0;

    virtual void SetKeyboardStateHorizontal() = 0;
    virtual void SetKeyboardStateVertical() = 0;
    virtual void SetKeyboardStateNormal() = 0;
    virtual void ToggleBusyKeyboard() = 0;
    virtual void TapSystemKey() = 0;
    virtual void SizeDown() = 0;
    virtual void SizeUp() = 0;
    virtual void InvalidateArea(int area) = 0;
    virtual void UpdatePicture() = 0;
    // The big circle: the first loaded extension's keyboard goes on or off.
    virtual void ExtensionKeyboardOn() = 0;
    virtual void ExtensionKeyboardOff() = 0;
    // The idle timer fired: minimize the main window.
    virtual void MinimizeMainWindow() = 0;
};

// The macro store as the engine drives it.
class MacroRecallPort : public MacroPreviewPort {
public:
    // True when content was typed out.
    virtual bool RecallMacro(bool openDialog, bool erase) = 0;
};

// Shift indicator values: what the picture shows.
enum ShiftIndicator : std::uint32_t {
    kIndicatorLower = 0,
    kIndicatorOneShot = 1,
    kIndicatorCaps = 2
};

class CharacterEngine : private StrokeDecider, private StrokeViewPort, private MacroPreviewPort {
public:
    static constexpr std::uint32_t kAllStates = 0b111;

    CharacterEngine(const KeyboardLayout& layout, const KeyGeometry& geometry,
                    const CombineList& combines, KeyEventPort& events, KeyStatePort& keys,
                    TimerPort& timers);
    CharacterEngine(const CharacterEngine&) = delete;
    CharacterEngine& operator=(const CharacterEngine&) = delete;

    // The view and the macro store may be absent (nullptr).
    void SetView(EngineViewPort* view);
    void SetMacroStore(MacroRecallPort* macros) { macros_ = macros; }
    EngineViewPort* View() const { return view_; }

    // Strokes, in engine units of the stroke's area.
    void StrokeStart(int area, Point units, bool external) { stroke_.Start(area, units, external); }
    void StrokeMove(Point units, bool external) { stroke_.Move(units, external); }
    void StrokeEnd(Point units, bool external) { stroke_.End(units, external); }
    void OnKeyDelayTimer() { stroke_.OnKeyDelayTimer(); }
    void OnRepeatTimer() { stroke_.OnRepeatTimer(); }
    void OnIdleTimer();
    void RestartIdleTimer() override;

    // The system's keyboard delay (0..3) and repeat speed (0..31) settings.
    void SetKeyboardTiming(int delaySetting, int speedSetting);
    // Applies the engine's settings and the application's circle ratio to the stroke logic.
    void ApplySettings(const EngineSettings& engineSettings, double circleAreaRatio);
    const EngineSettings& Settings() const { return settings_; }

    // Mirrors the real Shift, Ctrl, Alt and Caps Lock keys from the typing in other programs.
    void OnHookEvent(const HookEvent& event);
    // Releases Alt and Ctrl if the keyboard holds them down; the engine is going away.
    void Shutdown();

    void SetStateAllowed(int state, bool on);
    bool IsStateAllowed(int state) const { return (allowedStates_ >> state) & 1u; }

    // The typing history; the frame clears it when the user clicks into another window.
    void ClearHistory() { previous_ = last_ = 0; }

    const StrokeRecognizer& Stroke() const { return stroke_; }
    // The macro store types its content through the same output.
    KeystrokeOutput& Keystrokes() { return keystrokes_; }
    KeyStatePort& Keys() { return keys_; }
    const OutputState& Modifiers() const { return output_; }
    std::uint32_t shiftIndicator = kIndicatorLower;
    std::uint8_t letterSide = 1;
    std::uint8_t externalPointer = 0;
    std::uint8_t extensionKeyboard = 0;

    char16_t Previous() const { return previous_; }
    char16_t Last() const { return last_; }

private:
    enum ShiftEvent { kShiftGesture = 0, kShiftCancel = 1, kCharTyped = 2, kBackspaceTyped = 3 };

    // StrokeDecider
    bool Decide(const StrokeClassification& stroke) override;
    // StrokeViewPort, forwarded to the view when there is one
    bool HasView() const override { return view_ != nullptr; }
    void MoveCursorTo(int area, Point units) override;
    void AddTracePoint(int area, Point units) override;
    void ClearTrace() override;
    void SetExternalStrokeFlag() override;
    void ClearExternalStrokeFlag() override;
    void RefreshView() override;
    // MacroPreviewPort, forwarded to the macro store when there is one
    std::u16string TypedBuffer() const override;
    void ResetMatch() override;
    void OnTypedChar(char16_t ch) override;
    bool MatchShown() const override;

    bool DecideGrid(const StrokeClassification& stroke, bool longDragPending);
    bool DecideSpaceArea(const StrokeClassification& stroke);
    bool DecideEditingArea(const StrokeClassification& stroke);
    bool DecideNavigationArea(const StrokeClassification& stroke);
    bool DecideFunctionArea(const StrokeClassification& stroke);
    bool DecideSystemArea(const StrokeClassification& stroke);
    bool DecideZeroKey(const StrokeClassification& stroke);

    // Resolves and sends a slot of the layout (side kLetterSide/kNumberSide), of the bottom key
    // (zero key area) or a character of an area action (side -1).
    bool TypeSlot(int side, int key, int direction, int kind);
    bool TypeBottomSlot(int direction, int kind);
    bool TypeCharacter(char16_t ch);
    void SendResolved(const CharacterSlot& slot, char16_t ch);
    char16_t Resolve(std::optional<char16_t> override, int side, int key, int direction, int kind,
                     const CharacterSlot& slot);
    char16_t ResolveTypedCharacter(char16_t ch);
    char16_t SlotCharacter(int side, int key, int direction, int kind) const;

    bool SendKey(std::uint8_t virtualKey);
    bool CtrlLetter(char16_t letter);
    bool CtrlKey(std::uint8_t virtualKey);
    void ToggleLatch(std::uint32_t& latch, std::uint8_t virtualKey, bool opposite);
    void WindowsKey(bool opposite);
    void ShiftGesture(int kind);
    void OnShiftEvent(ShiftEvent event);
    void ExplicitCombine();
    void ToggleExtensionKeyboard();
    bool Immediate(bool opposite) const {
        return (settings_.shiftCtrlAltDragAction != 0) != opposite;
    }
    bool ReleaseMode() const { return output_.releaseMode != 0; }
    // Key 6 up and down are the Shift gestures, key 1 up-left the combine gesture.
    static bool IsGestureKey(int key, int direction) {
        return (key == 6 && (direction == kN || direction == kS)) || (key == 1 && direction == kNW);
    }

    const KeyboardLayout& layout_;
    const CombineList& combines_;
    KeyStatePort& keys_;
    TimerPort& timers_;
    OutputState output_;
    KeystrokeOutput keystrokes_;
    StrokeRecognizer stroke_;
    EngineSettings settings_;
    EngineViewPort* view_ = nullptr;
    MacroRecallPort* macros_ = nullptr;
    std::uint32_t allowedStates_ = kAllStates;

    char16_t previous_ = 0;
    char16_t last_ = 0;
    char16_t undoFirst_ = 0; // set right after an auto-combine
    char16_t undoSecond_ = 0;
};

} // namespace gw
