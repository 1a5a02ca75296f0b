// The main frame's hook-event plan and caret following: which steps each message calls for,
// how the last typed character decides a sideways move, the caret step's moves and stops,
// and docking under the caret.
#include "shell/CaretFollowing.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace gw {
namespace {

// Win32 message numbers, written out here so a wrong one in the code shows.
constexpr std::uint32_t kSetFocus = 0x0007;
constexpr std::uint32_t kSetCursor = 0x0020;
constexpr std::uint32_t kKeyDown = 0x0100;
constexpr std::uint32_t kKeyUp = 0x0101;
constexpr std::uint32_t kChar = 0x0102;
constexpr std::uint32_t kSysCommand = 0x0112;
constexpr std::uint32_t kHScroll = 0x0114;
constexpr std::uint32_t kVScroll = 0x0115;
constexpr std::uint32_t kMouseMove = 0x0200;
constexpr std::uint32_t kLButtonDown = 0x0201;
constexpr std::uint32_t kLButtonUp = 0x0202;
constexpr std::uint32_t kRButtonUp = 0x0205;
constexpr std::uint32_t kMButtonUp = 0x0208;
constexpr std::uint32_t kMouseWheel = 0x020A;
constexpr std::uint32_t kScMinimize = 0xF020;
constexpr std::uint32_t kScScreenSave = 0xF140;

CharacterClass Classify(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'))
        return CharacterClass::kLetterOrDigit;
    if (c == u' ' || c == u'.' || c == u',')
        return CharacterClass::kSpaceOrPunctuation;
    return CharacterClass::kOther;
}

HookEventSteps Plan(CaretFollowing& following, std::uint32_t message, std::uint32_t wParam = 0,
                    bool followCaret = true, bool keyGivesCharacter = true) {
    return following.PlanEvent(message, wParam, followCaret, keyGivesCharacter, Classify);
}

std::string Describe(const HookEventSteps& s) {
    return std::string(s.trackForeground ? "track " : "") + (s.minimize ? "minimize " : "") +
           (s.clickStep ? "click " : "") + (s.caretStep ? "caret" : "");
}

TEST(CaretFollowingPlan, EachMessageCallsForItsSteps) {
    constexpr HookEventSteps kNothing{};
    constexpr HookEventSteps kCaret{false, false, false, true};
    constexpr HookEventSteps kClick{false, false, true, true};
    struct Case {
        const char* what;
        std::uint32_t message;
        std::uint32_t wParam;
        HookEventSteps steps;
    };
    const Case cases[] = {
        {"WM_SETFOCUS", kSetFocus, 0, {true, false, false, true}},
        {"WM_SETCURSOR", kSetCursor, 0, {true, false, true, true}},
        {"WM_LBUTTONUP", kLButtonUp, 0, kClick},
        {"WM_RBUTTONUP", kRButtonUp, 0, kClick},
        {"WM_MBUTTONUP", kMButtonUp, 0, kClick},
        {"WM_HSCROLL", kHScroll, 0, kCaret},
        {"WM_VSCROLL", kVScroll, 0, kCaret},
        {"WM_MOUSEWHEEL", kMouseWheel, 0, kCaret},
        {"SC_SCREENSAVE", kSysCommand, kScScreenSave, {false, true, false, true}},
        {"SC_SCREENSAVE, low bits set",
         kSysCommand,
         kScScreenSave | 0x2,
         {false, true, false, true}},
        {"SC_MINIMIZE", kSysCommand, kScMinimize, kCaret},
        {"WM_KEYDOWN", kKeyDown, 'A', kNothing},
        {"WM_MOUSEMOVE", kMouseMove, 0, kNothing},
        {"WM_LBUTTONDOWN", kLButtonDown, 0, kNothing},
        {"WM_CHAR", kChar, 'x', kNothing},
    };
    for (const Case& c : cases) {
        CaretFollowing following;
        following.lastTypedChar = 'q';
        const HookEventSteps steps = Plan(following, c.message, c.wParam);
        EXPECT_EQ(steps, c.steps) << c.what << ": got " << Describe(steps);
        // Only WM_CHAR records a typed character; the others leave it alone.
        EXPECT_EQ(following.lastTypedChar, c.message == kChar ? c.wParam : 'q') << c.what;
    }
}

TEST(CaretFollowingPlan, KeyUpReadsTheLastTypedCharacterOnlyWhenFollowing) {
    struct Case {
        const char* what;
        bool followCaret;
        bool keyGivesCharacter;
        std::uint32_t typed;
        bool caretStep;
        bool classified;
        std::uint32_t typedAfter;
    };
    const Case cases[] = {
        {"following off", false, true, 'a', true, false, 'a'},
        {"key without a character", true, false, 'a', true, false, 'a'},
        {"nothing typed", true, true, 0, false, false, 0},
        {"a typed character", true, true, 0x00E9, true, true, 0},
    };
    for (const Case& c : cases) {
        CaretFollowing following;
        following.lastTypedChar = c.typed;
        std::vector<char16_t> seen;
        const auto recordingClassify = [&seen](char16_t ch) {
            seen.push_back(ch);
            return Classify(ch);
        };
        const HookEventSteps steps =
            following.PlanEvent(kKeyUp, 'A', c.followCaret, c.keyGivesCharacter, recordingClassify);
        EXPECT_EQ(steps, (HookEventSteps{false, false, false, c.caretStep})) << c.what;
        EXPECT_EQ(seen, c.classified ? std::vector<char16_t>{u'\u00E9'} : std::vector<char16_t>{})
            << c.what;
        EXPECT_EQ(following.lastTypedChar, c.typedAfter) << c.what;
    }
}

// A work area away from the screen's origin, a keyboard window of odd width (201 x 150, so
// half is 100) and an event window whose client area starts at (30, 40) on the screen.
constexpr PixelRect kWork = {100, 50, 1124, 818};
constexpr PixelRect kWindow = {400, 300, 601, 450};
constexpr Point kOrigin = {30, 40};

// The caret step for a caret at the given screen point.
std::optional<PixelRect> StepAt(CaretFollowing& following, Point screen,
                                const PixelRect& window = kWindow) {
    return following.CaretStep({screen.x - kOrigin.x, screen.y - kOrigin.y}, kOrigin, true, false,
                               window, kWork);
}

CaretFollowing Engaged() {
    CaretFollowing following;
    following.followEngaged = true;
    return following;
}

TEST(CaretFollowingStep, TheLastTypedCharacterDecidesASidewaysMove) {
    struct Case {
        const char* what;
        char16_t typed;
        std::uint32_t message; // the event whose caret step moves the window
        int caretX;
        int left;
    };
    const Case cases[] = {
        {"letter: vertically only", u'a', kKeyUp, 250, 400},
        {"digit: vertically only", u'7', kKeyUp, 900, 400},
        {"space, caret left of the window", u' ', kKeyUp, 300, 200},
        {"space, caret on the window's left edge", u' ', kKeyUp, 400, 300},
        {"space, caret within the window's span", u' ', kKeyUp, 550, 400},
        {"punctuation, caret within the span", u'.', kKeyUp, 600, 400},
        {"space, caret on the window's right edge", u' ', kKeyUp, 601, 501},
        {"other character, caret within the span", u'\u00E9', kKeyUp, 550, 450},
        {"a scroll after a letter's key-up", u'a', kVScroll, 550, 450},
    };
    for (const Case& c : cases) {
        CaretFollowing following = Engaged();
        Plan(following, kChar, c.typed);
        Plan(following, kKeyUp);
        if (c.message != kKeyUp)
            Plan(following, c.message);
        const auto moved = StepAt(following, {c.caretX, 500});
        ASSERT_TRUE(moved.has_value()) << c.what;
        EXPECT_EQ(*moved, (PixelRect{c.left, 520, c.left + 201, 670})) << c.what;
        EXPECT_EQ(following.caretPosition, (Point{c.caretX, 500})) << c.what;
        EXPECT_TRUE(following.followEngaged) << c.what;
    }
}

TEST(CaretFollowingStep, NoCaretOrNoFollowingMovesNothing) {
    struct Case {
        const char* what;
        Point eventPoint;
        bool followCaret;
        bool engaged;
        bool minimized;
        bool caretRecorded;
    };
    const Case cases[] = {
        {"no caret", {0, 0}, true, true, false, false},
        {"caret left of the client area", {-5, 0}, true, true, false, false},
        {"caret above the client area", {0, -3}, true, true, false, false},
        {"following off", {70, 60}, false, true, false, true},
        {"not engaged", {70, 60}, true, false, false, true},
        {"minimized", {70, 60}, true, true, true, true},
    };
    for (const Case& c : cases) {
        CaretFollowing following;
        following.followEngaged = c.engaged;
        following.caretPosition = {7, 8};
        Plan(following, kVScroll);
        EXPECT_EQ(
            following.CaretStep(c.eventPoint, kOrigin, c.followCaret, c.minimized, kWindow, kWork),
            std::nullopt)
            << c.what;
        EXPECT_EQ(following.caretPosition, (c.caretRecorded ? Point{100, 100} : Point{7, 8}))
            << c.what;
        EXPECT_EQ(following.followEngaged, c.engaged) << c.what;
    }
    // A caret on the client area's left edge is still a caret.
    CaretFollowing following = Engaged();
    EXPECT_TRUE(following.CaretStep({0, 5}, kOrigin, true, false, kWindow, kWork).has_value());
    EXPECT_EQ(following.caretPosition, (Point{30, 45}));
}

TEST(CaretFollowingStep, TheWindowStaysInsideTheWorkAreaHorizontally) {
    constexpr int kMax = std::numeric_limits<int>::max();
    struct Case {
        const char* what;
        Point eventPoint;
        PixelRect window;
        int left;
    };
    const Case cases[] = {
        {"centred under the caret", {470, 460}, kWindow, 400},
        {"near the left edge", {120, 460}, kWindow, 100},
        {"near the right edge", {1050, 460}, kWindow, 1124 - 201},
        {"caret at the end of the range", {kMax, 460}, kWindow, 1124 - 201},
        {"wider than the work area", {470, 460}, {0, 300, 1200, 450}, 100},
    };
    for (const Case& c : cases) {
        CaretFollowing following = Engaged();
        Plan(following, kVScroll);
        const auto moved = following.CaretStep(c.eventPoint, kOrigin, true, false, c.window, kWork);
        const int width = c.window.right - c.window.left;
        ASSERT_TRUE(moved.has_value()) << c.what;
        EXPECT_EQ(*moved, (PixelRect{c.left, 520, c.left + width, 670})) << c.what;
    }
}

TEST(CaretFollowingStep, PassingTheWorkAreaBottomEndsFollowingWithoutMoving) {
    CaretFollowing following = Engaged();
    Plan(following, kVScroll);
    // 818 - 150 - 20: the window's bottom lands exactly on the work area's bottom.
    EXPECT_EQ(StepAt(following, {500, 648}), (PixelRect{400, 668, 601, 818}));
    EXPECT_EQ(StepAt(following, {500, 649}), std::nullopt);
    EXPECT_FALSE(following.followEngaged);
    EXPECT_EQ(following.caretPosition, (Point{500, 649}));
    // Following stays off when the caret comes back up.
    EXPECT_EQ(StepAt(following, {500, 300}), std::nullopt);

    CaretFollowing far = Engaged();
    Plan(far, kVScroll);
    EXPECT_EQ(
        far.CaretStep({10, std::numeric_limits<int>::max()}, kOrigin, true, false, kWindow, kWork),
        std::nullopt);
    EXPECT_FALSE(far.followEngaged);
}

TEST(CaretFollowingDock, EngagesOnlyJustBelowTheCaret) {
    // Caret at (500, 280); the window is 201 wide, so half is 100 and the centre left + 100.
    struct Case {
        const char* what;
        int left;
        int top;
        bool followCaret;
        bool engaged;
    };
    const Case cases[] = {
        {"centred 20 below", 400, 300, true, true},
        {"following off", 400, 300, false, false},
        {"centre 99 right of the caret", 499, 300, true, true},
        {"centre 100 right of the caret", 500, 300, true, false},
        {"centre 99 left of the caret", 301, 300, true, true},
        {"centre 100 left of the caret", 300, 300, true, false},
        {"top 49 below the caret", 400, 329, true, true},
        {"top 50 below the caret", 400, 330, true, false},
        {"top 49 above the caret", 400, 231, true, true},
        {"top 50 above the caret", 400, 230, true, false},
    };
    for (const Case& c : cases) {
        for (const bool wasEngaged : {false, true}) {
            CaretFollowing following;
            following.caretPosition = {500, 280};
            following.followEngaged = wasEngaged;
            following.followPosition = {1, 2};
            following.Dock({c.left, c.top, c.left + 201, c.top + 150}, c.followCaret);
            EXPECT_EQ(following.followEngaged, c.engaged) << c.what;
            EXPECT_EQ(following.followPosition, (c.engaged ? Point{400, 300} : Point{1, 2}))
                << c.what;
        }
    }
}

TEST(CaretFollowingDock, DockedWindowFollowsTheCaretUntilDraggedAway) {
    CaretFollowing following;
    Plan(following, kSetFocus);
    EXPECT_EQ(StepAt(following, {500, 280}), std::nullopt); // not engaged yet: only recorded
    following.Dock({410, 310, 611, 460}, true);
    ASSERT_TRUE(following.followEngaged);

    Plan(following, kVScroll);
    EXPECT_EQ(StepAt(following, {540, 330}, {410, 310, 611, 460}), (PixelRect{440, 350, 641, 500}));

    following.Dock({700, 350, 901, 500}, true);
    EXPECT_FALSE(following.followEngaged);
    Plan(following, kVScroll);
    EXPECT_EQ(StepAt(following, {540, 330}, {700, 350, 901, 500}), std::nullopt);
}

} // namespace
} // namespace gw
