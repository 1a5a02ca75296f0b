// Cost of one typical stroke: recognised alone, and end to end through the engine's decision
// and the keystroke output into a recording port; both against merely copying its points.
#include "keyboard/CharacterEngine.h"
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

// Records the key events; answers key states and layouts as a plain US-English system.
class RecordingKeyboard : public KeyEventPort, public KeyStatePort {
public:
    void Send(const KeyInput& input) override { events.push_back(input); }
    bool IsKeyDown(std::uint8_t) const override { return false; }
    bool IsKeyToggled(std::uint8_t) const override { return false; }
    KeyboardLayoutId ThreadLayout(std::uint32_t) const override { return 0x04090409; }
    void ActivateLayout(KeyboardLayoutId) override {}
    std::int16_t ScanCharacter(char16_t ch, KeyboardLayoutId) const override {
        return ch >= u'a' && ch <= u'z' ? static_cast<std::int16_t>(ch - 32) : -1;
    }
    std::uint16_t ScanCode(std::uint8_t key, KeyboardLayoutId) const override { return key; }
    KeyboardLayoutId LoadUsEnglishLayout() override { return 0x04090409; }
    std::vector<KeyInput> events;
};

void BM_StrokeToKeyEvents(benchmark::State& state) {
    const std::vector<Point> points = TypicalStroke();
    KeyGeometry geometry;
    KeyboardLayout layout;
    CombineList combines(BuiltInCombineList().begin(), BuiltInCombineList().end());
    NullTimers timers;
    RecordingKeyboard keyboard;
    keyboard.events.reserve(16);
    CharacterEngine engine(layout, geometry, combines, keyboard, keyboard, timers);
    for (auto _ : state) {
        keyboard.events.clear();
        engine.StrokeStart(kLetterGrid, points.front(), false);
        for (std::size_t i = 1; i + 1 < points.size(); ++i) {
            engine.StrokeMove(points[i], false);
        }
        engine.StrokeEnd(points.back(), false);
        benchmark::DoNotOptimize(keyboard.events.data());
    }
    if (keyboard.events.empty())
        state.SkipWithError("the stroke typed nothing");
}
BENCHMARK(BM_StrokeToKeyEvents);

} // namespace
