// The view's picture choice, trace pen, highlights, available sizes and the state, size, side
// and busy switches.
#include "keyboard/KeyboardViewRules.h"
#include "keyboard/KeyboardSwitcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gw {
namespace {

TEST(ChoosePicture, FollowsStateSideBusyAndShift) {
    struct Case {
        KeyboardState state;
        bool letterSide;
        bool busy;
        std::uint32_t indicator;
        int picture;
    };
    const Case cases[] = {
        {kNormal, true, false, 0, kPicLowerCase},     {kNormal, true, false, 1, kPicUpperCase},
        {kNormal, true, false, 2, kPicUpperCase},     {kNormal, false, false, 0, kPicNumber},
        {kNormal, false, true, 1, kPicUpperNumber},   {kNormal, false, true, 0, kPicNumber},
        {kNormal, true, true, 0, kPicLowerBusy},      {kNormal, true, true, 2, kPicUpperBusy},
        {kHorizontal, false, true, 0, kPicLowerCase}, {kHorizontal, true, false, 1, kPicUpperCase},
        {kVertical, false, true, 2, kPicUpperCase},   {kVertical, true, true, 0, kPicLowerCase},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChoosePicture(c.state, c.letterSide, c.busy, c.indicator), c.picture)
            << "state " << c.state << " letter side " << c.letterSide << " busy " << c.busy
            << " indicator " << c.indicator;
    }
}

TEST(TracePen, DotAndWidthPerSize) {
    const int halfSizes[] = {2, 3, 4, 4, 4, 4};
    const int widths[] = {2, 2, 3, 3, 3, 3};
    for (int size = 1; size <= kSizeCount; ++size) {
        EXPECT_EQ(TraceDotHalfSize(size), halfSizes[size - 1]) << size;
        EXPECT_EQ(TraceLineWidth(size), widths[size - 1]) << size;
    }
    EXPECT_EQ(TraceDotHalfSize(0), 2);
    EXPECT_EQ(TraceLineWidth(9), 3);
}

class HighlightsTest : public ::testing::Test {
protected:
    HighlightsTest() { geometry.Compute(180, 180, kNormal, true); }
    Rect At(int highlight) const {
        return geometry.highlights[static_cast<std::size_t>(highlight)];
    }
    std::vector<HighlightDraw> Draws() const {
        return HighlightsToDraw(modifiers, longDrag, matchShown, geometry);
    }
    KeyGeometry geometry;
    OutputState modifiers;
    bool longDrag = false;
    bool matchShown = false;
};

TEST_F(HighlightsTest, NothingWithoutModifiers) {
    EXPECT_TRUE(Draws().empty());
}

TEST_F(HighlightsTest, EachStateHasItsPictureAtItsRectangle) {
    // Size 3, Normal: the editing area starts at (135, 0), the letter grid at (0, 0), the
    // system area at (135, 135).
    EXPECT_EQ(At(kAltHighlight), (Rect{136, 1, 151, 14}));
    EXPECT_EQ(At(kWinFlagHighlight), (Rect{136, 165, 151, 178}));

    struct Case {
        const char* name;
        OutputState state;
        HighlightDraw draw;
    };
    auto with = [](auto set) {
        OutputState s;
        set(s);
        return s;
    };
    const Case cases[] = {
        {"Alt one-shot",
         with([](OutputState& s) { s.altState = kLatchOneShot; }),
         {kPicAltInternal, At(kAltHighlight)}},
        {"Alt held",
         with([](OutputState& s) { s.altState = kLatchHeld; }),
         {kPicAltExternal, At(kAltHighlight)}},
        {"Ctrl one-shot",
         with([](OutputState& s) { s.ctrlState = kLatchOneShot; }),
         {kPicCtrlInternal, At(kCtrlHighlight)}},
        {"Ctrl held",
         with([](OutputState& s) { s.ctrlState = kLatchHeld; }),
         {kPicCtrlExternal, At(kCtrlHighlight)}},
        {"Shift one-shot",
         with([](OutputState& s) { s.shiftMode = kShiftOneShot; }),
         {kPicShiftInternal, At(kShiftHighlight)}},
        {"Shift held",
         with([](OutputState& s) { s.shiftMode = kShiftHeld; }),
         {kPicShiftExternal, At(kShiftHighlight)}},
        {"caps",
         with([](OutputState& s) { s.shiftMode = kShiftCaps; }),
         {kPicCapsLockInternal, At(kCapsLockHighlight)}},
        {"Caps Lock",
         with([](OutputState& s) { s.shiftMode = kShiftCapsLock; }),
         {kPicCapsLockExternal, At(kCapsLockHighlight)}},
        {"Windows",
         with([](OutputState& s) { s.windowsOneShot = 1; }),
         {kPicWinFlag, At(kWinFlagHighlight)}},
    };
    for (const Case& c : cases) {
        modifiers = c.state;
        EXPECT_EQ(Draws(), std::vector<HighlightDraw>{c.draw}) << c.name;
    }
}

TEST_F(HighlightsTest, MemoryIndicatorPrefersThePendingLongDragAndPaintsFirst) {
    matchShown = true;
    EXPECT_EQ(Draws(), (std::vector<HighlightDraw>{{kPicMemRecall, At(kMemoryHighlight)}}));
    longDrag = true;
    modifiers.altState = kLatchOneShot;
    modifiers.ctrlState = kLatchHeld;
    modifiers.shiftMode = kShiftCaps;
    modifiers.windowsOneShot = 1;
    const std::vector<HighlightDraw> expected = {
        {kPicMemStore, At(kMemoryHighlight)},   {kPicAltInternal, At(kAltHighlight)},
        {kPicCtrlExternal, At(kCtrlHighlight)}, {kPicCapsLockInternal, At(kCapsLockHighlight)},
        {kPicWinFlag, At(kWinFlagHighlight)},
    };
    EXPECT_EQ(Draws(), expected);
}

// Frame margins that make the test's arithmetic easy: a picture needs 20 more pixels of width
// and 40 more of height.
constexpr FrameMargins kMargins = {5, 3, 2, 15, 5};

TEST(AvailableSizes, BuiltInPicturesAgainstTheWorkArea) {
    const PictureSizeSource builtIn = [](KeyboardState state, int size) {
        return BuiltInPictureSize(state, size);
    };
    // Vertical size 6 is 300 x 900: it needs a work area 940 high.
    AvailableSizes sizes = ComputeAvailableSizes(builtIn, {1280, 940}, kMargins);
    EXPECT_EQ(sizes[kNormal], 0b111111u);
    EXPECT_EQ(sizes[kHorizontal], 0b111111u);
    EXPECT_EQ(sizes[kVertical], 0b111110u) << "no Vertical picture at size 1";

    sizes = ComputeAvailableSizes(builtIn, {1280, 939}, kMargins);
    EXPECT_EQ(sizes[kVertical], 0b011110u);

    // Horizontal size 5 is 525 wide (needs 545), size 6 700 (needs 720).
    sizes = ComputeAvailableSizes(builtIn, {719, 600}, kMargins);
    EXPECT_EQ(sizes[kHorizontal], 0b011111u);
    EXPECT_EQ(sizes[kNormal], 0b111111u);
    EXPECT_EQ(sizes[kVertical], 0b001110u) << "9q + 40 <= 600 up to size 4 only";
}

TEST(AvailableSizes, ALanguagePictureMakesVerticalSizeOneAvailable) {
    const PictureSizeSource withFile = [](KeyboardState state, int size) {
        if (state == kVertical && size == 1)
            return Size{84, 252};
        return BuiltInPictureSize(state, size);
    };
    EXPECT_EQ(ComputeAvailableSizes(withFile, {1280, 1024}, kMargins)[kVertical], 0b111111u);
}

TEST(SettleSize, KeepsThenSmallerThenLarger) {
    AvailableSizes available{0b111111u, 0b001100u, 0b000000u};
    EXPECT_EQ(SettleSize(available, kNormal, 4), 4);
    EXPECT_EQ(SettleSize(available, kHorizontal, 6), 4) << "largest smaller";
    EXPECT_EQ(SettleSize(available, kHorizontal, 1), 3) << "smallest larger";
    EXPECT_EQ(SettleSize(available, kVertical, 5), 5) << "none available: unchanged";
    EXPECT_FALSE(IsSizeAvailable(available, kNormal, 0));
    EXPECT_FALSE(IsSizeAvailable(available, kNormal, 7));
    EXPECT_FALSE(IsSizeAvailable(available, 3, 1));
}

// Records what the switches ask of the view and the frame.
class RecordingPort : public KeyboardSwitchPort {
public:
    explicit RecordingPort(const AppSettings& settings) : settings_(settings) {}
    bool IsStateAllowed(int state) const override { return (allowed >> state) & 1u; }
    void SaveSettings() override {
        Log("save " + std::to_string(settings_.keyboardState) + "/" +
            std::to_string(settings_.keyboardSize));
    }
    void LoadPictures() override {
        Log("load " + std::to_string(settings_.keyboardState) + "/" +
            std::to_string(settings_.keyboardSize));
    }
    void UpdatePicture() override { Log("update"); }
    void ResizeFrame(int height) override { Log("resize " + std::to_string(height)); }
    void RelayoutFrame() override { Log("relayout"); }
    void Repaint() override { Log("repaint"); }

    std::uint32_t allowed = 0b111;
    std::vector<std::string> calls;

private:
    void Log(std::string call) { calls.push_back(std::move(call)); }
    const AppSettings& settings_;
};

class SwitcherTest : public ::testing::Test {
protected:
    SwitcherTest() { switcher.available = {0b111111u, 0b111111u, 0b111110u}; }
    AppSettings settings;
    RecordingPort port{settings};
    KeyboardSwitcher switcher{settings, port};
    using Calls = std::vector<std::string>;
};

TEST_F(SwitcherTest, StateSwitchSavesResizesReloadsAndRelayouts) {
    ASSERT_TRUE(switcher.SetState(kHorizontal));
    EXPECT_EQ(settings.keyboardState, 1u);
    EXPECT_EQ(port.calls,
              (Calls{"save 1/3", "resize 180", "load 1/3", "update", "relayout", "repaint"}));
    port.calls.clear();
    ASSERT_TRUE(switcher.SetState(kNormal));
    EXPECT_EQ(port.calls, (Calls{"save 0/3", "resize 180", "load 0/3", "update", "repaint"}))
        << "no relayout for Normal";
}

TEST_F(SwitcherTest, SameOrRefusedStateChangesNothing) {
    EXPECT_FALSE(switcher.SetState(kNormal));
    port.allowed = 0b101;
    EXPECT_FALSE(switcher.SetState(kHorizontal));
    EXPECT_TRUE(port.calls.empty());
    EXPECT_EQ(settings.keyboardState, 0u);
}

TEST_F(SwitcherTest, VerticalAtSizeOneGoesToSizeTwoFirst) {
    settings.keyboardSize = 1;
    ASSERT_TRUE(switcher.SetState(kVertical));
    EXPECT_EQ(settings.keyboardSize, 2u);
    EXPECT_EQ(port.calls, (Calls{"save 0/2", "load 0/2", "resize 148", "save 2/2", "resize 148",
                                 "load 2/2", "update", "relayout", "repaint"}));
}

TEST_F(SwitcherTest, UnavailableSizeSettlesAfterTheSwitch) {
    settings.keyboardSize = 6;
    switcher.available[kVertical] = 0b000110u; // only sizes 2 and 3 fit
    ASSERT_TRUE(switcher.SetState(kVertical));
    EXPECT_EQ(settings.keyboardSize, 3u);
    EXPECT_EQ(port.calls, (Calls{"save 2/6", "resize 400", "load 2/6", "update", "save 2/3",
                                 "load 2/3", "resize 180", "relayout", "repaint"}));
}

TEST_F(SwitcherTest, AfterAGripResizeStateSwitchesLeaveTheFrameAlone) {
    switcher.stretched = true;
    settings.keyboardSize = 1;
    ASSERT_TRUE(switcher.SetState(kVertical));
    for (const std::string& call : port.calls)
        EXPECT_NE(call.rfind("resize", 0), 0u) << call;
    EXPECT_EQ(settings.keyboardSize, 2u);
}

TEST_F(SwitcherTest, SizeStepsOnlyToAvailableNeighbours) {
    ASSERT_TRUE(switcher.SizeUp());
    EXPECT_EQ(port.calls, (Calls{"save 0/4", "load 0/4", "resize 240"}));
    settings.keyboardSize = 6;
    EXPECT_FALSE(switcher.SizeUp());
    settings.keyboardSize = 1;
    EXPECT_FALSE(switcher.SizeDown());
    settings.keyboardState = kVertical;
    settings.keyboardSize = 2;
    EXPECT_FALSE(switcher.SizeDown()) << "Vertical has no size 1";
    switcher.available[kVertical] = 0b011110u;
    settings.keyboardSize = 5;
    EXPECT_FALSE(switcher.SizeUp()) << "size 6 does not fit";
    ASSERT_TRUE(switcher.SizeDown());
    EXPECT_EQ(settings.keyboardSize, 4u);
}

TEST_F(SwitcherTest, SystemTapFlipsTheSideInNormalAndReturnsToNormalOtherwise) {
    std::uint8_t letterSide = 1;
    switcher.TapSystemKey(letterSide);
    EXPECT_EQ(letterSide, 0);
    EXPECT_EQ(port.calls, (Calls{"update"}));
    switcher.TapSystemKey(letterSide);
    EXPECT_EQ(letterSide, 1);

    settings.keyboardState = kHorizontal;
    port.calls.clear();
    switcher.TapSystemKey(letterSide);
    EXPECT_EQ(settings.keyboardState, 0u);
    EXPECT_EQ(letterSide, 1) << "the side stays";
    EXPECT_EQ(port.calls.front(), "save 0/3");
}

TEST_F(SwitcherTest, BusyPictureOnlyInNormalAwayFromTheNumberSide) {
    ASSERT_TRUE(switcher.ToggleBusyKeyboard(kPicLowerCase));
    EXPECT_TRUE(settings.busyKeyboard);
    EXPECT_EQ(port.calls, (Calls{"save 0/3", "update"}));
    ASSERT_TRUE(switcher.ToggleBusyKeyboard(kPicLowerBusy));
    EXPECT_FALSE(settings.busyKeyboard);
    EXPECT_FALSE(switcher.ToggleBusyKeyboard(kPicNumber));
    EXPECT_FALSE(switcher.ToggleBusyKeyboard(kPicUpperNumber));
    settings.keyboardState = kHorizontal;
    EXPECT_FALSE(switcher.ToggleBusyKeyboard(kPicLowerCase));
    EXPECT_FALSE(settings.busyKeyboard);
}

} // namespace
} // namespace gw
