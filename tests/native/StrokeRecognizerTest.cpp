// Stroke classification, the held-key timing and the long-drag macro preview.
#include "keyboard/StrokeRecognizer.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <numbers>
#include <set>
#include <string>
#include <vector>

namespace gw {
namespace {

std::string TimerName(EngineTimer timer) {
    switch (timer) {
    case EngineTimer::KeyDelay:
        return "KeyDelay";
    case EngineTimer::Repeat:
        return "Repeat";
    case EngineTimer::Idle:
        return "Idle";
    }
    return "?";
}

class FakeTimers : public TimerPort {
public:
    explicit FakeTimers(std::vector<std::string>& log) : log_(log) {}
    void Start(EngineTimer timer, std::uint32_t intervalMs) override {
        running_[Index(timer)] = true;
        ++starts_[Index(timer)];
        interval_[Index(timer)] = intervalMs;
        log_.push_back("start " + TimerName(timer));
    }
    void Stop(EngineTimer timer) override {
        running_[Index(timer)] = false;
        log_.push_back("stop " + TimerName(timer));
    }
    bool IsRunning(EngineTimer timer) const override { return running_[Index(timer)]; }
    int Starts(EngineTimer timer) const { return starts_[Index(timer)]; }
    std::uint32_t Interval(EngineTimer timer) const { return interval_[Index(timer)]; }
    // The receiving side forgets the current timer before its handler acts.
    bool Fire(EngineTimer timer) {
        const bool was = running_[Index(timer)];
        running_[Index(timer)] = false;
        return was;
    }

private:
    static int Index(EngineTimer timer) { return static_cast<int>(timer); }
    std::vector<std::string>& log_;
    std::array<bool, 3> running_{};
    std::array<int, 3> starts_{};
    std::array<std::uint32_t, 3> interval_{};
};

class FakeView : public StrokeViewPort {
public:
    bool HasView() const override { return hasView; }
    void MoveCursorTo(int, Point units) override { cursor.push_back(units); }
    void AddTracePoint(int, Point units) override { trace.push_back(units); }
    void ClearTrace() override { trace.clear(); }
    void SetExternalStrokeFlag() override { externalFlag = true; }
    void ClearExternalStrokeFlag() override { externalFlag = false; }
    void RefreshView() override {
        ++refreshes;
        if (log)
            log->push_back("refresh");
    }

    bool hasView = true;
    std::vector<std::string>* log = nullptr;
    std::vector<Point> cursor;
    std::vector<Point> trace;
    bool externalFlag = false;
    int refreshes = 0;
};

// A macro store cut down to its typed buffer and match flag.
class FakeMacros : public MacroPreviewPort {
public:
    std::u16string TypedBuffer() const override { return typed; }
    void ResetMatch() override {
        typed.clear();
        ++resets;
    }
    void OnTypedChar(char16_t ch) override { typed.push_back(ch); }
    bool MatchShown() const override { return keys.count(typed) != 0; }

    std::u16string typed;
    std::set<std::u16string> keys;
    int resets = 0;
};

struct Decision {
    StrokeClassification stroke;
    bool hold = false;
    bool release = false;
    bool longDragPending = false;
    std::u16string typed;
};

class RecordingDecider : public StrokeDecider {
public:
    explicit RecordingDecider(std::vector<std::string>& log) : log_(log) {}
    bool Decide(const StrokeClassification& stroke) override {
        decisions.push_back({stroke, recognizer->HoldMode(), recognizer->ReleaseMode(),
                             recognizer->LongDragPending(), macros->typed});
        log_.push_back("decide");
        return repeatable;
    }
    void RestartIdleTimer() override { log_.push_back("restart idle"); }

    const StrokeRecognizer* recognizer = nullptr;
    const FakeMacros* macros = nullptr;
    bool repeatable = true;
    std::vector<Decision> decisions;

private:
    std::vector<std::string>& log_;
};

// Points from the first corner to the last, in steps of at most `step` units.
std::vector<Point> Path(const std::vector<Point>& corners, int step = 10) {
    std::vector<Point> points{corners.front()};
    for (std::size_t i = 1; i < corners.size(); ++i) {
        const Point a = corners[i - 1];
        const Point b = corners[i];
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        const int n = std::max(1, static_cast<int>(std::ceil(length / step)));
        for (int k = 1; k <= n; ++k) {
            points.push_back({a.x + static_cast<int>(std::lround(double(b.x - a.x) * k / n)),
                              a.y + static_cast<int>(std::lround(double(b.y - a.y) * k / n))});
        }
    }
    return points;
}

// A circle drawn from its easternmost point, counter-clockwise on screen, back to the start.
std::vector<Point> Circle(Point centre, int radius, int steps) {
    std::vector<Point> points;
    for (int k = 0; k <= steps; ++k) {
        const double a = 2 * std::numbers::pi * k / steps;
        points.push_back({centre.x + static_cast<int>(std::lround(radius * std::cos(a))),
                          centre.y - static_cast<int>(std::lround(radius * std::sin(a)))});
    }
    return points;
}

constexpr Point kKey5{150, 150}; // middle of the grid's centre key

class StrokeRecognizerTest : public ::testing::Test {
protected:
    StrokeRecognizerTest() {
        view.log = &log;
        decider.recognizer = &recognizer;
        decider.macros = &macros;
    }

    // First point starts, last ends, the others move; returns the decision at pen up.
    StrokeClassification Stroke(const std::vector<Point>& points, int area = kLetterGrid) {
        recognizer.Start(area, points.front(), false);
        for (std::size_t i = 1; i + 1 < points.size(); ++i) {
            recognizer.Move(points[i], false);
        }
        recognizer.End(points.back(), false);
        EXPECT_FALSE(decider.decisions.empty());
        return decider.decisions.empty() ? StrokeClassification{} : decider.decisions.back().stroke;
    }

    void FireKeyDelay() {
        ASSERT_TRUE(timers.Fire(EngineTimer::KeyDelay));
        recognizer.OnKeyDelayTimer();
    }
    void FireRepeat() {
        ASSERT_TRUE(timers.Fire(EngineTimer::Repeat));
        recognizer.OnRepeatTimer();
    }

    std::vector<std::string> log;
    KeyGeometry geometry;
    KeyboardLayout layout;
    FakeTimers timers{log};
    FakeView view;
    FakeMacros macros;
    RecordingDecider decider{log};
    StrokeRecognizer recognizer{geometry, layout, timers, view, macros, decider};
};

TEST(StrokeMath, IntegerSqrtIsTheFloorOverTheWholeRange) {
    const std::vector<std::pair<std::uint64_t, std::uint32_t>> cases = {
        {0, 0},
        {1, 1},
        {3, 1},
        {4, 2},
        {24, 4},
        {25, 5},
        {99, 9},
        {100, 10},
        {std::uint64_t{1} << 62, std::uint32_t{1} << 31},
        {0xFFFFFFFE00000001ULL, 0xFFFFFFFFU}, // (2^32 - 1)^2
        {0xFFFFFFFE00000000ULL, 0xFFFFFFFEU},
        {UINT64_MAX, 0xFFFFFFFFU},
    };
    for (const auto& [n, root] : cases) {
        EXPECT_EQ(IntegerSqrt(n), root) << n;
    }
    EXPECT_EQ(Distance(3, 4), 5.0);
    EXPECT_EQ(Distance(-3, -3), 4.0); // 4.24 rounds down
    EXPECT_EQ(Distance(-30000, 40000), 50000.0);
}

TEST(StrokeMath, DirectionSectorsAndTheirBoundaries) {
    struct Case {
        std::int64_t dx, dy;
        int direction, fourWay;
    };
    const Case cases[] = {
        {0, 0, kN, 1},
        {0, 5, kN, 1},
        {0, -5, kS, 3},
        {10, 0, kE, 0},
        {-10, 0, kW, 2},
        // s = 0.414 is horizontal, s = -0.414 diagonal.
        {1000, 414, kE, 0},
        {1000, 415, kNE, 0},
        {-1000, -414, kW, 2},
        {-1000, -415, kSW, 2},
        {1000, -414, kSE, 0},
        {1000, -413, kE, 0},
        {-1000, 414, kNW, 2},
        // s = 2.414 is diagonal, s = -2.414 vertical.
        {1000, 2414, kNE, 1},
        {1000, 2415, kN, 1},
        {-1000, -2414, kSW, 3},
        {1000, -2414, kS, 3},
        {1000, -2413, kSE, 3},
        {-1000, 2414, kN, 1},
        {-1000, 2413, kNW, 1},
        // Four-way: s = 1 is horizontal, s = -1 vertical.
        {100, 100, kNE, 0},
        {-100, -100, kSW, 2},
        {100, -100, kSE, 3},
        {-100, 100, kNW, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ComputeDirection(c.dx, c.dy), (DirectionResult{c.direction, c.fourWay}))
            << "dx " << c.dx << " dy " << c.dy;
    }
}

TEST(StrokeMath, KeyDelayAndRepeatIntervalAtTheirEnds) {
    EXPECT_EQ(KeyDelayMs(0), 250u);
    EXPECT_EQ(KeyDelayMs(1), 500u);
    EXPECT_EQ(KeyDelayMs(3), 1000u);
    EXPECT_EQ(RepeatIntervalMs(0), 400u);
    EXPECT_EQ(RepeatIntervalMs(15), 222u); // 16 * 367 / 31 truncates to 189
    EXPECT_EQ(RepeatIntervalMs(31), 33u);
    // Out-of-range system values give the nearest end.
    EXPECT_EQ(KeyDelayMs(-1), 250u);
    EXPECT_EQ(KeyDelayMs(7), 1000u);
    EXPECT_EQ(RepeatIntervalMs(-1), 400u);
    EXPECT_EQ(RepeatIntervalMs(40), 33u);
}

TEST_F(StrokeRecognizerTest, TapIsShortWithTheCentreDirection) {
    const StrokeClassification c = Stroke({kKey5, kKey5});
    EXPECT_EQ(c.dist, 0);
    EXPECT_EQ(c.ratio, 0.0);
    EXPECT_TRUE(c.isShort);
    EXPECT_FALSE(c.returned);
    EXPECT_FALSE(c.straight);
    EXPECT_EQ(c.direction, kCenter);
    EXPECT_EQ(c.kind, 0);
    EXPECT_EQ(c.key, 5);
    EXPECT_EQ(c.side, kLetterSide);
}

TEST_F(StrokeRecognizerTest, ChordOfMinDragIsADrag) {
    for (int length : {29, 30}) {
        SCOPED_TRACE(length);
        const Point end{kKey5.x, kKey5.y - length};
        const StrokeClassification c = Stroke({kKey5, end, end});
        EXPECT_EQ(c.dist, length);
        EXPECT_EQ(c.isShort, length < 30);
        EXPECT_EQ(c.straight, length >= 30);
        EXPECT_EQ(c.direction, length < 30 ? kCenter : kN);
    }
}

TEST_F(StrokeRecognizerTest, EightDirections) {
    struct Case {
        Point end;
        int direction, fourWay;
    };
    const Case cases[] = {
        {{250, 150}, kE, 0}, {{250, 50}, kNE, 0}, {{150, 50}, kN, 1},  {{50, 50}, kNW, 1},
        {{50, 150}, kW, 2},  {{50, 250}, kSW, 2}, {{150, 250}, kS, 3}, {{250, 250}, kSE, 3},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.direction);
        const StrokeClassification c = Stroke(Path({kKey5, k.end}));
        EXPECT_TRUE(c.straight);
        EXPECT_EQ(c.direction, k.direction);
        EXPECT_EQ(c.fourWay, k.fourWay);
    }
}

TEST_F(StrokeRecognizerTest, StrokeBelongsToTheKeyWhereItStarted) {
    // From key 5 over to key 6 and beyond the grid: still key 5.
    StrokeClassification c = Stroke(Path({kKey5, {350, 150}}));
    EXPECT_EQ(c.key, 5);
    EXPECT_EQ(c.direction, kE);
    struct Case {
        int area;
        Point start;
        int side, key;
    };
    for (const Case& k : {Case{kNumberGrid, kKey5, kNumberSide, 5},
                          Case{kSpaceArea, {50, 50}, -1, 1}, Case{kSystemArea, {50, 50}, -1, 1}}) {
        c = Stroke({k.start, {k.start.x + 100, k.start.y}}, k.area);
        EXPECT_EQ(c.area, k.area);
        EXPECT_EQ(c.side, k.side);
        EXPECT_EQ(c.key, k.key);
    }
}

TEST_F(StrokeRecognizerTest, BendBackIsReturnedWithTheFarthestPointsDirection) {
    // Out to the north-east and back to a point 50 units east of the start.
    const StrokeClassification c = Stroke(Path({kKey5, {350, -50}, {200, 150}}));
    EXPECT_EQ(c.dist, 50);
    EXPECT_GE(c.ratio, 4.0);
    EXPECT_TRUE(c.returned);
    EXPECT_FALSE(c.isShort);
    EXPECT_FALSE(c.straight);
    EXPECT_FALSE(c.circle);
    EXPECT_EQ(c.direction, kNE);
    EXPECT_EQ(recognizer.FarthestPoint(), (Point{350, -50}));
}

TEST_F(StrokeRecognizerTest, CircleAgainstDragAndReturn) {
    // A circle drawn from a point on it: R is the diameter, area sum / R^2 about pi / 2.
    StrokeClassification c = Stroke(Circle(kKey5, 60, 32));
    EXPECT_TRUE(c.returned);
    EXPECT_TRUE(c.circle);
    EXPECT_NEAR(c.circularity, std::numbers::pi * std::numbers::pi / 4, 0.1);
    EXPECT_EQ(c.maxRadius, 120);
    EXPECT_EQ(c.direction, kCenter);
    EXPECT_FALSE(c.bigCircle);

    // Out and back along one line encloses nothing.
    c = Stroke(Path({kKey5, {250, 150}, kKey5}));
    EXPECT_TRUE(c.returned);
    EXPECT_EQ(c.ratio, 380.0); // back at the start: twice the path up to the last move
    EXPECT_LT(c.circularity, 0.01);
    EXPECT_FALSE(c.circle);
    EXPECT_EQ(c.direction, kE);

    // A flat loop is a circle but keeps its direction up to a circularity of 0.5.
    c = Stroke(Path({kKey5, {250, 150}, {250, 180}, {150, 180}, kKey5}));
    EXPECT_TRUE(c.circle);
    EXPECT_EQ(recognizer.AreaSum(), -6000);
    EXPECT_EQ(c.maxRadius, 104);
    EXPECT_GT(c.circularity, 0.12);
    EXPECT_LT(c.circularity, 0.5);
    EXPECT_EQ(c.direction, kE);

    // The ratio must be exceeded, not met.
    recognizer.settings.circleAreaRatio = c.circularity;
    EXPECT_FALSE(recognizer.Classify(kKey5).circle);
    recognizer.settings.circleAreaRatio = std::nextafter(c.circularity, 0.0);
    EXPECT_TRUE(recognizer.Classify(kKey5).circle);
}

TEST_F(StrokeRecognizerTest, BigCircleNeedsMoreThanThreeCellsAndAView) {
    StrokeClassification c = Stroke(Circle(kKey5, 160, 48));
    EXPECT_TRUE(c.circle);
    EXPECT_GT(c.maxRadius, 300);
    EXPECT_TRUE(c.bigCircle);
    view.hasView = false;
    EXPECT_FALSE(recognizer.Classify(kKey5).bigCircle);

    view.hasView = true;
    c = Stroke(Circle(kKey5, 140, 48)); // R = 280
    EXPECT_TRUE(c.circle);
    EXPECT_FALSE(c.bigCircle);
}

TEST_F(StrokeRecognizerTest, SmallMovesExtendOnlyTraceAndFarthestPoint) {
    recognizer.Start(kLetterGrid, kKey5, false);
    ASSERT_EQ(timers.Starts(EngineTimer::KeyDelay), 1);
    EXPECT_EQ(timers.Interval(EngineTimer::KeyDelay), recognizer.keyDelayMs);

    recognizer.Move({153, 153}, false); // 4.24 units: jitter
    EXPECT_EQ(recognizer.PathLength(), 0);
    EXPECT_EQ(recognizer.LastAcceptedPoint(), kKey5);
    EXPECT_EQ(timers.Starts(EngineTimer::KeyDelay), 1);
    EXPECT_EQ(view.trace.size(), 2u);
    EXPECT_EQ(recognizer.FarthestPoint(), (Point{153, 153}));
    EXPECT_EQ(recognizer.MaxRadius(), 4);

    recognizer.Move({154, 153}, false); // 5 units from the last accepted point
    EXPECT_EQ(recognizer.PathLength(), 5);
    EXPECT_EQ(recognizer.LastAcceptedPoint(), (Point{154, 153}));
    EXPECT_EQ(timers.Starts(EngineTimer::KeyDelay), 2);

    recognizer.Move({156, 155}, false); // 2.8 from the last accepted, 7.8 from the start
    EXPECT_EQ(recognizer.PathLength(), 5);
    EXPECT_EQ(timers.Starts(EngineTimer::KeyDelay), 2);
    EXPECT_EQ(view.trace.size(), 4u);
    EXPECT_EQ(recognizer.FarthestPoint(), (Point{156, 155}));
    EXPECT_EQ(recognizer.MaxRadius(), 7);

    recognizer.End({156, 155}, false);
    EXPECT_TRUE(view.trace.empty());
    EXPECT_EQ(view.refreshes, 1);
}

TEST_F(StrokeRecognizerTest, HoldTypesOnceRepeatsAndReleasesOnce) {
    recognizer.repeatIntervalMs = 100;
    recognizer.Start(kLetterGrid, kKey5, false);
    FireKeyDelay();
    ASSERT_EQ(decider.decisions.size(), 1u);
    EXPECT_TRUE(decider.decisions[0].hold);
    EXPECT_FALSE(decider.decisions[0].release);
    EXPECT_EQ(decider.decisions[0].stroke.direction, kCenter);
    ASSERT_TRUE(timers.IsRunning(EngineTimer::Repeat));
    EXPECT_EQ(timers.Interval(EngineTimer::Repeat), 100u);

    FireRepeat();
    FireRepeat();
    ASSERT_EQ(decider.decisions.size(), 3u);
    EXPECT_TRUE(decider.decisions[2].hold);
    EXPECT_TRUE(timers.IsRunning(EngineTimer::Repeat));

    // Held still, jitter changes nothing, not even the farthest point.
    recognizer.Move({152, 152}, false);
    EXPECT_EQ(recognizer.FarthestPoint(), kKey5);
    EXPECT_EQ(timers.Starts(EngineTimer::KeyDelay), 1);

    recognizer.End({152, 152}, false);
    ASSERT_EQ(decider.decisions.size(), 4u);
    EXPECT_TRUE(decider.decisions[3].release);
    EXPECT_FALSE(decider.decisions[3].hold);
    EXPECT_FALSE(timers.IsRunning(EngineTimer::KeyDelay));
    EXPECT_FALSE(timers.IsRunning(EngineTimer::Repeat));
    EXPECT_EQ(recognizer.AreaSum(), 0); // the end point is not added after a hold
    EXPECT_TRUE(recognizer.ReleaseMode());

    recognizer.Start(kLetterGrid, kKey5, false);
    EXPECT_FALSE(recognizer.ReleaseMode());
    EXPECT_FALSE(recognizer.HoldMode());
}

TEST_F(StrokeRecognizerTest, MovingOnRestartsTheDelayUnlessNothingIsRepeating) {
    recognizer.Start(kLetterGrid, kKey5, false);
    FireKeyDelay();
    ASSERT_TRUE(timers.IsRunning(EngineTimer::Repeat));
    recognizer.Move({170, 150}, false);
    EXPECT_FALSE(timers.IsRunning(EngineTimer::Repeat));
    EXPECT_TRUE(timers.IsRunning(EngineTimer::KeyDelay));
    EXPECT_TRUE(recognizer.HoldMode());
    FireKeyDelay();
    EXPECT_EQ(decider.decisions.size(), 2u);
    EXPECT_EQ(decider.decisions[1].stroke.end, (Point{170, 150}));
    recognizer.End({170, 150}, false);

    // A hold on something that does not repeat leaves no timer for a later move to restart.
    decider.repeatable = false;
    recognizer.Start(kLetterGrid, kKey5, false);
    FireKeyDelay();
    EXPECT_FALSE(timers.IsRunning(EngineTimer::Repeat));
    recognizer.Move({190, 150}, false);
    EXPECT_FALSE(timers.IsRunning(EngineTimer::KeyDelay));
}

TEST_F(StrokeRecognizerTest, LongDragPreviewsTheMacroAndRestoresTheTypedBuffer) {
    recognizer.settings.maxDragMacros = true;
    layout.Slot(kLetterSide, 5, kE, 0) = {1, u'x'};
    layout.Slot(kLetterSide, 5, kNE, 0) = {1, u'y'};
    macros.typed = u"ab";
    macros.keys = {u"x", u"y"};

    recognizer.Start(kLetterGrid, kKey5, false);
    recognizer.Move({250, 150}, false);
    recognizer.Move({350, 150}, false); // exactly MaxDrag: not beyond
    EXPECT_EQ(macros.typed, u"ab");
    EXPECT_EQ(macros.resets, 0);
    recognizer.Move({351, 150}, false);
    EXPECT_EQ(macros.typed, u"x");
    EXPECT_TRUE(recognizer.LongDragPending());
    recognizer.Move({400, 150}, false); // same character: not fed again, still pending
    EXPECT_EQ(macros.resets, 1);
    EXPECT_TRUE(recognizer.LongDragPending());

    // The key delay does nothing while a preview is pending.
    FireKeyDelay();
    EXPECT_TRUE(decider.decisions.empty());
    EXPECT_FALSE(recognizer.HoldMode());

    recognizer.Move({300, 150}, false); // back within MaxDrag
    EXPECT_EQ(macros.typed, u"ab");
    EXPECT_FALSE(recognizer.LongDragPending());

    // Turning to another character while beyond keeps the buffer from before the drag.
    recognizer.Move({400, 150}, false);
    recognizer.Move({400, -100}, false);
    EXPECT_EQ(recognizer.FarthestPoint(), (Point{400, -100}));
    EXPECT_EQ(macros.typed, u"y");
    recognizer.End({400, -100}, false);
    ASSERT_EQ(decider.decisions.size(), 1u);
    EXPECT_EQ(decider.decisions[0].typed, u"ab");
    EXPECT_TRUE(decider.decisions[0].longDragPending);
    EXPECT_TRUE(decider.decisions[0].stroke.straight);
    EXPECT_EQ(decider.decisions[0].stroke.direction, kNE);
    EXPECT_TRUE(recognizer.TakeLongDragPending());
    EXPECT_FALSE(recognizer.LongDragPending());
}

TEST_F(StrokeRecognizerTest, LongDragPreviewIntoAnEmptyBufferIsUndone) {
    recognizer.settings.maxDragMacros = true;
    layout.Slot(kLetterSide, 5, kE, 0) = {1, u'x'};
    recognizer.Start(kLetterGrid, kKey5, false);
    recognizer.Move({400, 150}, false); // no macro for "x": nothing pending
    EXPECT_EQ(macros.typed, u"x");
    EXPECT_FALSE(recognizer.LongDragPending());
    recognizer.Move({300, 150}, false);
    EXPECT_EQ(macros.typed, u"");
    recognizer.End({300, 150}, false);
}

TEST_F(StrokeRecognizerTest, LongDragNeedsTheOptionAGridAndAStraightDrag) {
    layout.Slot(kLetterSide, 5, kE, 0) = {1, u'x'};
    layout.Slot(kNumberSide, 5, kE, 0) = {1, u'7'};
    macros.typed = u"ab";
    Stroke(Path({kKey5, {400, 150}}));
    EXPECT_EQ(macros.resets, 0);

    recognizer.settings.maxDragMacros = true;
    Stroke(Path({kKey5, {400, 150}}), kEditingArea);
    EXPECT_EQ(macros.resets, 0);
    // Zig-zag within MaxDrag, then out: the path is over four chords, so no preview.
    Stroke(Path({kKey5,
                 {340, 150},
                 kKey5,
                 {340, 150},
                 kKey5,
                 {340, 150},
                 kKey5,
                 {340, 150},
                 kKey5,
                 {400, 150}}));
    EXPECT_EQ(macros.resets, 0);

    recognizer.Start(kNumberGrid, kKey5, false);
    recognizer.Move({400, 150}, false);
    EXPECT_EQ(macros.typed, u"7");
    recognizer.End({400, 150}, false);
    EXPECT_EQ(macros.typed, u"ab");
}

TEST_F(StrokeRecognizerTest, NoAreaStartsNothing) {
    recognizer.Start(kNoArea, kKey5, false);
    recognizer.Move({250, 150}, false);
    recognizer.End({250, 150}, false);
    EXPECT_FALSE(recognizer.Active());
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(view.trace.empty());
    EXPECT_TRUE(decider.decisions.empty());
}

// The characters go out first: the screen is refreshed after the decision.
TEST_F(StrokeRecognizerTest, IdleTimerStopsAtStartAndRestartsAfterTheDecision) {
    recognizer.Start(kLetterGrid, kKey5, false);
    EXPECT_EQ(log, (std::vector<std::string>{"start KeyDelay", "stop Repeat", "stop Idle"}));
    EXPECT_TRUE(recognizer.Active());
    log.clear();
    recognizer.End(kKey5, false);
    EXPECT_FALSE(recognizer.Active());
    EXPECT_EQ(log, (std::vector<std::string>{"stop KeyDelay", "stop Repeat", "decide", "refresh",
                                             "restart idle"}));
}

TEST_F(StrokeRecognizerTest, ExternalStrokeDrivesCursorAndFlag) {
    recognizer.settings.drawTrace = false;
    recognizer.Start(kLetterGrid, kKey5, true);
    EXPECT_TRUE(view.externalFlag);
    recognizer.Move({200, 150}, true);
    EXPECT_EQ(view.cursor, (std::vector<Point>{kKey5, {200, 150}}));
    EXPECT_TRUE(view.trace.empty());
    recognizer.End({200, 150}, true);
    EXPECT_FALSE(view.externalFlag);
    EXPECT_EQ(view.refreshes, 1);
}

TEST_F(StrokeRecognizerTest, ExtremeCoordinatesWrapTheAreaSumWithoutOverflow) {
    recognizer.Start(kLetterGrid, {0, 0}, true);
    recognizer.Move({16000000, 16000000}, true);
    EXPECT_EQ(recognizer.AreaSum(), static_cast<std::int32_t>(std::int64_t{16000000} * 16000000));
    recognizer.Move({INT_MAX, INT_MIN}, true);
    const Point limit{StrokeRecognizer::kCoordinateLimit, -StrokeRecognizer::kCoordinateLimit};
    EXPECT_EQ(recognizer.LastAcceptedPoint(), limit);
    recognizer.End({INT_MIN, INT_MAX}, true);
    ASSERT_EQ(decider.decisions.size(), 1u);
    EXPECT_EQ(decider.decisions[0].stroke.end, (Point{-limit.x, -limit.y}));
}

} // namespace
} // namespace gw
