// The keyboard view in a plain host window standing in for the main frame, driving the real
// engine. Real mouse strokes on the view type into another window's edit control, which keeps
// the focus; strokes on the system area switch side, state and size; the grip stretches the
// keyboard. The pictures of each state and size are rendered with every highlight and a trace,
// written as BMP files into the build tree (screenshots/) and checked pixel by pixel.
#include "keyboard/win/KeyboardView.h"
#include "framework/win/Bitmaps.h"
#include "resources/resource.h"
#include "shell/MainFrameGeometry.h"

#include "tests/win/Screenshots.h"
#include "tests/win/ViewHostWindow.h"
#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using wintest::Image;
using wintest::OnScreen;
using wintest::WriteBmp;

using wintest::PumpFor;

constexpr UINT kViewId = 0xE900;
constexpr UINT kEngineId = 0xE901;
constexpr gw::Point kAreaCentre{50, 50};
// A pixel colour no picture uses: the sentinel a rendering must paint over.
constexpr std::uint32_t kUnpainted = 0xFF00FF;

gw::Point KeyCentre(int key) {
    return {(key - 1) % 3 * 100 + 50, (key - 1) / 3 * 100 + 50};
}

// Stroke shapes in engine units: a tap, a straight drag of 60 units, a drag there and back.
std::vector<gw::Point> TapAt(gw::Point at) {
    return {at, at};
}
std::vector<gw::Point> DragFrom(gw::Point from, int direction) {
    static constexpr gw::Point kStep[8] = {{12, 0},  {9, -9}, {0, -12}, {-9, -9},
                                           {-12, 0}, {-9, 9}, {0, 12},  {9, 9}};
    std::vector<gw::Point> points;
    for (int i = 0; i <= 5; ++i)
        points.push_back({from.x + kStep[direction].x * i, from.y + kStep[direction].y * i});
    return points;
}
std::vector<gw::Point> DragAndBack(gw::Point from, int direction) {
    std::vector<gw::Point> points = DragFrom(from, direction);
    for (int i = static_cast<int>(points.size()) - 2; i >= 0; --i)
        points.push_back(points[static_cast<std::size_t>(i)]);
    return points;
}

int NormalHeight(int size) {
    return gw::kBuiltInNormalHeights[static_cast<std::size_t>(size - 1)];
}

using wintest::ClientSize;
using wintest::EdgeMetrics;
using wintest::HostWindow;
using wintest::WindowSize;

// The macro store's indicator, switched by the test.
class FakeMacros : public gw::MacroRecallPort {
public:
    std::u16string TypedBuffer() const override { return typed; }
    void ResetMatch() override { typed.clear(); }
    void OnTypedChar(char16_t ch) override { typed += ch; }
    bool MatchShown() const override { return matchShown; }
    bool RecallMacro(bool, bool) override { return false; }
    std::u16string typed;
    bool matchShown = false;
};

// A rendering or a picture as 0xRRGGBB pixels, top row first.

// The pixels in which two images of the same size differ.
int DifferentPixels(const Image& a, const Image& b) {
    if (a.width != b.width || a.height != b.height)
        return a.width * a.height + b.width * b.height;
    int different = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x)
            different += a.At(x, y) != b.At(x, y);
    }
    return different;
}

// What the view paints into a device context of the given size, over the sentinel colour.
Image Render(const CKeyboardView& view, SIZE size) {
    Image image{size.cx, size.cy, {}};
    BITMAPINFO info = TopDown32BitmapInfo(size.cx, size.cy);
    void* bits = nullptr;
    UniqueGdiObject bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!bitmap || !dc)
        return image;
    HGDIOBJ old = ::SelectObject(dc.Get(), bitmap.Get());
    auto* pixels = static_cast<std::uint32_t*>(bits);
    const std::size_t count = static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy);
    std::fill(pixels, pixels + count, kUnpainted);
    view.Render(dc.Get());
    ::GdiFlush();
    image.pixels.assign(pixels, pixels + count);
    ::SelectObject(dc.Get(), old);
    return image;
}

Image Render(const CKeyboardView& view, gw::Size size) {
    return Render(view, SIZE{size.width, size.height});
}

Image PixelsOf(const CKeyboardPicture& picture) {
    const gw::Size size = picture.Size();
    Image image{size.width, size.height,
                std::vector<std::uint32_t>(static_cast<std::size_t>(size.width) *
                                           static_cast<std::size_t>(size.height))};
    BITMAPINFO info = TopDown32BitmapInfo(size.width, size.height);
    WindowDc screen(nullptr);
    ::GetDIBits(screen.Get(), picture.Bitmap(), 0, static_cast<UINT>(size.height),
                image.pixels.data(), &info, DIB_RGB_COLORS);
    return image;
}

std::uint32_t Rgb(COLORREF colour) {
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

class KeyboardViewTest : public ::testing::Test {
protected:
    KeyboardViewTest() {
        engine.Create(nullptr, kEngineId);
        host.Create({100, 250});
        view.Create(host.GetSafeHwnd(), kViewId, L"");
        host.SetView(view.GetSafeHwnd());
        engine.SetView(&view);
        engine.Engine().SetMacroStore(&macros);
        view.SetMacroStore(&macros);
        view.SetFocusedWindow(target.Edit(), ::GetWindowThreadProcessId(target.Edit(), nullptr));
        host.ResizeForKeyboard(NormalHeight(static_cast<int>(settings.keyboardSize)));
        PumpFor(50);
    }
    ~KeyboardViewTest() override {
        engine.SetView(nullptr);
        engine.Engine().SetMacroStore(nullptr);
    }

    HWND View() const { return view.GetSafeHwnd(); }
    const CKeyboardPicture& Shown() const { return *view.Picture(view.CurrentPicture()); }
    gw::Size ShownSize() const { return Shown().Size(); }

    // The screen point of a point in engine units of an area, on the picture as shown.
    POINT ScreenPoint(int area, gw::Point units) const {
        const gw::Point pixel = geometry.FromEngineUnits(area, units);
        POINT p{pixel.x, pixel.y};
        if (view.IsStretched()) {
            const SIZE client = ClientSize(View());
            p.x = pixel.x * client.cx / ShownSize().width;
            p.y = pixel.y * client.cy / ShownSize().height;
        }
        ::ClientToScreen(View(), &p);
        return p;
    }
    // One real mouse event, taken by the view before the next one goes.
    static void Mouse(POINT at, DWORD flags) {
        wintest::SendMouse(at, flags);
        PumpFor(10);
    }
    // Button down at the first point, through the others, up at the last one.
    void MouseStroke(int area, const std::vector<gw::Point>& units) {
        Mouse(ScreenPoint(area, units.front()), MOUSEEVENTF_MOVE);
        Mouse(ScreenPoint(area, units.front()), MOUSEEVENTF_LEFTDOWN);
        for (std::size_t i = 1; i < units.size(); ++i)
            Mouse(ScreenPoint(area, units[i]), MOUSEEVENTF_MOVE);
        Mouse(ScreenPoint(area, units.back()), MOUSEEVENTF_LEFTUP);
        PumpFor(20);
    }
    // The same stroke handed to the engine directly, as the view hands it on.
    void EngineStroke(int area, const std::vector<gw::Point>& units) {
        engine.StrokeStart(area, units.front().x, units.front().y, 0);
        for (std::size_t i = 1; i + 1 < units.size(); ++i)
            engine.StrokeMove(units[i].x, units[i].y, 0);
        engine.StrokeEnd(units.back().x, units.back().y, 0);
        PumpFor(10);
    }

    // The window shows what the view paints now: every change repaints it.
    void ExpectOnScreenIsUpToDate() const {
        PumpFor(20);
        EXPECT_EQ(DifferentPixels(OnScreen(View()), Render(view, ClientSize(View()))), 0)
            << "pixels on the screen that are stale";
    }

    // The focus as the target's thread sees it: still in its edit control, its window active.
    void ExpectTargetKeepsTheFocus() const {
        GUITHREADINFO seen{};
        seen.cbSize = sizeof(seen);
        ASSERT_TRUE(::GetGUIThreadInfo(::GetWindowThreadProcessId(target.Edit(), nullptr), &seen));
        EXPECT_EQ(seen.hwndFocus, target.Edit());
        EXPECT_EQ(seen.hwndActive, target.Frame());
        EXPECT_EQ(::GetForegroundWindow(), target.Frame());
    }

    // The area under the middle of each cell, a row of digits per row of cells ('-': none).
    std::string AreaMap() const {
        const int columns = settings.keyboardState == gw::kNormal       ? 4
                            : settings.keyboardState == gw::kHorizontal ? 7
                                                                        : 3;
        const int rows = settings.keyboardState == gw::kVertical ? 9 : 4;
        const int cw = ShownSize().width / columns;
        const int ch = ShownSize().height / rows;
        std::string map;
        for (int row = 0; row < rows; ++row) {
            if (row > 0)
                map += ' ';
            for (int column = 0; column < columns; ++column) {
                const int area = geometry.HitTest({column * cw + cw / 2, row * ch + ch / 2});
                map += area == gw::kNoArea ? '-' : static_cast<char>('0' + area);
            }
        }
        return map;
    }

    // Shows a state and size as a switch of the frame would, without the switch's rules.
    void ShowKeyboard(gw::KeyboardState state, int size) {
        settings.keyboardState = state;
        settings.keyboardSize = static_cast<std::uint32_t>(size);
        host.ResizeForKeyboard(NormalHeight(size));
        view.ReloadPictures();
        PumpFor(10);
    }

    wintest::TargetWindow target;
    gw::AppSettings settings;
    gw::KeyboardLayout layout;
    gw::KeyGeometry geometry;
    gw::CombineList combines{gw::BuiltInCombineList().begin(), gw::BuiltInCombineList().end()};
    FakeMacros macros;
    CGWMainEngine engine{layout, geometry, combines};
    HostWindow host{settings, target.Frame()};
    CKeyboardView view{settings, layout, geometry, engine, host};
};

TEST_F(KeyboardViewTest, MouseStrokesTypeIntoTheTargetWhichKeepsTheFocus) {
    ASSERT_TRUE(target.TakeFocus());
    MouseStroke(gw::kLetterGrid, TapAt(KeyCentre(8)));                // e
    MouseStroke(gw::kLetterGrid, DragFrom(KeyCentre(5), gw::kE));     // b
    MouseStroke(gw::kLetterGrid, DragAndBack(KeyCentre(5), gw::kN));  // U
    MouseStroke(gw::kSpaceArea, TapAt(kAreaCentre));                  // space
    MouseStroke(gw::kLetterGrid, DragFrom(KeyCentre(1), gw::kSW));    // $
    MouseStroke(gw::kBackspaceArea, TapAt(kAreaCentre));              // and gone again
    MouseStroke(gw::kLetterGrid, DragFrom(KeyCentre(9), gw::kNW));    // f
    MouseStroke(gw::kLetterGrid, DragAndBack(KeyCentre(8), gw::kSE)); // „
    MouseStroke(gw::kEditingArea, DragAndBack(kAreaCentre, gw::kNW)); // nothing: a direction
    EXPECT_TRUE(target.WaitForText(L"ebU f\u201E")) << "got " << target.Text().size();
    ExpectTargetKeepsTheFocus();
    EXPECT_NE(::GetFocus(), View());
}

// A cursor given through the engine's interface becomes the view's own: the view shows it
// whenever it is asked for its cursor, until the mouse itself moves over it.
TEST_F(KeyboardViewTest, TheCursorGivenThroughTheEngineInterfaceStaysTheViewsCursor) {
    HCURSOR touch = ::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_TOUCH_CURSOR));
    ASSERT_NE(touch, nullptr);
    Mouse(ScreenPoint(gw::kLetterGrid, KeyCentre(5)), MOUSEEVENTF_MOVE);
    CGWMainEngineInterface& contract = engine;
    contract.SetViewCursor(touch);
    EXPECT_EQ(::GetCursor(), touch);
    ::SendMessageW(View(), WM_SETCURSOR, reinterpret_cast<WPARAM>(View()),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    PumpFor(20);
    EXPECT_EQ(::GetCursor(), touch);

    Mouse(ScreenPoint(gw::kLetterGrid, KeyCentre(1)), MOUSEEVENTF_MOVE);
    PumpFor(20);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(KeyboardViewTest, AHeldStrokeShowsItsTraceUntilThePenLifts) {
    ASSERT_TRUE(target.TakeFocus());
    const std::vector<gw::Point> stroke = DragFrom(KeyCentre(4), gw::kE);
    Mouse(ScreenPoint(gw::kLetterGrid, stroke.front()), MOUSEEVENTF_MOVE);
    Mouse(ScreenPoint(gw::kLetterGrid, stroke.front()), MOUSEEVENTF_LEFTDOWN);
    for (std::size_t i = 1; i < stroke.size(); ++i)
        Mouse(ScreenPoint(gw::kLetterGrid, stroke[i]), MOUSEEVENTF_MOVE);

    // One trace point for the press and each move, where the pen was (engine units round).
    const std::vector<gw::Point>& trace = view.Trace();
    ASSERT_EQ(trace.size(), stroke.size());
    const Image shown = Render(view, ShownSize());
    for (std::size_t i = 0; i < stroke.size(); ++i) {
        const gw::Point pen = geometry.FromEngineUnits(gw::kLetterGrid, stroke[i]);
        EXPECT_LE(std::abs(trace[i].x - pen.x), 1) << i;
        EXPECT_LE(std::abs(trace[i].y - pen.y), 1) << i;
        EXPECT_EQ(shown.At(trace[i].x, trace[i].y), Rgb(settings.traceColor)) << i;
    }
    ExpectTargetKeepsTheFocus();

    Mouse(ScreenPoint(gw::kLetterGrid, stroke.back()), MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(target.WaitForText(L"k"));
    EXPECT_TRUE(view.Trace().empty());
    EXPECT_FALSE(Render(view, ShownSize()).Has(Rgb(settings.traceColor)));
}

// Strokes on the system area, one after the other, and what each leaves shown.
struct SwitchStep {
    const char* stroke;
    int direction; // -1: a tap
    gw::KeyboardState state;
    int size;
    bool letterSide;
    gw::Size picture;
    const char* areas; // AreaMap()
};

constexpr const char* kNormalLetters = "1116 1117 1119 3008";
constexpr const char* kNormalNumbers = "4446 4447 4449 3508";
constexpr const char* kHorizontal = "1116444 1117444 1119444 3000258";
constexpr const char* kVertical = "679 111 111 111 300 444 444 444 558";

const SwitchStep kSwitchSteps[] = {
    {"tap: number side", -1, gw::kNormal, 3, false, {180, 180}, kNormalNumbers},
    {"tap: letter side", -1, gw::kNormal, 3, true, {180, 180}, kNormalLetters},
    {"east: Horizontal", gw::kE, gw::kHorizontal, 3, true, {315, 180}, kHorizontal},
    {"tap: back to Normal", -1, gw::kNormal, 3, true, {180, 180}, kNormalLetters},
    {"north-west: smaller", gw::kNW, gw::kNormal, 2, true, {148, 148}, kNormalLetters},
    {"north-west: smallest", gw::kNW, gw::kNormal, 1, true, {112, 112}, kNormalLetters},
    {"north-west: none smaller", gw::kNW, gw::kNormal, 1, true, {112, 112}, kNormalLetters},
    {"north: Vertical, at size 2", gw::kN, gw::kVertical, 2, true, {111, 333}, kVertical},
    {"south-east: larger", gw::kSE, gw::kVertical, 3, true, {135, 405}, kVertical},
    {"east: Horizontal", gw::kE, gw::kHorizontal, 3, true, {315, 180}, kHorizontal},
    {"south-east: larger", gw::kSE, gw::kHorizontal, 4, true, {420, 240}, kHorizontal},
    {"tap: Normal", -1, gw::kNormal, 4, true, {240, 240}, kNormalLetters},
    {"north-west: smaller", gw::kNW, gw::kNormal, 3, true, {180, 180}, kNormalLetters},
};

TEST_F(KeyboardViewTest, SystemAreaStrokesSwitchSideStateAndSize) {
    ASSERT_TRUE(target.TakeFocus());
    EXPECT_FALSE(gw::IsSizeAvailable(view.AvailableSizes(), gw::kVertical, 1));
    EXPECT_TRUE(gw::IsSizeAvailable(view.AvailableSizes(), gw::kVertical, 2));
    for (const SwitchStep& step : kSwitchSteps) {
        SCOPED_TRACE(step.stroke);
        const int relayouts = host.relayouts;
        const bool stateChanges = settings.keyboardState != static_cast<std::uint32_t>(step.state);
        MouseStroke(gw::kSystemArea, step.direction < 0 ? TapAt(kAreaCentre)
                                                        : DragFrom(kAreaCentre, step.direction));
        EXPECT_EQ(settings.keyboardState, static_cast<std::uint32_t>(step.state));
        EXPECT_EQ(settings.keyboardSize, static_cast<std::uint32_t>(step.size));
        EXPECT_EQ(engine.Engine().letterSide != 0, step.letterSide);
        const int expected = step.letterSide ? gw::kPicLowerCase : gw::kPicNumber;
        EXPECT_EQ(view.CurrentPicture(), expected);
        EXPECT_EQ(ShownSize(), step.picture);
        const SIZE client = ClientSize(View());
        EXPECT_EQ(client.cx, step.picture.width) << "the frame fits the picture";
        EXPECT_EQ(client.cy, step.picture.height);
        EXPECT_EQ(AreaMap(), step.areas);
        ExpectOnScreenIsUpToDate();
        if (stateChanges && step.state != gw::kNormal) {
            EXPECT_EQ(host.relayouts, relayouts + 1);
        }
        ExpectTargetKeepsTheFocus();
    }
    EXPECT_FALSE(view.IsStretched());
}

TEST_F(KeyboardViewTest, EveryStateTypesFromItsOwnKeys) {
    ASSERT_TRUE(target.TakeFocus());
    MouseStroke(gw::kSystemArea, TapAt(kAreaCentre)); // number side
    MouseStroke(gw::kNumberGrid, TapAt(KeyCentre(7)));
    MouseStroke(gw::kZeroKeyArea, TapAt(kAreaCentre));
    MouseStroke(gw::kSystemArea, TapAt(kAreaCentre)); // letter side
    MouseStroke(gw::kSystemArea, DragFrom(kAreaCentre, gw::kE));
    ASSERT_EQ(settings.keyboardState, gw::kHorizontal);
    MouseStroke(gw::kNumberGrid, TapAt(KeyCentre(3)));
    MouseStroke(gw::kLetterGrid, TapAt(KeyCentre(3)));
    MouseStroke(gw::kEnterArea, TapAt(kAreaCentre)); // a line break the single-line edit drops
    MouseStroke(gw::kSystemArea, DragFrom(kAreaCentre, gw::kN));
    ASSERT_EQ(settings.keyboardState, gw::kVertical);
    MouseStroke(gw::kNumberGrid, TapAt(KeyCentre(9)));
    MouseStroke(gw::kLetterGrid, TapAt(KeyCentre(9)));
    MouseStroke(gw::kZeroKeyArea, TapAt(kAreaCentre));
    EXPECT_TRUE(target.WaitForText(L"703i9s0")) << "got " << target.Text().size();
    ExpectTargetKeepsTheFocus();
}

TEST_F(KeyboardViewTest, ShiftAndTheBusySettingChooseThePicture) {
    ASSERT_TRUE(target.TakeFocus());
    struct Step {
        const char* stroke;
        int area;
        std::vector<gw::Point> points;
        int picture;
    };
    const Step steps[] = {
        {"space north: busy", gw::kSpaceArea, DragFrom(kAreaCentre, gw::kN), gw::kPicLowerBusy},
        {"key 6 north: Shift", gw::kLetterGrid, DragFrom(KeyCentre(6), gw::kN), gw::kPicUpperBusy},
        {"tap e: upper case used", gw::kLetterGrid, TapAt(KeyCentre(8)), gw::kPicLowerBusy},
        {"system tap: numbers", gw::kSystemArea, TapAt(kAreaCentre), gw::kPicNumber},
        {"space north: not here", gw::kSpaceArea, DragFrom(kAreaCentre, gw::kN), gw::kPicNumber},
        {"key 6 north: Shift", gw::kNumberGrid, DragFrom(KeyCentre(6), gw::kN),
         gw::kPicUpperNumber},
        {"key 6 south: cancelled", gw::kNumberGrid, DragFrom(KeyCentre(6), gw::kS), gw::kPicNumber},
        {"system tap: letters", gw::kSystemArea, TapAt(kAreaCentre), gw::kPicLowerBusy},
        {"space north: busy off", gw::kSpaceArea, DragFrom(kAreaCentre, gw::kN), gw::kPicLowerCase},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.stroke);
        MouseStroke(step.area, step.points);
        EXPECT_EQ(view.CurrentPicture(), step.picture);
        EXPECT_EQ(ShownSize(), (gw::Size{180, 180}));
        ExpectOnScreenIsUpToDate();
    }
    EXPECT_FALSE(settings.busyKeyboard);
    EXPECT_TRUE(target.WaitForText(L"E"));
}

TEST_F(KeyboardViewTest, TheGripResizesTheFrameAndStretchesThePicture) {
    ASSERT_TRUE(target.TakeFocus());
    const SIZE before = WindowSize(host.GetSafeHwnd());
    const int resizes = host.resizes;
    POINT grip{geometry.gripOrigin.x + 3, geometry.gripOrigin.y + 3};
    ::ClientToScreen(View(), &grip);
    Mouse(grip, MOUSEEVENTF_MOVE);
    Mouse(grip, MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(view.IsSizing());
    EXPECT_TRUE(view.IsStretched());
    EXPECT_EQ(host.sizeMovesEntered, 1);
    // The view puts the cursor just past the frame's corner; the frame follows from there.
    POINT corner{};
    ::GetCursorPos(&corner);
    Mouse({corner.x + 25, corner.y + 10}, MOUSEEVENTF_MOVE);
    Mouse({corner.x + 60, corner.y + 45}, MOUSEEVENTF_MOVE);
    Mouse({corner.x + 60, corner.y + 45}, MOUSEEVENTF_LEFTUP);
    EXPECT_FALSE(view.IsSizing());
    EXPECT_TRUE(view.IsStretched());
    EXPECT_EQ(host.sizeMovesExited, 1);
    const SIZE after = WindowSize(host.GetSafeHwnd());
    EXPECT_EQ(after.cx, before.cx + 60);
    EXPECT_EQ(after.cy, before.cy + 45);
    const SIZE client = ClientSize(View());
    EXPECT_EQ(client.cx, 240);
    EXPECT_EQ(client.cy, 225);
    ExpectOnScreenIsUpToDate();

    // The picture fills the larger client area, the trace is drawn where its points are shown.
    view.AddTracePoint(gw::kLetterGrid, KeyCentre(1));
    view.AddTracePoint(gw::kLetterGrid, KeyCentre(9));
    const Image stretched = Render(view, client);
    EXPECT_FALSE(stretched.Has(kUnpainted));
    for (int key : {1, 5, 9}) {
        const gw::Point c = geometry.FromEngineUnits(gw::kLetterGrid, KeyCentre(key));
        EXPECT_EQ(stretched.At(c.x * 240 / 180, c.y * 225 / 180), Rgb(settings.traceColor)) << key;
    }
    view.ClearTrace();

    // Strokes land on the stretched keys; a state switch leaves the frame's size alone.
    MouseStroke(gw::kLetterGrid, TapAt(KeyCentre(8)));
    MouseStroke(gw::kLetterGrid, DragFrom(KeyCentre(7), gw::kNE));
    MouseStroke(gw::kSystemArea, DragFrom(kAreaCentre, gw::kE));
    EXPECT_EQ(settings.keyboardState, gw::kHorizontal);
    EXPECT_EQ(ShownSize(), (gw::Size{315, 180}));
    EXPECT_EQ(host.resizes, resizes);
    EXPECT_EQ(WindowSize(host.GetSafeHwnd()).cx, after.cx);
    EXPECT_EQ(WindowSize(host.GetSafeHwnd()).cy, after.cy);
    ExpectOnScreenIsUpToDate();
    EXPECT_TRUE(WriteBmp(Render(view, client), "horizontal-3-stretched.bmp"));
    MouseStroke(gw::kNumberGrid, TapAt(KeyCentre(2)));
    EXPECT_TRUE(target.WaitForText(L"ey2"));
    ExpectTargetKeepsTheFocus();
}

// --- the pictures ---------------------------------------------------------------------------

struct PictureCase {
    gw::KeyboardState state;
    int size;
    gw::Size picture;
};

const PictureCase kPictureCases[] = {
    {gw::kNormal, 1, {112, 112}},     {gw::kNormal, 3, {180, 180}},
    {gw::kNormal, 6, {400, 400}},     {gw::kHorizontal, 1, {196, 112}},
    {gw::kHorizontal, 3, {315, 180}}, {gw::kHorizontal, 6, {700, 400}},
    {gw::kVertical, 3, {135, 405}},   {gw::kVertical, 6, {300, 900}},
};

std::string CaseName(const PictureCase& c) {
    const char* const states[] = {"normal", "horizontal", "vertical"};
    return std::string(states[c.state]) + "-" + std::to_string(c.size);
}

TEST_F(KeyboardViewTest, PicturesOfEveryStateAndSize) {
    struct Variant {
        const char* name;
        bool letterSide;
        bool busy;
        std::uint32_t indicator;
        int picture;
    };
    const Variant variants[] = {
        {"lower", true, false, gw::kIndicatorLower, gw::kPicLowerCase},
        {"upper", true, false, gw::kIndicatorOneShot, gw::kPicUpperCase},
        {"number", false, false, gw::kIndicatorLower, gw::kPicNumber},
        {"number-upper", false, false, gw::kIndicatorCaps, gw::kPicUpperNumber},
        {"busy", true, true, gw::kIndicatorLower, gw::kPicLowerBusy},
        {"busy-upper", true, true, gw::kIndicatorOneShot, gw::kPicUpperBusy},
    };
    gw::CharacterEngine& state = engine.Engine();
    for (const PictureCase& c : kPictureCases) {
        ShowKeyboard(c.state, c.size);
        for (const Variant& v : variants) {
            // The other states show both sides at once and have no busy pictures.
            if (c.state != gw::kNormal && (!v.letterSide || v.busy))
                continue;
            state.letterSide = v.letterSide ? 1 : 0;
            state.shiftIndicator = v.indicator;
            settings.busyKeyboard = v.busy;
            view.UpdatePicture();
            const std::string name = CaseName(c) + "-" + v.name;
            SCOPED_TRACE(name);
            EXPECT_EQ(view.CurrentPicture(), v.picture);
            EXPECT_EQ(ShownSize(), c.picture);
            const Image shown = Render(view, c.picture);
            EXPECT_TRUE(WriteBmp(shown, name + ".bmp"));
            // Without highlights and trace the rendering is the picture, every pixel of it.
            EXPECT_EQ(DifferentPixels(shown, PixelsOf(Shown())), 0);
        }
    }
    state.letterSide = 1;
    state.shiftIndicator = gw::kIndicatorLower;
    settings.busyKeyboard = false;
}

// Lets the target ignore the menu key: Alt pressed and released alone would start its keyboard
// menu loop, which waits for keys nobody sends.
LRESULT CALLBACK NoKeyMenu(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU)
        return 0;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

struct HighlightCase {
    const char* name;
    int picture;
    int rect; // gw::HighlightId
};

TEST_F(KeyboardViewTest, HighlightsArePaintedAtTheirRectangles) {
    ::SetWindowLongPtrW(target.Frame(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NoKeyMenu));
    ASSERT_TRUE(target.TakeFocus());
    gw::EngineSettings engineSettings;
    engineSettings.drawTrace = false; // the held stroke of the long drag leaves no trace
    engineSettings.maxDragMacros = true;
    engine.Engine().ApplySettings(engineSettings, settings.circleAreaRatio);

    const auto editing = [this](int direction, bool back) {
        EngineStroke(gw::kEditingArea,
                     back ? DragAndBack(kAreaCentre, direction) : DragFrom(kAreaCentre, direction));
    };
    const auto shiftKey = [this](int direction, bool back) {
        EngineStroke(gw::kLetterGrid, back ? DragAndBack(KeyCentre(6), direction)
                                           : DragFrom(KeyCentre(6), direction));
    };
    const auto windowsKey = [this] {
        EngineStroke(gw::kSystemArea, DragFrom(kAreaCentre, gw::kSW));
    };
    struct Toggle {
        HighlightCase highlight;
        std::function<void()> on;
        std::function<void()> off;
    };
    const Toggle toggles[] = {
        {{"alt-internal", gw::kPicAltInternal, gw::kAltHighlight},
         [&] { editing(gw::kNW, false); },
         [&] { editing(gw::kNW, false); }},
        {{"alt-external", gw::kPicAltExternal, gw::kAltHighlight},
         [&] { editing(gw::kNW, true); },
         [&] { editing(gw::kNW, true); }},
        {{"ctrl-internal", gw::kPicCtrlInternal, gw::kCtrlHighlight},
         [&] { editing(gw::kNE, false); },
         [&] { editing(gw::kNE, false); }},
        {{"ctrl-external", gw::kPicCtrlExternal, gw::kCtrlHighlight},
         [&] { editing(gw::kNE, true); },
         [&] { editing(gw::kNE, true); }},
        {{"shift-internal", gw::kPicShiftInternal, gw::kShiftHighlight},
         [&] { shiftKey(gw::kN, false); },
         [&] { shiftKey(gw::kS, false); }},
        {{"shift-external", gw::kPicShiftExternal, gw::kShiftHighlight},
         [&] { shiftKey(gw::kN, true); },
         [&] { shiftKey(gw::kS, false); }},
        {{"capslock-internal", gw::kPicCapsLockInternal, gw::kCapsLockHighlight},
         [&] {
             shiftKey(gw::kN, false);
             shiftKey(gw::kN, false);
         },
         [&] { shiftKey(gw::kS, false); }},
        {{"capslock-external", gw::kPicCapsLockExternal, gw::kCapsLockHighlight},
         [&] {
             shiftKey(gw::kN, true);
             shiftKey(gw::kN, true);
         },
         [&] { shiftKey(gw::kS, false); }},
        {{"windows-flag", gw::kPicWinFlag, gw::kWinFlagHighlight}, windowsKey, windowsKey},
        {{"memory-recall", gw::kPicMemRecall, gw::kMemoryHighlight},
         [&] { macros.matchShown = true; },
         [&] { macros.matchShown = false; }},
        {{"memory-store", gw::kPicMemStore, gw::kMemoryHighlight},
         [&] {
             // A drag held beyond the macro distance of a key whose macro matches.
             macros.matchShown = true;
             const gw::Point c = KeyCentre(5);
             engine.StrokeStart(gw::kLetterGrid, c.x, c.y, 0);
             engine.StrokeMove(c.x + 120, c.y, 0);
             engine.StrokeMove(c.x + 240, c.y, 0);
         },
         [&] {
             engine.StrokeEnd(KeyCentre(5).x + 240, KeyCentre(5).y, 0);
             macros.matchShown = false;
         }},
    };

    for (const PictureCase& c : kPictureCases) {
        ShowKeyboard(c.state, c.size);
        for (const Toggle& toggle : toggles) {
            const std::string name = CaseName(c) + "-" + toggle.highlight.name;
            SCOPED_TRACE(name);
            toggle.on();
            PumpFor(10);
            const Image shown = Render(view, c.picture);
            const Image picture = PixelsOf(Shown());
            const CKeyboardPicture* highlight = view.Picture(toggle.highlight.picture);
            const gw::Rect at =
                geometry.highlights[static_cast<std::size_t>(toggle.highlight.rect)];
            toggle.off();
            PumpFor(10);
            EXPECT_TRUE(WriteBmp(shown, name + ".bmp"));
            ASSERT_NE(highlight, nullptr);
            const Image mark = PixelsOf(*highlight);
            ASSERT_EQ(mark.width, at.right - at.left);
            ASSERT_EQ(mark.height, at.bottom - at.top);
            ASSERT_LE(at.right, c.picture.width);
            ASSERT_LE(at.bottom, c.picture.height);
            int outsideWrong = 0;
            int insideWrong = 0;
            int insideChanged = 0;
            for (int y = 0; y < shown.height; ++y) {
                for (int x = 0; x < shown.width; ++x) {
                    const bool inside =
                        x >= at.left && x < at.right && y >= at.top && y < at.bottom;
                    if (!inside) {
                        outsideWrong += shown.At(x, y) != picture.At(x, y);
                        continue;
                    }
                    insideWrong += shown.At(x, y) != mark.At(x - at.left, y - at.top);
                    insideChanged += shown.At(x, y) != picture.At(x, y);
                }
            }
            EXPECT_EQ(outsideWrong, 0) << "only the highlight's rectangle changes";
            EXPECT_EQ(insideWrong, 0) << "the rectangle shows the highlight picture";
            EXPECT_GT(insideChanged, mark.width * mark.height / 4) << "the highlight stands out";
        }
        EXPECT_EQ(engine.Engine().Modifiers().shiftMode, gw::kShiftOff);
        EXPECT_EQ(engine.Engine().Modifiers().altState, gw::kLatchOff);
        EXPECT_EQ(engine.Engine().Modifiers().ctrlState, gw::kLatchOff);
    }
    EXPECT_TRUE(target.Text().empty()) << "the highlights typed nothing";
    EXPECT_FALSE(::GetKeyState(VK_CAPITAL) & 1) << "Caps Lock is off again";
}

TEST_F(KeyboardViewTest, TheTraceIsDrawnAlongItsPoints) {
    const COLORREF colours[] = {settings.traceColor, RGB(40, 255, 40)};
    for (const PictureCase& c : kPictureCases) {
        ShowKeyboard(c.state, c.size);
        for (COLORREF colour : colours) {
            const std::string name = CaseName(c) + (colour == colours[0] ? "-trace" : "-trace2");
            SCOPED_TRACE(name);
            settings.traceColor = colour;
            const std::vector<gw::Point> units = {KeyCentre(1), {90, 120},    KeyCentre(5),
                                                  {230, 170},   KeyCentre(9), {260, 280}};
            for (const gw::Point& u : units)
                view.AddTracePoint(gw::kLetterGrid, u);
            const Image shown = Render(view, c.picture);
            const std::vector<gw::Point> trace = view.Trace();
            view.ClearTrace();
            EXPECT_TRUE(WriteBmp(shown, name + ".bmp"));
            const std::uint32_t rgb = Rgb(colour);
            ASSERT_FALSE(PixelsOf(Shown()).Has(rgb)) << "the picture has no pixel of the trace";
            ASSERT_EQ(trace.size(), units.size());
            // The dot around the first point, then the line through every point.
            const int half = gw::TraceDotHalfSize(c.size);
            int dotWrong = 0;
            for (int y = trace[0].y - half; y < trace[0].y + half; ++y) {
                for (int x = trace[0].x - half; x < trace[0].x + half; ++x)
                    dotWrong += shown.At(x, y) != rgb;
            }
            EXPECT_EQ(dotWrong, 0);
            for (std::size_t i = 1; i < trace.size(); ++i) {
                for (int step = 0; step <= 8; ++step) {
                    const int x = trace[i - 1].x + (trace[i].x - trace[i - 1].x) * step / 8;
                    const int y = trace[i - 1].y + (trace[i].y - trace[i - 1].y) * step / 8;
                    EXPECT_EQ(shown.At(x, y), rgb) << "segment " << i << " at " << x << "," << y;
                }
            }
        }
    }
    settings.traceColor = gw::kWhite;
}

} // namespace
