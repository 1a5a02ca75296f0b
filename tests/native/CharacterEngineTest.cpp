// The character engine end to end: strokes given as points go through classification, the
// decision and the keystroke output into a fake application, whose text the tests read.
#include "keyboard/CharacterEngine.h"

#include "tests/native/FakeKeyboardTarget.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

namespace gw {
namespace {

using testing::FakeKeyboardTarget;

class FakeTimers : public TimerPort {
public:
    void Start(EngineTimer timer, std::uint32_t intervalMs) override {
        running[timer] = true;
        lastInterval[timer] = intervalMs;
    }
    void Stop(EngineTimer timer) override { running[timer] = false; }
    bool IsRunning(EngineTimer timer) const override {
        auto it = running.find(timer);
        return it != running.end() && it->second;
    }
    std::map<EngineTimer, bool> running;
    std::map<EngineTimer, std::uint32_t> lastInterval;
};

class FakeView : public EngineViewPort {
public:
    std::uint32_t FocusedWindowThread() const override { return 1; }
    void InvalidateEditingArea() override {}
    void InvalidateView() override {}
    void MoveCursorTo(int, Point) override {}
    void AddTracePoint(int, Point) override {}
    void ClearTrace() override {}
    void SetExternalStrokeFlag() override {}
    void ClearExternalStrokeFlag() override {}
    void RefreshView() override {}
    void SetKeyboardStateHorizontal() override { calls.push_back("Horizontal"); }
    void SetKeyboardStateVertical() override { calls.push_back("Vertical"); }
    void SetKeyboardStateNormal() override { calls.push_back("Normal"); }
    void ToggleBusyKeyboard() override { calls.push_back("Busy"); }
    void TapSystemKey() override { calls.push_back("TapSystem"); }
    void SizeDown() override { calls.push_back("SizeDown"); }
    void SizeUp() override { calls.push_back("SizeUp"); }
    void InvalidateArea(int) override {}
    void UpdatePicture() override { ++pictureUpdates; }
    void ExtensionKeyboardOn() override { calls.push_back("ExtensionOn"); }
    void ExtensionKeyboardOff() override { calls.push_back("ExtensionOff"); }
    void MinimizeMainWindow() override { calls.push_back("Minimize"); }
    std::vector<std::string> calls;
    int pictureUpdates = 0;
};

// Offsets of one step in each direction, screen y growing downward.
constexpr Point kStep[9] = {{10, 0}, {7, -7}, {0, -10}, {-7, -7}, {-10, 0},
                            {-7, 7}, {0, 10}, {7, 7},   {0, 0}};

class EngineTest : public ::testing::Test {
protected:
    EngineTest() {
        geometry.Compute(180, 180, kNormal, true);
        engine.SetView(&view);
    }

    static Point KeyCentre(int key) { return {(key - 1) % 3 * 100 + 50, (key - 1) / 3 * 100 + 50}; }

    void Stroke(int area, const std::vector<Point>& points) {
        engine.StrokeStart(area, points.front(), false);
        for (std::size_t i = 1; i + 1 < points.size(); ++i)
            engine.StrokeMove(points[i], false);
        engine.StrokeEnd(points.back(), false);
    }
    void Tap(int area, int key = 1) {
        Point p = area == kLetterGrid || area == kNumberGrid ? KeyCentre(key) : Point{50, 50};
        Stroke(area, {p, p});
    }
    std::vector<Point> Line(Point from, int direction, int steps) {
        std::vector<Point> points{from};
        for (int i = 1; i <= steps; ++i)
            points.push_back({from.x + kStep[direction].x * i, from.y + kStep[direction].y * i});
        return points;
    }
    void Drag(int area, int key, int direction) {
        Point from = area == kLetterGrid || area == kNumberGrid ? KeyCentre(key) : Point{50, 50};
        Stroke(area, Line(from, direction, 6));
    }
    void DragReturn(int area, int key, int direction) {
        Point from = area == kLetterGrid || area == kNumberGrid ? KeyCentre(key) : Point{50, 50};
        std::vector<Point> points = Line(from, direction, 6);
        for (int i = 5; i >= 0; --i)
            points.push_back(points[static_cast<std::size_t>(i)]);
        Stroke(area, points);
    }
    void Circle(int area, int key, int radius = 30) {
        Point from = area == kLetterGrid || area == kNumberGrid ? KeyCentre(key) : Point{50, 50};
        std::vector<Point> points;
        for (int i = 0; i <= 24; ++i) {
            const double a = i * 2 * 3.14159265358979 / 24;
            points.push_back({from.x + static_cast<int>(std::lround(radius * (std::cos(a) - 1))),
                              from.y + static_cast<int>(std::lround(radius * std::sin(a)))});
        }
        points.back() = from;
        Stroke(area, points);
    }
    void TapLetters(const char* keys) {
        for (const char* k = keys; *k; ++k)
            Tap(kLetterGrid, *k - '0');
    }

    KeyboardLayout layout;
    KeyGeometry geometry;
    CombineList combines{BuiltInCombineList().begin(), BuiltInCombineList().end()};
    FakeKeyboardTarget target;
    FakeTimers timers;
    FakeView view;
    CharacterEngine engine{layout, geometry, combines, target, target, timers};
};

TEST_F(EngineTest, TapsDragsReturnsAndCirclesTypeTheirSlots) {
    Tap(kLetterGrid, 5);             // o
    Drag(kLetterGrid, 5, kE);        // b
    Drag(kLetterGrid, 2, kS);        // l
    DragReturn(kLetterGrid, 5, kNE); // P
    Circle(kLetterGrid, 9);          // S
    Drag(kLetterGrid, 9, kN);        // & (a shifted key)
    Drag(kLetterGrid, 3, kSE);       // € (no US key: Unicode)
    Tap(kNumberGrid, 4);             // 4
    DragReturn(kNumberGrid, 9, kNE); // º
    EXPECT_EQ(target.text, u"oblPS&\u20AC4\u00BA");
    EXPECT_TRUE(target.KeysDown().empty());
}

TEST_F(EngineTest, StrokeBelongsToTheKeyItStartedOn) {
    // From key 5 eastward far into key 6: still key 5's east character.
    Stroke(kLetterGrid, Line(KeyCentre(5), kE, 12));
    EXPECT_EQ(target.text, u"b");
}

TEST_F(EngineTest, SpaceEnterAndBackspaceAreas) {
    Tap(kSpaceArea);
    Circle(kSpaceArea, 1);
    TapLetters("55");
    Tap(kBackspaceArea);
    Drag(kSpaceArea, 1, kE);
    Drag(kSpaceArea, 1, kN);
    EXPECT_EQ(target.text, u" \u200Co<Del>");
    EXPECT_EQ(view.calls, std::vector<std::string>{"Busy"});
}

TEST_F(EngineTest, ShiftDragWithCharacters) {
    Drag(kLetterGrid, 6, kN); // once: the next letter only
    TapLetters("55");
    Drag(kLetterGrid, 6, kN);
    Drag(kLetterGrid, 6, kN); // twice: caps
    TapLetters("55");
    Drag(kLetterGrid, 6, kN); // a third time: off
    TapLetters("5");
    EXPECT_EQ(target.text, u"OoOOo");
    EXPECT_EQ(engine.shiftIndicator, kIndicatorLower);
    EXPECT_FALSE(target.IsKeyToggled(vk::kCapital));
    EXPECT_TRUE(target.KeysDown().empty());
}

TEST_F(EngineTest, ShiftDragImmediately) {
    EngineSettings settings;
    settings.shiftCtrlAltDragAction = 1;
    engine.ApplySettings(settings, 0.12);
    Drag(kLetterGrid, 6, kN); // presses the real Shift now
    EXPECT_TRUE(target.KeysDown().count(vk::kShift));
    TapLetters("55");
    EXPECT_FALSE(target.KeysDown().count(vk::kShift));
    Drag(kLetterGrid, 6, kN);
    Drag(kLetterGrid, 6, kN); // Shift again, then the real Caps Lock
    EXPECT_TRUE(target.IsKeyToggled(vk::kCapital));
    TapLetters("5");
    Drag(kLetterGrid, 6, kN); // off, Caps Lock too
    EXPECT_FALSE(target.IsKeyToggled(vk::kCapital));
    TapLetters("5");
    EXPECT_EQ(target.text, u"OoOo");
    // The drag-and-return uses the other convention: a one-shot Shift.
    DragReturn(kLetterGrid, 6, kN);
    EXPECT_FALSE(target.KeysDown().count(vk::kShift));
    TapLetters("55");
    EXPECT_EQ(target.text, u"OoOoOo");
}

TEST_F(EngineTest, ShiftDragDownCancels) {
    Drag(kLetterGrid, 6, kN);
    Drag(kLetterGrid, 6, kS);
    TapLetters("5");
    EXPECT_EQ(target.text, u"o");
}

TEST_F(EngineTest, CapsLockAndPhysicalShiftOnLetterPairs) {
    target.SetCapsLock(true);
    TapLetters("5");
    target.physicallyDown.insert(vk::kShift);
    TapLetters("5");
    target.physicallyDown.clear();
    target.SetCapsLock(false);
    target.physicallyDown.insert(vk::kShift);
    TapLetters("5");
    EXPECT_EQ(target.text, u"OoO");
    // Case-forced letters go as Unicode, so Caps Lock or Shift cannot change them again.
    for (const KeyInput& e : target.events)
        EXPECT_TRUE(e.flags & kKeyEventUnicode);
}

TEST_F(EngineTest, DigitDropsAPendingShift) {
    Drag(kLetterGrid, 6, kN);
    Tap(kNumberGrid, 1);
    TapLetters("5");
    EXPECT_EQ(target.text, u"1o");
}

TEST_F(EngineTest, AutoCombineAndBackspaceUndo) {
    CombineElement oe{u'o', u'e', u'\u0153', 1, 1, 1};
    combines.insert(combines.begin(), oe);
    TapLetters("58"); // o e
    EXPECT_EQ(target.text, u"\u0153");
    Tap(kBackspaceArea);
    EXPECT_EQ(target.text, u"oe");
    Tap(kBackspaceArea);
    EXPECT_EQ(target.text, u"o");
}

TEST_F(EngineTest, BuiltInListCombinesOeOnlyOnTheGesture) {
    TapLetters("58");
    EXPECT_EQ(target.text, u"oe");
    Drag(kLetterGrid, 1, kNW); // the combine gesture
    EXPECT_EQ(target.text, u"\u0153");
}

TEST_F(EngineTest, AccentAfterLetterCombinesAutomatically) {
    TapLetters("1");           // a
    Drag(kLetterGrid, 2, kNE); // ´
    EXPECT_EQ(target.text, u"\u00E1");
}

TEST_F(EngineTest, CombineGestureRotatesBackToTheBase) {
    TapLetters("1");
    std::u16string seen;
    for (int i = 0; i < 8; ++i) {
        Drag(kLetterGrid, 1, kNW);
        seen += target.text;
    }
    EXPECT_EQ(seen, u"\u00E0\u00E1\u00E2\u00E3\u00E4\u00E5\u00E6a");
}

TEST_F(EngineTest, EditingAreaShortcutsAndToggles) {
    Drag(kEditingArea, 1, kE);       // Ctrl+C
    Drag(kEditingArea, 1, kSE);      // Ctrl+V
    Circle(kEditingArea, 1);         // Ctrl+A
    DragReturn(kEditingArea, 1, kW); // Ctrl+Y
    Drag(kEditingArea, 1, kN);       // Page Up
    Drag(kEditingArea, 1, kNE);      // Ctrl with the next character
    TapLetters("5");
    EXPECT_EQ(target.text, u"<^C><^V><^A><^Y><PgUp><^O>");
    EXPECT_TRUE(target.KeysDown().empty());
    EXPECT_EQ(engine.Modifiers().ctrlState, kLatchOff);
}

TEST_F(EngineTest, NavigationFunctionAndSystemAreas) {
    Drag(kNavigationArea, 1, kE);
    DragReturn(kNavigationArea, 1, kW);
    DragReturn(kNavigationArea, 1, kN);
    Drag(kFunctionArea, 1, kNW);
    Tap(kFunctionArea);
    Drag(kSystemArea, 1, kNE);
    EXPECT_EQ(target.text, u"<Right><Home><^Home><F5><Esc><Ins>");
    Tap(kSystemArea);
    Drag(kSystemArea, 1, kE);
    Drag(kSystemArea, 1, kSE);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"TapSystem", "Horizontal", "SizeUp"}));
}

TEST_F(EngineTest, ExtendedKeysCarryTheirFlag) {
    Drag(kNavigationArea, 1, kE); // Right: extended
    Drag(kFunctionArea, 1, kE);   // F9: not
    ASSERT_EQ(target.events.size(), 4u);
    EXPECT_TRUE(target.events[0].flags & kKeyEventExtendedKey);
    EXPECT_FALSE(target.events[2].flags & kKeyEventExtendedKey);
}

TEST_F(EngineTest, HoldTypesOnceThenRepeatsThenReleasesOnce) {
    const Point p = KeyCentre(5);
    engine.StrokeStart(kLetterGrid, p, false);
    EXPECT_TRUE(timers.IsRunning(EngineTimer::KeyDelay));
    engine.OnKeyDelayTimer();
    EXPECT_EQ(target.text, u"o");
    EXPECT_TRUE(target.KeysDown().count('O'));
    EXPECT_TRUE(timers.IsRunning(EngineTimer::Repeat));
    engine.OnRepeatTimer();
    engine.OnRepeatTimer();
    engine.StrokeEnd(p, false);
    EXPECT_EQ(target.text, u"ooo");
    EXPECT_TRUE(target.KeysDown().empty());
}

TEST_F(EngineTest, BigCircleTogglesTheExtensionKeyboard) {
    Circle(kLetterGrid, 5, 160);
    EXPECT_EQ(engine.extensionKeyboard, 1);
    Circle(kLetterGrid, 5, 160);
    EXPECT_EQ(engine.extensionKeyboard, 0);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"ExtensionOn", "ExtensionOff"}));
    EXPECT_TRUE(target.text.empty());
}

TEST_F(EngineTest, IdleTimerFollowsStrokesAndSettings) {
    TapLetters("5");
    EXPECT_TRUE(timers.IsRunning(EngineTimer::Idle));
    EXPECT_EQ(timers.lastInterval[EngineTimer::Idle], 10u * 60000u);
    engine.OnIdleTimer();
    EXPECT_EQ(view.calls, std::vector<std::string>{"Minimize"});
    EngineSettings settings;
    settings.dontMinimize = true;
    engine.ApplySettings(settings, 0.12);
    TapLetters("5");
    EXPECT_FALSE(timers.IsRunning(EngineTimer::Idle));
}

TEST_F(EngineTest, PhysicalModifiersAreMirrored) {
    target.physicallyDown.insert(vk::kShift);
    engine.OnHookEvent({0, 0x0100, vk::kShift, 0, 0, 0, 0});
    EXPECT_EQ(engine.Modifiers().shiftMode, kShiftHeld);
    EXPECT_EQ(engine.shiftIndicator, kIndicatorOneShot);
    target.physicallyDown.clear();
    engine.OnHookEvent({0, 0x0101, vk::kShift, 0, 0, 0, 0});
    EXPECT_EQ(engine.Modifiers().shiftMode, kShiftOff);

    target.physicallyDown.insert(vk::kControl);
    engine.OnHookEvent({0, 0x0100, vk::kControl, 0, 0, 0, 0});
    EXPECT_EQ(engine.Modifiers().ctrlState, kLatchHeld);
    target.SetCapsLock(true);
    engine.OnHookEvent({0, 0x0101, vk::kCapital, 0, 0, 0, 0});
    EXPECT_EQ(engine.Modifiers().shiftMode, kShiftCapsLock);
    EXPECT_EQ(engine.shiftIndicator, kIndicatorCaps);
}

TEST_F(EngineTest, ShutdownReleasesHeldCtrlAndAlt) {
    EngineSettings settings;
    settings.shiftCtrlAltDragAction = 1;
    engine.ApplySettings(settings, 0.12);
    Drag(kEditingArea, 1, kNE);
    Drag(kEditingArea, 1, kNW);
    EXPECT_TRUE(target.KeysDown().count(vk::kControl));
    EXPECT_TRUE(target.KeysDown().count(vk::kMenu));
    engine.Shutdown();
    EXPECT_TRUE(target.KeysDown().empty());
}

} // namespace
} // namespace gw
