#pragma once
// Turns the points of one pen stroke on a key area into a classification (key, direction,
// short / straight / returned / circle) and runs its timing: the held-key delay, auto-repeat
// and the long-drag macro preview. The engine supplies the decision that maps a
// classification to output.
#include "keyboard/KeyboardModel.h"
#include "shell/Timers.h"

#include <cstdint>
#include <optional>
#include <string>

namespace gw {

// Floor of the square root, bit pair by bit pair from the top.
std::uint32_t IntegerSqrt(std::uint64_t n);
// floor(sqrt(dx^2 + dy^2)) as a double; |dx| and |dy| must stay below 2^31.
double Distance(std::int64_t dx, std::int64_t dy);

struct DirectionResult {
    int direction = kCenter; // 0..7, counter-clockwise from east
    int fourWay = 0;         // 0 E, 1 N, 2 W, 3 S
    bool operator==(const DirectionResult&) const = default;
};
// dy grows upward. The sector limits are tan 22.5 and tan 67.5 rounded to three decimals.
DirectionResult ComputeDirection(std::int64_t dx, std::int64_t dy);

// The system's keyboard delay setting (0..3) and repeat speed (0..31) in milliseconds;
// values outside the range are taken as the nearest end.
std::uint32_t KeyDelayMs(int delaySetting);
std::uint32_t RepeatIntervalMs(int speedSetting);

struct StrokeSettings {
    int minDrag = 30;  // engine units; shorter chords are taps
    int maxDrag = 200; // engine units; beyond it a drag previews the key's macro
    bool maxDragMacros = false;
    double circleAreaRatio = 0.12;
    bool drawTrace = true;
};

struct StrokeClassification {
    int area = kNoArea;
    int key = 1;
    int side = -1; // kLetterSide / kNumberSide on the grids, -1 elsewhere
    Point start;
    Point end;
    int dist = 0; // chord length, whole units
    double ratio = 0.0;
    int direction = kCenter;
    int fourWay = 0;
    int kind = 0;
    double circularity = 0.0;
    int maxRadius = 0;
    bool isShort = false;
    bool straight = false;
    bool returned = false;
    bool circle = false;
    bool bigCircle = false; // a circle wider than three cells with a view: the engine toggles
                            // the extension keyboard instead of typing
};

// What the recognizer needs from the keyboard view. Every call is a no-op without a view.
class StrokeViewPort {
public:
    virtual ~StrokeViewPort() = default;
    virtual bool HasView() const = 0;
    virtual void MoveCursorTo(int area, Point units) = 0;
    virtual void AddTracePoint(int area, Point units) = 0;
    virtual void ClearTrace() = 0;
    virtual void SetExternalStrokeFlag() = 0;
    virtual void ClearExternalStrokeFlag() = 0;
    // Update, invalidate and update the view again.
    virtual void RefreshView() = 0;
};

// The part of the macro store that the long-drag preview drives.
class MacroPreviewPort {
public:
    virtual ~MacroPreviewPort() = default;
    virtual std::u16string TypedBuffer() const = 0;
    virtual void ResetMatch() = 0;
    virtual void OnTypedChar(char16_t ch) = 0;
    virtual bool MatchShown() const = 0;
};

// The engine's half of a stroke: maps a classification to output.
class StrokeDecider {
public:
    virtual ~StrokeDecider() = default;
    // True when the stroke typed a character, so holding it repeats.
    virtual bool Decide(const StrokeClassification& stroke) = 0;
    virtual void RestartIdleTimer() = 0;
};

class StrokeRecognizer {
public:
    // Points are clamped to this many engine units either way, far beyond any screen, so the
    // distance arithmetic cannot overflow.
    static constexpr int kCoordinateLimit = 1 << 24;

    StrokeRecognizer(const KeyGeometry& geometry, const KeyboardLayout& layout, TimerPort& timers,
                     StrokeViewPort& view, MacroPreviewPort& macros, StrokeDecider& decider);
    StrokeRecognizer(const StrokeRecognizer&) = delete;
    StrokeRecognizer& operator=(const StrokeRecognizer&) = delete;

    // Pen down on an area (kNoArea starts nothing), moved, and up; points in engine units of
    // the stroke's area. external: the point comes from an extension's device.
    void Start(int area, Point units, bool external);
    void Move(Point units, bool external);
    void End(Point units, bool external);

    // Called for the current key-delay / repeat timer's message only.
    void OnKeyDelayTimer();
    void OnRepeatTimer();

    // The first half of the decision for a point of the current stroke.
    StrokeClassification Classify(Point point) const;

    bool Active() const { return active_; }
    bool HoldMode() const { return holdMode_; }
    bool ReleaseMode() const { return releaseMode_; }
    bool LongDragPending() const { return longDragPending_; }
    // Reads and clears the long-drag flag, as the decision does.
    bool TakeLongDragPending() {
        bool pending = longDragPending_;
        longDragPending_ = false;
        return pending;
    }
    int Area() const { return area_; }
    Point StartPoint() const { return start_; }
    Point LastAcceptedPoint() const { return last_; }
    Point FarthestPoint() const { return farthest_; }
    int MaxRadius() const { return maxRadius_; }
    std::int64_t PathLength() const { return pathLength_; }
    std::int32_t AreaSum() const { return areaSum_; }

    StrokeSettings settings;
    std::uint32_t keyDelayMs = KeyDelayMs(1);
    std::uint32_t repeatIntervalMs = RepeatIntervalMs(31);

private:
    void AddToAreaSum(Point from, Point to);
    void RunHeldDecision();
    // The pen is beyond MaxDrag on a grid: preview the macro of the character under it.
    void PreviewLongDrag(double d0);
    void RestoreTypedBuffer();

    const KeyGeometry& geometry_;
    const KeyboardLayout& layout_;
    TimerPort& timers_;
    StrokeViewPort& view_;
    MacroPreviewPort& macros_;
    StrokeDecider& decider_;

    int area_ = kNoArea;
    Point start_;
    Point last_;
    Point farthest_;
    std::int64_t pathLength_ = 0;
    std::int32_t areaSum_ = 0;
    int maxRadius_ = 0;
    bool active_ = false;
    bool holdMode_ = false;
    bool releaseMode_ = false;
    bool longDragPending_ = false;
    // The typed buffer as it was before the first preview of this drag; held even when empty,
    // so that a preview typed into an empty buffer is undone as well.
    std::optional<std::u16string> savedTyped_;
};

} // namespace gw
