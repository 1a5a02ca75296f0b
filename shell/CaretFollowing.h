#pragma once
// The main frame's handling of the hook events from other programs: which steps an event
// calls for (tracking the foreground window, minimizing, the click and caret steps), and caret
// following, which keeps the keyboard window just below the focused program's caret, centred
// on it, once the user has docked the window there. Rectangles are screen pixels with right
// and bottom exclusive.
#include "keyboard/KeyboardModel.h"
#include "shell/DialogGeometry.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace gw {

// What the last typed character is, for whether the window may move sideways after it.
enum class CharacterClass { kLetterOrDigit, kSpaceOrPunctuation, kOther };
using CharacterClassifier = std::function<CharacterClass(char16_t)>;

// The steps one hook event calls for; the frame takes them in this order.
struct HookEventSteps {
    bool trackForeground = false; // TrackForegroundWindow, only if the event's window still exists
    bool minimize = false;        // WM_SYSCOMMAND SC_MINIMIZE to the frame
    bool clickStep = false;       // the click's own part; its closing caret step is caretStep
    bool caretStep = false;
    bool operator==(const HookEventSteps&) const = default;
};

class CaretFollowing {
public:
    // Plans one event by its message number (Win32 values). WM_CHAR records its wParam as the
    // last typed character and plans nothing. On WM_KEYUP with following on and a key that
    // gives a character, the last typed character decides this event's caret step: none typed
    // plans nothing; otherwise classify (called only then) sets whether the window may move
    // sideways, and the character is forgotten. Every other event's caret step may move the
    // window sideways.
    HookEventSteps PlanEvent(std::uint32_t message, std::uint32_t wParam, bool followCaret,
                             bool keyGivesCharacter, const CharacterClassifier& classify);

    // The caret step of the event planned last. eventPoint is the event's caret in client
    // coordinates of its window (both 0 or less: no caret, nothing changes), clientOrigin that
    // client area's top-left on the screen. Records caretPosition; while following is engaged
    // and the window not minimized, returns where to move the keyboard window (window) so that
    // it sits below the caret inside the work area horizontally, or ends following when that
    // would pass the bottom of the work area.
    std::optional<PixelRect> CaretStep(Point eventPoint, Point clientOrigin, bool followCaret,
                                       bool minimized, const PixelRect& window,
                                       const PixelRect& work);

    // After a move of the keyboard window that is not minimized: following engages when the
    // window sits just below the last caret, centred on it, and ends otherwise.
    void Dock(const PixelRect& window, bool followCaret);

    std::uint32_t lastTypedChar = 0; // 0 = none
    bool followEngaged = false;
    Point caretPosition;  // screen
    Point followPosition; // where an engaged window returns after a resize; (0, 0) = none

private:
    bool wordBreak_ = false;
    bool moveSideways_ = true;
};

} // namespace gw
