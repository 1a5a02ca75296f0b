// Strokes fed to the engine window type into a real edit control of another window: the
// whole path from points to synthesized input, with the real timers and SendInput.
#include "keyboard/win/GWMainEngine.h"

#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using wintest::TargetWindow;

// The view as far as the engine needs it here: it knows the focused window's thread.
class EditView : public gw::EngineViewPort {
public:
    explicit EditView(HWND edit) : thread_(::GetWindowThreadProcessId(edit, nullptr)) {}
    std::uint32_t FocusedWindowThread() const override { return thread_; }
    void InvalidateEditingArea() override {}
    void InvalidateView() override {}
    void MoveCursorTo(int, gw::Point) override {}
    void AddTracePoint(int, gw::Point) override {}
    void ClearTrace() override {}
    void SetExternalStrokeFlag() override {}
    void ClearExternalStrokeFlag() override {}
    void RefreshView() override {}
    void SetKeyboardStateHorizontal() override {}
    void SetKeyboardStateVertical() override {}
    void SetKeyboardStateNormal() override {}
    void ToggleBusyKeyboard() override {}
    void TapSystemKey() override {}
    void SizeDown() override {}
    void SizeUp() override {}
    void InvalidateArea(int) override {}
    void UpdatePicture() override {}
    void ExtensionKeyboardOn() override {}
    void ExtensionKeyboardOff() override {}
    void MinimizeMainWindow() override { ++minimized; }
    int minimized = 0;

private:
    std::uint32_t thread_;
};

class EngineTypingTest : public ::testing::Test {
protected:
    EngineTypingTest() : view(target.Edit()) {
        geometry.Compute(180, 180, gw::kNormal, true);
        engine.Create(nullptr, 0xE901);
        engine.SetViewPort(&view);
    }

    static gw::Point Centre(int key) {
        return {(key - 1) % 3 * 100 + 50, (key - 1) / 3 * 100 + 50};
    }
    void Stroke(int area, std::vector<gw::Point> points) {
        engine.StrokeStart(area, points.front().x, points.front().y, 0);
        for (std::size_t i = 1; i + 1 < points.size(); ++i)
            engine.StrokeMove(points[i].x, points[i].y, 0);
        engine.StrokeEnd(points.back().x, points.back().y, 0);
    }
    void Tap(int area, int key) { Stroke(area, {Centre(key), Centre(key)}); }
    void Drag(int area, int key, int dx, int dy) {
        const gw::Point c = Centre(key);
        Stroke(area, {c, {c.x + dx / 2, c.y + dy / 2}, {c.x + dx, c.y + dy}});
    }
    void DragReturn(int area, int key, int dx, int dy) {
        const gw::Point c = Centre(key);
        Stroke(area, {c,
                      {c.x + dx / 2, c.y + dy / 2},
                      {c.x + dx, c.y + dy},
                      {c.x + dx / 2, c.y + dy / 2},
                      c});
    }

    TargetWindow target;
    gw::KeyboardLayout layout;
    gw::KeyGeometry geometry;
    gw::CombineList combines{gw::BuiltInCombineList().begin(), gw::BuiltInCombineList().end()};
    EditView view;
    CGWMainEngine engine{layout, geometry, combines};
};

TEST_F(EngineTypingTest, StrokesTypeIntoTheFocusedEditControl) {
    ASSERT_TRUE(target.TakeFocus());
    Tap(gw::kLetterGrid, 8);               // e
    Drag(gw::kLetterGrid, 6, 0, -60);      // Shift for the next letter
    Tap(gw::kLetterGrid, 3);               // I
    DragReturn(gw::kLetterGrid, 5, 60, 0); // B
    Tap(gw::kSpaceArea, 1);                // space
    Drag(gw::kLetterGrid, 3, 42, 42);      // € (Unicode)
    Tap(gw::kLetterGrid, 1);               // a
    Drag(gw::kLetterGrid, 2, 42, -42);     // ´ combines with it: á
    Tap(gw::kLetterGrid, 5);               // o
    Tap(gw::kBackspaceArea, 1);            // and gone again
    Tap(gw::kNumberGrid, 7);               // 7
    EXPECT_TRUE(target.WaitForText(L"eIB \u20AC\u00E1"
                                   L"7"))
        << "got: " << target.Text().size();
    EXPECT_EQ(::GetForegroundWindow(), target.Frame());
}

TEST_F(EngineTypingTest, HoldingAKeyRepeatsThroughTheTimerThreads) {
    ASSERT_TRUE(target.TakeFocus());
    const gw::Point c = Centre(5);
    engine.StrokeStart(gw::kLetterGrid, c.x, c.y, 0);
    // The key delay (250..1000 ms) passes, then at least one repeat.
    ASSERT_TRUE(wintest::PumpUntil([&] { return target.Text().size() >= 2; }, 3000));
    engine.StrokeEnd(c.x, c.y, 0);
    const std::size_t typed = target.Text().size();
    wintest::PumpFor(300);
    EXPECT_EQ(target.Text().size(), typed) << "the repeat stops with the pen";
    EXPECT_EQ(target.Text(), std::wstring(typed, L'o'));
    EXPECT_FALSE(::GetAsyncKeyState('O') & 0x8000) << "the key was released";
}

} // namespace
