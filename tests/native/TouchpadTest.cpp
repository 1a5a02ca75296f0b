// The touchpad extension's logic: the key areas cut from the stored placement, the packet
// fields, and the packets turned into strokes of a recording keyboard.
#include "extensions/TouchpadTracker.h"

#include "shell/MemorySettingsStore.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>
#include <vector>

namespace gw {
namespace {

// The keyboard: it records what the touchpad asks of it; a tap on the system area switches
// the side, as the engine does in the Normal state.
class RecordingKeyboard : public TouchpadKeyboardPort {
public:
    void StrokeStart(int area, Point units) override {
        strokeArea = area;
        calls.push_back("start " + std::to_string(area) + " " + Text(units));
    }
    void StrokeMove(Point units) override { calls.push_back("move " + Text(units)); }
    void StrokeEnd(Point units) override {
        calls.push_back("end " + Text(units));
        if (strokeArea == kSystemArea)
            letterSide = !letterSide;
    }
    bool GetLetterSide() override { return letterSide; }
    bool GetExternalPointer() override { return externalPointer; }
    void SetExternalPointer(bool external) override {
        externalPointer = external;
        calls.push_back(external ? "external on" : "external off");
    }
    void SetStateAllowed(int state, bool allowed) override {
        calls.push_back("allow " + std::to_string(state) + (allowed ? " on" : " off"));
    }
    void SetKeyboardStateNormal() override { calls.push_back("normal"); }
    void ShowTouchCursor() override { calls.push_back("touch cursor"); }
    void ShowIdleCursor() override { calls.push_back("idle cursor"); }

    static std::string Text(Point p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
    // The calls since the last look, without the cursors.
    std::vector<std::string> Strokes() {
        std::vector<std::string> strokes;
        for (const std::string& call : calls) {
            if (call.starts_with("start") || call.starts_with("move") || call.starts_with("end"))
                strokes.push_back(call);
        }
        calls.clear();
        return strokes;
    }

    std::vector<std::string> calls;
    bool letterSide = true;
    bool externalPointer = true;
    int strokeArea = kNoArea;
};

constexpr std::uint16_t kThreshold = 40; // pressures above 80 touch
constexpr std::uint16_t kFirm = 120;
constexpr std::uint16_t kLight = 10;

class TouchpadTrackerTest : public ::testing::Test {
protected:
    TouchpadTrackerTest() { tracker.SetKeyboard(&keyboard); }

    void Packet(int x, int y, std::uint16_t z) {
        tracker.OnPacket(
            {kPacketFingerFlag, static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y), z, 0},
            true, kThreshold);
    }
    // A finger down at the first point, through the others, lifted at the last one.
    void Stroke(const std::vector<Point>& points) {
        for (const Point& p : points)
            Packet(p.x, p.y, kFirm);
        Packet(points.back().x, points.back().y, kLight);
    }

    RecordingKeyboard keyboard;
    TouchpadTracker tracker;
};

TEST(TouchpadKeyAreas, TheDefaultPlacementCutsFourColumnsAndRowsOfCells) {
    TouchpadKeyAreas areas;
    areas.Build({}, true);
    struct Expected {
        int area;
        TouchpadArea shape;
    };
    const Expected letterSide[] = {
        {kSpaceArea, {530, 1197, 1489, 1570, 960, 374, 2, true}},
        {kLetterGrid, {50, 75, 1489, 1196, 480, 374, 3, true}},
        {kEnterArea, {50, 75, 1489, 1196, 480, 374, 1, false}},
        {kBackspaceArea, {50, 1197, 529, 1570, 480, 374, 1, true}},
        {kNumberGrid, {50, 75, 1489, 1196, 480, 374, 3, false}},
        {kZeroKeyArea, {530, 1197, 1009, 1570, 480, 374, 1, false}},
        {kEditingArea, {1490, 75, 1969, 448, 480, 374, 1, true}},
        {kNavigationArea, {1490, 449, 1969, 822, 480, 374, 1, true}},
        {kSystemArea, {1490, 1197, 1969, 1570, 480, 374, 1, true}},
        {kFunctionArea, {1490, 823, 1969, 1196, 480, 374, 1, true}},
    };
    for (const Expected& e : letterSide)
        EXPECT_EQ(areas.Area(e.area), e.shape) << "area " << e.area;

    areas.Build({}, false);
    EXPECT_EQ(areas.Area(kSpaceArea), (TouchpadArea{1010, 1197, 1489, 1570, 480, 374, 1, true}));
    EXPECT_FALSE(areas.Area(kLetterGrid).enabled);
    EXPECT_TRUE(areas.Area(kNumberGrid).enabled);
    EXPECT_TRUE(areas.Area(kZeroKeyArea).enabled);
}

TEST(TouchpadKeyAreas, ThePlacementIsReadWithItsDefaultsAndWrittenBack) {
    MemorySettingsStore store;
    EXPECT_EQ(LoadTouchpadPlacement(store), TouchpadPlacement{});

    store.Set(kTouchpadXStartName, MemorySettingsStore::DwordValue(10));
    store.Set(kTouchpadYStartName, MemorySettingsStore::StringValue(u"20"));
    store.Set(kTouchpadWidthName, {MemorySettingsStore::kDword, {0x30, 0x01}});
    store.Set(kTouchpadHeightName, MemorySettingsStore::DwordValue(300));
    const TouchpadPlacement read = LoadTouchpadPlacement(store);
    EXPECT_EQ(read, (TouchpadPlacement{10, 75, 480, 300}));

    MemorySettingsStore written;
    SaveTouchpadPlacement(written, read);
    EXPECT_EQ(written.Dword(kTouchpadXStartName), 10u);
    EXPECT_EQ(written.Dword(kTouchpadYStartName), 75u);
    EXPECT_EQ(written.Dword(kTouchpadWidthName), 480u);
    EXPECT_EQ(written.Dword(kTouchpadHeightName), 300u);
    EXPECT_EQ(written.size(), 4u);
}

// Stored values nobody would choose still cut areas and give engine units, held to the range
// of an int, without overflow (the sanitizers of the native build would stop the test) and
// without a division by a cell of no size.
TEST(TouchpadKeyAreas, ExtremeStoredValuesNeitherOverflowNorDivideByZero) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr int kIntMax = std::numeric_limits<int>::max();
    struct Case {
        TouchpadPlacement placement;
        int found;   // the area of the point (0, 0)
        Point units; // (0, 0) in units of the letter grid
    };
    const Case cases[] = {
        {{kMax, kMax, kMax, kMax}, kLetterGrid, {-100, -100}},
        {{kMin, kMin, 1, 1}, kNoArea, {kIntMax, kIntMax}},
        {{0, 0, 0, 0}, kNoArea, {0, 0}},
        {{0, 0, -5, -5}, kNoArea, {0, 0}},
    };
    for (const Case& c : cases) {
        TouchpadKeyAreas areas;
        areas.Build(c.placement, true);
        EXPECT_EQ(areas.Find({0, 0}), c.found) << c.placement.xStart;
        EXPECT_EQ(areas.ToEngineUnits(kLetterGrid, {0, 0}), c.units) << c.placement.xStart;
    }
}

TEST(TouchpadPackets, TheFieldsAreReadFromTheirOffsets) {
    const std::array<std::uint8_t, kPacketSize> bytes = {0x06, 0xEE, 0xEE, 0xEE, 0x34, 0x12,
                                                         0x78, 0x56, 0xBC, 0x9A, 0x01, 0x00};
    const TouchpadPacket packet = ReadTouchpadPacket(bytes);
    EXPECT_EQ(packet.flags, 0x06);
    EXPECT_EQ(packet.x, 0x1234);
    EXPECT_EQ(packet.y, 0x5678);
    EXPECT_EQ(packet.z, 0x9ABC);
    EXPECT_EQ(packet.reserved, 1);
}

TEST_F(TouchpadTrackerTest, TheKeyboardsTopLeftCornerIsTheGridsOriginOnEitherSide) {
    Packet(50, 75, kFirm);
    EXPECT_EQ(keyboard.Strokes(), std::vector<std::string>{"start 1 0,0"});
    Packet(50, 75, kLight);
    keyboard.Strokes();

    keyboard.letterSide = false;
    Packet(50, 75, kFirm);
    EXPECT_EQ(keyboard.Strokes(), std::vector<std::string>{"start 4 0,0"});
}

// The search looks from the keyboard's corner, the units from the point itself.
TEST_F(TouchpadTrackerTest, APointAboveAndLeftOfTheKeyboardFindsTheGridWithNegativeUnits) {
    Packet(10, 10, kFirm);
    EXPECT_EQ(keyboard.Strokes(), std::vector<std::string>{"start 1 -8,-17"});
}

TEST_F(TouchpadTrackerTest, AStrokeStartsAboveTheThresholdAndEndsBelowIt) {
    const int limit = kThreshold * kPressureFactor;
    const auto z = [](int value) { return static_cast<std::uint16_t>(value); };
    Packet(290, 262, z(limit));
    EXPECT_TRUE(keyboard.Strokes().empty()) << "the threshold itself is no touch";
    Packet(290, 262, z(limit + 1));
    Packet(530, 262, z(limit));
    Packet(770, 262, z(limit - 1));
    EXPECT_EQ(keyboard.Strokes(),
              (std::vector<std::string>{"start 1 50,50", "move 100,50", "end 150,50"}));
    EXPECT_FALSE(tracker.StrokeInProgress());
}

// Once the stroke has its area, its points are taken relative to that area wherever they go.
TEST_F(TouchpadTrackerTest, UnitsFollowTheFingerBeyondTheStrokesArea) {
    Stroke({{1500, 100}, {2500, 40}, {1000, 2000}});
    EXPECT_EQ(keyboard.Strokes(), (std::vector<std::string>{"start 6 2,6", "move 210,-9",
                                                            "move -102,514", "end -102,514"}));
}

TEST_F(TouchpadTrackerTest, TheCursorShowsTheTouchUntilTheFingerLifts) {
    Stroke({{290, 262}});
    EXPECT_EQ(keyboard.calls, (std::vector<std::string>{"touch cursor", "start 1 50,50",
                                                        "idle cursor", "end 50,50"}));
}

// The last unit before the right column belongs to no area: the touch starts no stroke until
// the finger moves onto a key, and a finger lifted outside every area ends the touch.
TEST_F(TouchpadTrackerTest, ATouchBetweenTheGridAndTheRightColumnWaitsForAnArea) {
    const int edge = 50 + 3 * 480 - 1;
    Packet(edge, 262, kFirm);
    EXPECT_TRUE(keyboard.Strokes().empty());
    EXPECT_TRUE(tracker.StrokeInProgress());
    Packet(edge - 1, 262, kFirm);
    Packet(edge - 1, 262, kLight);
    EXPECT_EQ(keyboard.Strokes(), (std::vector<std::string>{"start 1 299,50", "end 299,50"}));

    Packet(edge, 262, kFirm);
    Packet(edge, 262, kLight);
    EXPECT_FALSE(tracker.StrokeInProgress());
    EXPECT_EQ(keyboard.calls.back(), "idle cursor");
    Packet(290, 262, kFirm);
    EXPECT_EQ(keyboard.Strokes(), std::vector<std::string>{"start 1 50,50"});
}

// A tap on the system area switches the side: the bottom row's middle cell is then the zero
// key, no longer the wide space key.
TEST_F(TouchpadTrackerTest, AStrokeThatSwitchesTheSideCutsTheAreasAgain) {
    const Point bottomMiddle{50 + 480 + 240, 75 + 3 * 374 + 187};
    Stroke({bottomMiddle});
    EXPECT_EQ(keyboard.Strokes().front(), "start 0 25,50");
    Stroke({{1490 + 240, 1197 + 187}});
    EXPECT_FALSE(keyboard.letterSide);
    keyboard.Strokes();
    Stroke({bottomMiddle});
    EXPECT_EQ(keyboard.Strokes().front(), "start 5 50,50");
}

TEST_F(TouchpadTrackerTest, ASideSwitchedOnTheScreenIsFollowedAtTheNextTouch) {
    keyboard.letterSide = false;
    Stroke({{290, 262}});
    EXPECT_EQ(keyboard.Strokes().front(), "start 4 50,50");
}

TEST_F(TouchpadTrackerTest, TheFirstPacketPutsTheKeyboardIntoTheNormalStateOnly) {
    keyboard.externalPointer = false;
    tracker.OnPacket({0, 0, 0, 0, 0}, false, kThreshold);
    const std::vector<std::string> prepared = {"allow 1 off", "allow 2 off", "allow 0 on", "normal",
                                               "external on"};
    EXPECT_EQ(keyboard.calls, prepared);
    keyboard.calls.clear();
    Packet(290, 262, kLight);
    EXPECT_TRUE(keyboard.calls.empty());

    keyboard.externalPointer = false; // the mouse took the keyboard back
    Packet(290, 262, kLight);
    EXPECT_EQ(keyboard.calls, prepared);
}

TEST_F(TouchpadTrackerTest, PacketsOfAnotherDeviceOrWithoutFingerDataAreIgnored) {
    const TouchpadPacket firm{kPacketFingerFlag, 290, 262, kFirm, 0};
    tracker.OnPacket(firm, false, kThreshold);
    tracker.OnPacket({0x01, 290, 262, kFirm, 0}, true, kThreshold);
    tracker.OnPacket({kPacketFingerFlag, 290, 262, kFirm, 1}, true, kThreshold);
    EXPECT_TRUE(keyboard.Strokes().empty());
    tracker.OnPacket({0xFF, 290, 262, kFirm, 0}, true, kThreshold);
    EXPECT_EQ(keyboard.Strokes(), std::vector<std::string>{"start 1 50,50"});
}

TEST_F(TouchpadTrackerTest, WithoutAKeyboardPacketsDoNothing) {
    tracker.SetKeyboard(nullptr);
    keyboard.externalPointer = false;
    Packet(290, 262, kFirm);
    EXPECT_TRUE(keyboard.calls.empty());
    EXPECT_FALSE(tracker.StrokeInProgress());
}

} // namespace
} // namespace gw
