// Cost of recognising one typical stroke end to end, against merely copying its points.
#include "keyboard/StrokeRecognizer.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <vector>

namespace {

using namespace gw;

class NullTimers : public TimerPort {
public:
    void Start(EngineTimer timer, std::uint32_t) override { running[Index(timer)] = true; }
    void Stop(EngineTimer timer) override { running[Index(timer)] = false; }
    bool IsRunning(EngineTimer timer) const override { return running[Index(timer)]; }

private:
    static int Index(EngineTimer timer) { return static_cast<int>(timer); }
    std::array<bool, 3> running{};
};

class NullView : public StrokeViewPort {
public:
    bool HasView() const override { return true; }
    void MoveCursorTo(int, Point) override {}
    void AddTracePoint(int, Point p) override { benchmark::DoNotOptimize(p); }
    void ClearTrace() override {}
    void SetExternalStrokeFlag() override {}
    void ClearExternalStrokeFlag() override {}
    void RefreshView() override {}
};

class NullMacros : public MacroPreviewPort {
public:
    std::u16string TypedBuffer() const override { return {}; }
    void ResetMatch() override {}
    void OnTypedChar(char16_t) override {}
    bool MatchShown() const override { return false; }
};

class CountingDecider : public StrokeDecider {
public:
    bool Decide(const StrokeClassification& stroke) override {
        benchmark::DoNotOptimize(stroke.direction);
        return true;
    }
    void RestartIdleTimer() override {}
};

// A drag-and-return towards the north-east with a little wobble: 30 points.
std::vector<Point> TypicalStroke() {
    std::vector<Point> points;
    for (int i = 0; i < 30; ++i) {
        const int t = i < 15 ? i : 29 - i;
        points.push_back({150 + t * 8 + (i % 3), 150 - t * 7 + (i % 2)});
    }
    return points;
}

void BM_CopyStrokePoints(benchmark::State& state) {
    const std::vector<Point> points = TypicalStroke();
    std::vector<Point> copy(points.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < points.size(); ++i) {
            copy[i] = points[i];
        }
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyStrokePoints);

void BM_RecogniseStroke(benchmark::State& state) {
    const std::vector<Point> points = TypicalStroke();
    KeyGeometry geometry;
    KeyboardLayout layout;
    NullTimers timers;
    NullView view;
    NullMacros macros;
    CountingDecider decider;
    StrokeRecognizer recognizer(geometry, layout, timers, view, macros, decider);
    for (auto _ : state) {
        recognizer.Start(kLetterGrid, points.front(), false);
        for (std::size_t i = 1; i + 1 < points.size(); ++i) {
            recognizer.Move(points[i], false);
        }
        recognizer.End(points.back(), false);
    }
}
BENCHMARK(BM_RecogniseStroke);

} // namespace
