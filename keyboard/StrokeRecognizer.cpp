#include "keyboard/StrokeRecognizer.h"

#include <algorithm>

namespace gw {

namespace {

constexpr double kMinStep = 4.0;       // moves up to this long are jitter, not path
constexpr double kReturnedRatio = 4.0; // path at least this many chords: came back
constexpr double kFullCircle = 0.5;    // circularity beyond which a circle has no direction
constexpr int kBigCircleRadius = 300;  // three cells

constexpr double kTan22 = 0.414;
constexpr double kTan67 = 2.414;

Point Clamp(Point p) {
    constexpr int limit = StrokeRecognizer::kCoordinateLimit;
    return {std::clamp(p.x, -limit, limit), std::clamp(p.y, -limit, limit)};
}

bool IsGrid(int area) {
    return area == kLetterGrid || area == kNumberGrid;
}

// dy grows upward while engine y grows downward.
DirectionResult DirectionBetween(Point from, Point to) {
    return ComputeDirection(std::int64_t{to.x} - from.x, std::int64_t{from.y} - to.y);
}

} // namespace

std::uint32_t IntegerSqrt(std::uint64_t n) {
    std::uint64_t root = 0;
    std::uint64_t bit = std::uint64_t{1} << 62;
    while (bit > n) {
        bit >>= 2;
    }
    while (bit != 0) {
        if (n >= root + bit) {
            n -= root + bit;
            root = (root >> 1) + bit;
        } else {
            root >>= 1;
        }
        bit >>= 2;
    }
    return static_cast<std::uint32_t>(root);
}

double Distance(std::int64_t dx, std::int64_t dy) {
    const auto ux = static_cast<std::uint64_t>(dx < 0 ? -dx : dx);
    const auto uy = static_cast<std::uint64_t>(dy < 0 ? -dy : dy);
    return static_cast<double>(IntegerSqrt(ux * ux + uy * uy));
}

DirectionResult ComputeDirection(std::int64_t dx, std::int64_t dy) {
    if (dx == 0) {
        return dy >= 0 ? DirectionResult{kN, 1} : DirectionResult{kS, 3};
    }
    const double s = static_cast<double>(dy) / static_cast<double>(dx);
    DirectionResult r;
    if (s > -kTan22 && s <= kTan22) {
        r.direction = dx >= 0 ? kE : kW;
    } else if (s > kTan22 && s <= kTan67) {
        r.direction = dx > 0 ? kNE : kSW;
    } else if (s > kTan67 || s <= -kTan67) {
        r.direction = dy >= 0 ? kN : kS;
    } else {
        r.direction = dy > 0 ? kNW : kSE;
    }
    if (s > -1.0 && s <= 1.0) {
        r.fourWay = dx >= 0 ? 0 : 2;
    } else {
        r.fourWay = dy >= 0 ? 1 : 3;
    }
    return r;
}

std::uint32_t KeyDelayMs(int delaySetting) {
    const int delay = std::clamp(delaySetting, 0, 3);
    return static_cast<std::uint32_t>(250 + delay * 750 / 3);
}

std::uint32_t RepeatIntervalMs(int speedSetting) {
    const int speed = std::clamp(speedSetting, 0, 31);
    return static_cast<std::uint32_t>((31 - speed) * 367 / 31 + 33);
}

StrokeRecognizer::StrokeRecognizer(const KeyGeometry& geometry, const KeyboardLayout& layout,
                                   TimerPort& timers, StrokeViewPort& view,
                                   MacroPreviewPort& macros, StrokeDecider& decider)
    : geometry_(geometry), layout_(layout), timers_(timers), view_(view), macros_(macros),
      decider_(decider) {}

void StrokeRecognizer::Start(int area, Point units, bool external) {
    if (area < 0 || area >= kKeyAreaCount) {
        return;
    }
    const Point p = Clamp(units);
    area_ = area;
    if (external) {
        view_.SetExternalStrokeFlag();
        view_.MoveCursorTo(area_, p);
    }
    if (settings.drawTrace) {
        view_.AddTracePoint(area_, p);
    }
    start_ = p;
    last_ = p;
    // Without a move away from the start, the farthest point is the start, not a point of
    // an earlier stroke.
    farthest_ = p;
    pathLength_ = 0;
    areaSum_ = 0;
    maxRadius_ = 0;
    active_ = true;
    timers_.Start(EngineTimer::KeyDelay, keyDelayMs);
    holdMode_ = false;
    releaseMode_ = false;
    timers_.Stop(EngineTimer::Repeat);
    timers_.Stop(EngineTimer::Idle);
    longDragPending_ = false;
}

void StrokeRecognizer::AddToAreaSum(Point from, Point to) {
    // A signed 32-bit accumulator that wraps: unsigned arithmetic, converted back modulo 2^32.
    const std::uint32_t width =
        static_cast<std::uint32_t>(to.x) - static_cast<std::uint32_t>(from.x);
    const std::uint32_t height =
        static_cast<std::uint32_t>(from.y) + static_cast<std::uint32_t>(to.y);
    areaSum_ = static_cast<std::int32_t>(static_cast<std::uint32_t>(areaSum_) + width * height);
}

void StrokeRecognizer::Move(Point units, bool external) {
    if (!active_) {
        return;
    }
    const Point p = Clamp(units);
    if (external) {
        view_.SetExternalStrokeFlag();
        view_.MoveCursorTo(area_, p);
    }
    if (settings.drawTrace) {
        view_.AddTracePoint(area_, p);
    }

    const double d = Distance(std::int64_t{p.x} - last_.x, std::int64_t{p.y} - last_.y);
    if (d > kMinStep) {
        pathLength_ += static_cast<std::int64_t>(d);
        AddToAreaSum(last_, p);
        last_ = p;
        if (timers_.IsRunning(EngineTimer::KeyDelay) || timers_.IsRunning(EngineTimer::Repeat)) {
            timers_.Stop(EngineTimer::KeyDelay);
            timers_.Stop(EngineTimer::Repeat);
            timers_.Start(EngineTimer::KeyDelay, keyDelayMs);
        }
    } else if (holdMode_) {
        return;
    }

    const double d0 = Distance(std::int64_t{p.x} - start_.x, std::int64_t{p.y} - start_.y);
    if (maxRadius_ < d0) {
        maxRadius_ = static_cast<int>(d0);
        farthest_ = p;
    }

    const bool wasPending = longDragPending_;
    longDragPending_ = false;
    if (settings.maxDragMacros && d0 > settings.maxDrag && IsGrid(area_)) {
        PreviewLongDrag(d0);
        return;
    }
    if (savedTyped_) {
        RestoreTypedBuffer();
    } else if (wasPending) {
        macros_.ResetMatch();
    }
}

void StrokeRecognizer::PreviewLongDrag(double d0) {
    const int side = area_ == kNumberGrid ? kNumberSide : kLetterSide;
    const int key = geometry_.KeyNumber(start_.x, start_.y, area_);
    double ratio = 0.0;
    if (d0 > 0) {
        ratio = static_cast<double>(pathLength_) / d0;
    } else {
        ratio = 2.0 * static_cast<double>(pathLength_);
    }
    const bool isShort = ratio < kReturnedRatio && settings.minDrag > d0;
    const bool returned = ratio >= kReturnedRatio;
    if (isShort || returned) {
        return;
    }

    const int direction = DirectionBetween(start_, farthest_).direction;
    char16_t ch = 0;
    if (key >= 1 && key <= 9) {
        const CharacterSlot& slot = layout_.Slot(side, key, direction, 0);
        ch = slot.vk != 0 ? slot.ch : 0;
    }
    const std::u16string typed = macros_.TypedBuffer();
    if (typed.size() != 1 || typed[0] != ch) {
        // Only the first preview of a drag saves: later ones would save a preview character.
        if (!savedTyped_) {
            savedTyped_ = typed;
        }
        macros_.ResetMatch();
        macros_.OnTypedChar(ch);
    }
    if (macros_.MatchShown()) {
        longDragPending_ = true;
    }
}

void StrokeRecognizer::RestoreTypedBuffer() {
    macros_.ResetMatch();
    for (char16_t c : *savedTyped_) {
        macros_.OnTypedChar(c);
    }
    savedTyped_.reset();
}

void StrokeRecognizer::End(Point units, bool external) {
    if (!active_) {
        return;
    }
    const Point p = Clamp(units);
    if (external) {
        view_.ClearExternalStrokeFlag();
    }
    timers_.Stop(EngineTimer::KeyDelay);
    timers_.Stop(EngineTimer::Repeat);
    active_ = false;

    if (holdMode_) {
        releaseMode_ = true;
        holdMode_ = false;
    } else {
        // Close the polygon through the end point back to the start.
        AddToAreaSum(last_, p);
        AddToAreaSum(p, start_);
    }
    if (savedTyped_) {
        RestoreTypedBuffer();
    }
    // The characters go out first; the screen follows.
    decider_.Decide(Classify(p));
    view_.ClearTrace();
    view_.RefreshView();
    decider_.RestartIdleTimer();
}

void StrokeRecognizer::OnKeyDelayTimer() {
    timers_.Stop(EngineTimer::KeyDelay);
    if (!active_ || longDragPending_) {
        return;
    }
    holdMode_ = true;
    if (decider_.Decide(Classify(last_))) {
        timers_.Start(EngineTimer::Repeat, repeatIntervalMs);
    }
}

void StrokeRecognizer::OnRepeatTimer() {
    timers_.Stop(EngineTimer::Repeat);
    if (!active_) {
        return;
    }
    holdMode_ = true;
    decider_.Decide(Classify(last_));
    timers_.Start(EngineTimer::Repeat, repeatIntervalMs);
}

StrokeClassification StrokeRecognizer::Classify(Point point) const {
    const Point p = Clamp(point);
    StrokeClassification c;
    c.area = area_;
    c.start = start_;
    c.end = p;
    c.key = area_ >= 0 ? geometry_.KeyNumber(start_.x, start_.y, area_) : 1;
    c.side = area_ == kNumberGrid ? kNumberSide : (area_ == kLetterGrid ? kLetterSide : -1);
    const std::int64_t dx = std::int64_t{p.x} - start_.x;
    const std::int64_t dy = std::int64_t{start_.y} - p.y;
    c.dist = static_cast<int>(Distance(dx, dy));
    c.maxRadius = maxRadius_;
    if (maxRadius_ > 0) {
        const double r2 = static_cast<double>(maxRadius_) * maxRadius_;
        const double a = static_cast<double>(areaSum_) / r2;
        c.circularity = a * a;
    }
    if (c.dist > 0) {
        c.ratio = static_cast<double>(pathLength_) / c.dist;
    } else {
        c.ratio = 2.0 * static_cast<double>(pathLength_);
    }
    c.returned = c.ratio >= kReturnedRatio;
    c.isShort = !c.returned && c.dist < settings.minDrag;
    c.straight = !c.isShort && !c.returned;
    c.circle = c.returned && c.circularity > settings.circleAreaRatio;
    c.bigCircle = c.circle && maxRadius_ > kBigCircleRadius && view_.HasView();

    // The direction is where the pen went farthest; a stroke that never left its start by a
    // move takes the direction towards the point.
    const DirectionResult dir = DirectionBetween(start_, maxRadius_ > 0 ? farthest_ : p);
    c.direction = dir.direction;
    c.fourWay = dir.fourWay;
    if (c.isShort || (c.returned && c.circularity > kFullCircle)) {
        c.direction = kCenter;
    }
    c.kind = 0;
    return c;
}

} // namespace gw
