#include "shell/CaretFollowing.h"

#include "hook/HookRing.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace gw {

namespace {

// How far below the caret the window's top goes.
constexpr int kBelowCaret = 20;
// How close to that place the window's top must be dropped for following to engage.
constexpr int kDockDistance = 50;

// The caret comes from another program and may be anything a 32-bit value holds.
int Saturate(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

} // namespace

HookEventSteps CaretFollowing::PlanEvent(std::uint32_t message, std::uint32_t wParam,
                                         bool followCaret, bool keyGivesCharacter,
                                         const CharacterClassifier& classify) {
    wordBreak_ = false;
    moveSideways_ = true;
    HookEventSteps steps;
    switch (message) {
    case hookmsg::kSetFocus:
        steps.trackForeground = true;
        steps.caretStep = true;
        break;
    case hookmsg::kSetCursor:
        steps.trackForeground = true;
        steps.clickStep = steps.caretStep = true;
        break;
    case hookmsg::kLButtonUp:
    case hookmsg::kRButtonUp:
    case hookmsg::kMButtonUp:
        steps.clickStep = steps.caretStep = true;
        break;
    case hookmsg::kHScroll:
    case hookmsg::kVScroll:
    case hookmsg::kMouseWheel:
        steps.caretStep = true;
        break;
    case hookmsg::kSysCommand:
        steps.minimize = IsScreenSaverCommand(wParam);
        steps.caretStep = true;
        break;
    case hookmsg::kChar:
        lastTypedChar = wParam;
        break;
    case hookmsg::kKeyUp:
        if (followCaret && keyGivesCharacter) {
            if (lastTypedChar == 0)
                break;
            const CharacterClass kind = classify(static_cast<char16_t>(lastTypedChar));
            wordBreak_ = kind == CharacterClass::kSpaceOrPunctuation;
            moveSideways_ = kind != CharacterClass::kLetterOrDigit;
            lastTypedChar = 0;
        }
        steps.caretStep = true;
        break;
    default:
        break;
    }
    return steps;
}

std::optional<PixelRect> CaretFollowing::CaretStep(Point eventPoint, Point clientOrigin,
                                                   bool followCaret, bool minimized,
                                                   const PixelRect& window, const PixelRect& work) {
    if (eventPoint.x <= 0 && eventPoint.y <= 0)
        return std::nullopt;
    caretPosition = {Saturate(std::int64_t{eventPoint.x} + clientOrigin.x),
                     Saturate(std::int64_t{eventPoint.y} + clientOrigin.y)};
    if (!followCaret || !followEngaged || minimized)
        return std::nullopt;

    // In 64 bits, so a caret at the edge of the range cannot overflow; whatever is returned
    // lies within the work area horizontally and above its bottom.
    const std::int64_t width = std::int64_t{window.right} - window.left;
    const std::int64_t height = std::int64_t{window.bottom} - window.top;
    const std::int64_t half = width / 2;
    std::int64_t x = caretPosition.x;
    const std::int64_t y = std::int64_t{caretPosition.y} + kBelowCaret;
    // After a word break the window stays where it is while the caret is still above it.
    if (wordBreak_ && window.left < x && x < window.right)
        moveSideways_ = false;
    x -= half;

    std::int64_t left = moveSideways_ ? x : window.left;
    if (left < work.left)
        left = work.left;
    else if (left + width > work.right)
        left = work.right - width;
    if (y + height > work.bottom) {
        followEngaged = false;
        return std::nullopt;
    }
    return PixelRect{static_cast<int>(left), static_cast<int>(y), static_cast<int>(left + width),
                     static_cast<int>(y + height)};
}

void CaretFollowing::Dock(const PixelRect& window, bool followCaret) {
    const std::int64_t half = (std::int64_t{window.right} - window.left) / 2;
    const std::int64_t centre = window.left + half;
    followEngaged = followCaret && std::llabs(centre - caretPosition.x) < half &&
                    std::llabs(std::int64_t{window.top} - caretPosition.y) < kDockDistance;
    if (followEngaged)
        followPosition = {Saturate(caretPosition.x - half),
                          Saturate(std::int64_t{caretPosition.y} + kBelowCaret)};
}

} // namespace gw
