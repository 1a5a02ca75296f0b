// The engine's decision: what a classified stroke on each key area does.
#include "keyboard/CharacterEngine.h"

namespace gw {

namespace {

constexpr char16_t kZeroWidthNonJoiner = 0x200C;

// Virtual keys the decision sends directly.
namespace key {
constexpr std::uint8_t kPageUp = 0x21, kPageDown = 0x22, kEnd = 0x23, kHome = 0x24;
constexpr std::uint8_t kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28;
constexpr std::uint8_t kInsert = 0x2D, kDelete = 0x2E, kApps = 0x5D, kEscape = 0x1B;
constexpr std::uint8_t kF1 = 0x70;
} // namespace key

constexpr std::uint8_t FunctionKey(int number) {
    return static_cast<std::uint8_t>(key::kF1 + number - 1);
}

struct DirectionAndKind {
    int direction;
    int kind;
};

// On a key, a returned stroke gives the second character of its direction, and a circle the
// second character of the centre.
DirectionAndKind KeyStroke(const StrokeClassification& stroke) {
    if (!stroke.returned)
        return {stroke.direction, 0};
    return {stroke.circle ? kCenter : stroke.direction, 1};
}

} // namespace

bool CharacterEngine::Decide(const StrokeClassification& stroke) {
    output_.holdMode = stroke_.HoldMode();
    output_.releaseMode = stroke_.ReleaseMode();
    if (stroke.bigCircle) {
        ToggleExtensionKeyboard();
        return true;
    }
    const bool longDragPending = stroke_.TakeLongDragPending();
    output_.caseForced = 0;
    switch (stroke.area) {
    case kLetterGrid:
    case kNumberGrid:
        return DecideGrid(stroke, longDragPending);
    case kSpaceArea:
        return DecideSpaceArea(stroke);
    case kEnterArea:
        return TypeSlot(kLetterSide, 3, kNE, 0);
    case kBackspaceArea:
        if (stroke.straight && stroke.fourWay == 0)
            return SendKey(key::kDelete);
        return TypeSlot(kLetterSide, 7, kSW, 0);
    case kZeroKeyArea:
        return DecideZeroKey(stroke);
    case kEditingArea:
        return DecideEditingArea(stroke);
    case kNavigationArea:
        return DecideNavigationArea(stroke);
    case kFunctionArea:
        return DecideFunctionArea(stroke);
    case kSystemArea:
        return DecideSystemArea(stroke);
    default:
        return false;
    }
}

bool CharacterEngine::DecideGrid(const StrokeClassification& stroke, bool longDragPending) {
    if (stroke.key < 1 || stroke.key > 9)
        return false;
    auto [direction, kind] = KeyStroke(stroke);
    const int side = stroke.area == kNumberGrid ? kNumberSide : kLetterSide;
    if (layout_.Slot(side, stroke.key, direction, 0).letterPair) {
        const bool shiftDown = keys_.IsKeyDown(vk::kShift);
        if (keys_.IsKeyToggled(vk::kCapital)) {
            output_.caseForced = 1;
            if (!shiftDown)
                kind = 1 - kind;
        } else if (shiftDown || output_.shiftMode == kShiftOneShot ||
                   output_.shiftMode == kShiftCaps) {
            output_.caseForced = 1;
            kind = 1 - kind;
        }
    }
    if (longDragPending && stroke.straight) {
        // The drag went beyond the macro distance: type the key's macro instead.
        ResetMatch();
        OnTypedChar(SlotCharacter(side, stroke.key, direction, kind));
        if (macros_)
            macros_->RecallMacro(false, false);
        return false;
    }
    return TypeSlot(side, stroke.key, direction, kind);
}

bool CharacterEngine::DecideSpaceArea(const StrokeClassification& stroke) {
    if (stroke.straight) {
        switch (stroke.fourWay) {
        case 0:
            return SendKey(key::kDelete);
        case 1:
            if (!ReleaseMode() && view_)
                view_->ToggleBusyKeyboard();
            return false;
        case 2:
            return TypeSlot(kLetterSide, 7, kSW, 0);
        default:
            return TypeSlot(kLetterSide, 3, kNE, 0);
        }
    }
    if (stroke.circle)
        return TypeCharacter(kZeroWidthNonJoiner);
    return TypeSlot(kLetterSide, 9, kSE, 0);
}

bool CharacterEngine::DecideZeroKey(const StrokeClassification& stroke) {
    const auto [direction, kind] = KeyStroke(stroke);
    return TypeBottomSlot(direction, kind);
}

bool CharacterEngine::DecideEditingArea(const StrokeClassification& stroke) {
    if (stroke.straight) {
        switch (stroke.direction) {
        case kE:
            return CtrlLetter(u'c');
        case kNE:
            ToggleLatch(output_.ctrlState, vk::kControl, false);
            return false;
        case kN:
            return SendKey(key::kPageUp);
        case kNW:
            ToggleLatch(output_.altState, vk::kMenu, false);
            return false;
        case kW:
            return CtrlLetter(u'z');
        case kSW:
            return CtrlLetter(u'x');
        case kS:
            return SendKey(key::kPageDown);
        default:
            return CtrlLetter(u'v');
        }
    }
    if (stroke.isShort) {
        if (!ReleaseMode() && macros_)
            macros_->RecallMacro(true, true);
        return false;
    }
    if (stroke.circle)
        return CtrlLetter(u'a');
    switch (stroke.direction) {
    case kNE:
        ToggleLatch(output_.ctrlState, vk::kControl, true);
        return false;
    case kN:
        return CtrlKey(key::kHome);
    case kNW:
        ToggleLatch(output_.altState, vk::kMenu, true);
        return false;
    case kW:
        return CtrlLetter(u'y');
    case kS:
        return CtrlKey(key::kEnd);
    default:
        return false;
    }
}

bool CharacterEngine::DecideNavigationArea(const StrokeClassification& stroke) {
    if (stroke.straight) {
        static constexpr std::uint8_t kStraightKeys[8] = {
            key::kRight, FunctionKey(2), key::kUp,   FunctionKey(1),
            key::kLeft,  FunctionKey(3), key::kDown, FunctionKey(4)};
        return SendKey(kStraightKeys[stroke.direction]);
    }
    if (!stroke.returned || stroke.circle)
        return false;
    switch (stroke.direction) {
    case kE:
        return SendKey(key::kEnd);
    case kN:
        return CtrlKey(key::kHome);
    case kW:
        return SendKey(key::kHome);
    case kS:
        return CtrlKey(key::kEnd);
    default:
        return false;
    }
}

bool CharacterEngine::DecideFunctionArea(const StrokeClassification& stroke) {
    if (stroke.straight) {
        static constexpr int kStraightKeys[8] = {9, 7, 6, 5, 8, 10, 11, 12};
        return SendKey(FunctionKey(kStraightKeys[stroke.direction]));
    }
    if (stroke.isShort)
        return SendKey(key::kEscape);
    return false;
}

bool CharacterEngine::DecideSystemArea(const StrokeClassification& stroke) {
    const bool viewAction = !ReleaseMode() && view_ != nullptr;
    if (stroke.straight) {
        switch (stroke.direction) {
        case kE:
            if (viewAction)
                view_->SetKeyboardStateHorizontal();
            return false;
        case kNE:
            return SendKey(key::kInsert);
        case kN:
            if (viewAction)
                view_->SetKeyboardStateVertical();
            return false;
        case kNW:
            if (viewAction)
                view_->SizeDown();
            return false;
        case kSW:
            WindowsKey(false);
            return false;
        case kS:
            return SendKey(key::kApps);
        case kSE:
            if (viewAction)
                view_->SizeUp();
            return false;
        default:
            return false;
        }
    }
    if (stroke.isShort) {
        if (viewAction)
            view_->TapSystemKey();
    } else if (stroke.returned && !stroke.circle && stroke.direction == kSW) {
        WindowsKey(true);
    }
    return false;
}

} // namespace gw
