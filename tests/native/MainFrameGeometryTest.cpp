// The main frame's geometry: window sizes per state and size, the alpha table, the corner it
// remembers, the snaps after a resize, the resize by the border and the tracking limits.
#include "shell/MainFrameGeometry.h"

#include <gtest/gtest.h>

#include <limits>

namespace gw {
namespace {

// Distinct values, so that a metric taken for another shows: Bx = 2 (4 + 2) = 12 and
// By = 2 (5 + 3) + 18 + 20 = 54.
constexpr FrameMetrics kMetrics = {/*cyMenu*/ 20, /*cyCaption*/ 18, /*cyFrame*/ 5,
                                   /*cxFrame*/ 4, /*cxEdge*/ 3,     /*cyEdge*/ 2};

TEST(MainFrameWindowSize, EverySizeAndStateFitsThePictureInsideTheFrame) {
    EXPECT_EQ(FrameExtraWidth(kMetrics), 12);
    EXPECT_EQ(FrameExtraHeight(kMetrics), 54);
    // Normal S x S, Horizontal 7q x S, Vertical 3q x 9q (q = S / 4), plus Bx and By.
    const Size expected[kStateCount][kSizeCount] = {
        {{124, 166}, {160, 202}, {192, 234}, {252, 294}, {312, 354}, {412, 454}},
        {{208, 166}, {271, 202}, {327, 234}, {432, 294}, {537, 354}, {712, 454}},
        {{96, 306}, {123, 387}, {147, 459}, {192, 594}, {237, 729}, {312, 954}},
    };
    for (std::uint32_t state = 0; state < kStateCount; ++state) {
        for (std::uint32_t size = 1; size <= kSizeCount; ++size) {
            const Size window = WindowSizeForKeyboard(state, size, kMetrics);
            EXPECT_EQ(window, expected[state][size - 1]) << "state " << state << " size " << size;
            // The client area is the built-in picture of that state and size, where one exists.
            const Size picture =
                BuiltInPictureSize(static_cast<KeyboardState>(state), static_cast<int>(size));
            if (picture.width != 0) {
                EXPECT_EQ(window, (Size{picture.width + 12, picture.height + 54}))
                    << "state " << state << " size " << size;
            }
        }
    }
}

TEST(MainFrameWindowSize, StoredValuesOutsideTheirRangesStayUsable) {
    EXPECT_EQ(WindowSizeForKeyboard(7, 3, kMetrics), WindowSizeForKeyboard(kNormal, 3, kMetrics));
    EXPECT_EQ(WindowSizeForKeyboard(kVertical, 0, kMetrics),
              WindowSizeForKeyboard(kVertical, 1, kMetrics));
    EXPECT_EQ(WindowSizeForKeyboard(kHorizontal, 9, kMetrics),
              WindowSizeForKeyboard(kHorizontal, 6, kMetrics));
}

TEST(MainFrameMargins, APictureFitsExactlyWhenItsWholeWindowFits) {
    for (std::uint32_t state = 0; state < kStateCount; ++state) {
        for (int size = 1; size <= kSizeCount; ++size) {
            const Size picture = BuiltInPictureSize(static_cast<KeyboardState>(state), size);
            if (picture.width == 0)
                continue;
            const Size window =
                WindowSizeForKeyboard(state, static_cast<std::uint32_t>(size), kMetrics);
            const FrameMargins margins = MainFrameMargins(kMetrics);
            EXPECT_TRUE(SizeFitsWorkArea(picture, window, margins)) << state << "/" << size;
            EXPECT_FALSE(SizeFitsWorkArea(picture, {window.width - 1, window.height}, margins));
            EXPECT_FALSE(SizeFitsWorkArea(picture, {window.width, window.height - 1}, margins));
        }
    }
    // An odd caption and menu height is rounded up: the window never sticks out.
    FrameMetrics odd = kMetrics;
    odd.cyCaption = 19;
    const Size window = WindowSizeForPicture(kNormal, 180, odd);
    EXPECT_FALSE(SizeFitsWorkArea({180, 180}, window, MainFrameMargins(odd)));
    EXPECT_TRUE(
        SizeFitsWorkArea({180, 180}, {window.width, window.height + 1}, MainFrameMargins(odd)));
}

TEST(MainFrameAlpha, TransparencySteps) {
    const int expected[] = {255, 229, 204, 178, 153, 127, 102, 76, 51, 25};
    for (std::uint32_t t = 0; t <= 90; t += 10)
        EXPECT_EQ(AlphaForTransparency(t), expected[t / 10]) << t;
    EXPECT_EQ(AlphaForTransparency(35), 165); // between the steps the formula still holds
    // A stored value beyond the menu's steps must not make the window invisible.
    EXPECT_EQ(AlphaForTransparency(100), 25);
    EXPECT_EQ(AlphaForTransparency(250), 25);
    EXPECT_EQ(AlphaForTransparency(std::numeric_limits<std::uint32_t>::max()), 25);
}

// A work area that does not start at the screen's origin (a task bar at the left and top).
constexpr PixelRect kWork = {100, 50, 1124, 818};

AppSettings Corner(std::uint32_t corner, int horiz, int vert) {
    AppSettings settings;
    settings.closestCorner = corner;
    settings.horizDistToClosestEdge = horiz;
    settings.vertDistToClosestEdge = vert;
    return settings;
}

TEST(PlaceAtClosestCorner, DistancesAreFromTheRememberedCorner) {
    struct Case {
        std::uint32_t corner;
        Point topLeft;
    };
    const Case cases[] = {
        {0, {110, 60}},   // top-left: (work.left, work.top) + (10, 10)
        {1, {1134, 60}},  // top-right: work.right
        {2, {110, 828}},  // bottom-left: work.bottom
        {3, {1134, 828}}, // bottom-right
    };
    for (const Case& c : cases) {
        const CornerPlacement placed = PlaceAtClosestCorner(kWork, Corner(c.corner, 10, 10));
        EXPECT_TRUE(placed.knownCorner) << c.corner;
        EXPECT_EQ(placed.topLeft, c.topLeft) << c.corner;
    }
    const CornerPlacement unknown = PlaceAtClosestCorner(kWork, Corner(4, 10, 10));
    EXPECT_FALSE(unknown.knownCorner);
    EXPECT_EQ(unknown.topLeft, (Point{0, 0}));
}

TEST(RecordClosestCorner, NearestCornerAndDistancesTiesGoRightAndDown) {
    struct Case {
        const char* what;
        PixelRect window; // 200 x 300 unless said otherwise
        std::uint32_t corner;
        int horiz;
        int vert;
    };
    const Case cases[] = {
        {"10 from the left, 200 from the top", {110, 250, 310, 550}, 0, 10, 200},
        {"10 from the left, nearer the bottom", {110, 350, 310, 650}, 2, 10, 350 - 818},
        {"centred horizontally", {512, 60, 712, 360}, 1, 512 - 1124, 10},
        {"centred vertically", {110, 284, 310, 584}, 2, 10, 284 - 818},
        {"partly past the left edge", {90, 60, 290, 360}, 0, -10, 10},
        {"bottom-right", {900, 500, 1100, 800}, 3, 900 - 1124, 500 - 818},
        {"past the bottom-right", {1000, 700, 1200, 1000}, 3, 1000 - 1124, 700 - 818},
    };
    for (const Case& c : cases) {
        AppSettings settings = Corner(99, 12345, 12345);
        RecordClosestCorner(c.window, kWork, settings);
        EXPECT_EQ(settings.closestCorner, c.corner) << c.what;
        EXPECT_EQ(settings.horizDistToClosestEdge, c.horiz) << c.what;
        EXPECT_EQ(settings.vertDistToClosestEdge, c.vert) << c.what;
        // Placing by the record puts the window back where it was.
        EXPECT_EQ(PlaceAtClosestCorner(kWork, settings).topLeft,
                  (Point{c.window.left, c.window.top}))
            << c.what;
    }
}

TEST(RecordClosestCorner, ASmallerWorkAreaKeepsTheDistanceToTheCorner) {
    AppSettings settings;
    RecordClosestCorner({900, 500, 1100, 800}, kWork, settings);
    const PixelRect smaller = {0, 0, 800, 600};
    EXPECT_EQ(PlaceAtClosestCorner(smaller, settings).topLeft, (Point{800 - 224, 600 - 318}));
}

TEST(SnapToWorkArea, EdgesWithin30PixelsPullTheWindowFlush) {
    constexpr PixelRect work = {0, 0, 1024, 768};
    struct Case {
        const char* what;
        Point topLeft; // of a 200 x 200 window
        Point expected;
    };
    const Case cases[] = {
        {"20 from the right edge", {804, 300}, {824, 300}},
        {"25 from the left", {25, 300}, {0, 300}},
        {"past the left edge", {-10, 300}, {0, 300}},
        {"20 from the bottom", {500, 548}, {500, 568}},
        {"exactly 30 from one edge", {30, 300}, {0, 300}},
        {"31 from the edges", {31, 31}, {31, 31}},
        {"both exactly 30: stays", {30, 30}, {30, 30}},
        {"both exactly 30, one past its edge: stays", {-30, 598}, {-30, 598}},
        {"30 and 10", {30, 10}, {0, 0}},
        {"far from every edge", {400, 300}, {400, 300}},
    };
    for (const Case& c : cases) {
        const PixelRect window = {c.topLeft.x, c.topLeft.y, c.topLeft.x + 200, c.topLeft.y + 200};
        EXPECT_EQ(SnapToWorkArea(window, work), c.expected) << c.what;
    }
    // When both edges are near, the left and top ones win.
    EXPECT_EQ(SnapToWorkArea({10, 10, 1010, 760}, work), (Point{0, 0}));
}

TEST(KeepInsideWorkArea, MovesOnlyLeftAndUp) {
    constexpr PixelRect work = {0, 0, 1024, 768};
    EXPECT_EQ(KeepInsideWorkArea({900, 600, 1074, 800}, work), (Point{850, 568}));
    EXPECT_EQ(KeepInsideWorkArea({100, 100, 300, 300}, work), (Point{100, 100}));
    EXPECT_EQ(KeepInsideWorkArea({-50, -20, 150, 180}, work), (Point{-50, -20}));
    // Larger than the work area: its right and bottom edges go to the work area's.
    EXPECT_EQ(KeepInsideWorkArea({0, 0, 1100, 900}, work), (Point{-76, -132}));
}

TEST(BorderDrag, ClientSizeSnapsUpAndShapeSwitchesTheState) {
    // a = h - 2 cyEdge (2), b = w - 2 cxEdge (3); Vertical a = a/9*4, b = b/3*4; Horizontal
    // b = b/7*4.
    struct Case {
        const char* what;
        std::uint32_t state;
        Size client;
        int pixelSize;
        KeyboardState next;
        Size layout;
    };
    const Case cases[] = {
        {"Normal square", kNormal, {184, 184}, 180, kNormal, {180, 180}},
        {"Normal just above an entry", kNormal, {187, 190}, 240, kNormal, {240, 240}},
        {"Normal at 11h/8 stays", kNormal, {220, 160}, 180, kNormal, {180, 180}},
        {"Normal past 11h/8 (integer division)", kNormal, {222, 161}, 180, kHorizontal, {222, 161}},
        {"Normal at 11h/8 rounded down", kNormal, {221, 161}, 180, kNormal, {180, 180}},
        {"Normal taller than twice its width", kNormal, {100, 201}, 112, kVertical, {100, 201}},
        {"Normal exactly twice as tall", kNormal, {100, 200}, 112, kNormal, {112, 112}},
        {"Normal beyond the largest entry", kNormal, {600, 600}, 400, kNormal, {400, 400}},
        {"Normal between the two largest", kNormal, {310, 306}, 400, kNormal, {400, 400}},
        {"Normal at the entry below the largest", kNormal, {306, 304}, 300, kNormal, {300, 300}},
        {"Normal tiny", kNormal, {10, 10}, 112, kNormal, {112, 112}},
        {"Vertical", kVertical, {141, 409}, 180, kVertical, {135, 405}},
        {"Vertical wider than half its height", kVertical, {200, 300}, 148, kNormal, {200, 300}},
        {"Vertical past 11h/8", kVertical, {500, 300}, 148, kHorizontal, {500, 300}},
        {"Horizontal", kHorizontal, {321, 184}, 180, kHorizontal, {315, 180}},
        {"Horizontal narrower than 11h/8", kHorizontal, {252, 184}, 148, kNormal, {252, 184}},
        // Tall implies narrower than 11h/8, so a tall Horizontal client goes to Normal first.
        {"Horizontal tall", kHorizontal, {100, 300}, 112, kNormal, {100, 300}},
    };
    for (const Case& c : cases) {
        const BorderDragStep step = BorderDragLayout(c.client, c.state, kMetrics);
        EXPECT_EQ(step.pixelSize, c.pixelSize) << c.what;
        EXPECT_EQ(step.state, c.next) << c.what;
        EXPECT_EQ(step.stateChange, c.next != c.state) << c.what;
        EXPECT_EQ(step.layout, c.layout) << c.what;
    }
}

TEST(BorderDrag, EndOfDragPicksTheNearestSize) {
    // m = min(w, h) - 2 cyEdge; the midpoints of the table are 130, 164, 210, 270 and 350.
    struct Case {
        int m;
        int size;
    };
    const Case cases[] = {{0, 1},   {130, 1}, {131, 2}, {164, 2}, {165, 3}, {210, 3},
                          {211, 4}, {270, 4}, {271, 5}, {350, 5}, {351, 6}, {900, 6}};
    for (const Case& c : cases)
        EXPECT_EQ(SizeAfterBorderDrag({c.m + 4, 1000}, kNormal, kMetrics), c.size) << c.m;
    EXPECT_EQ(SizeAfterBorderDrag({1000, 135}, kHorizontal, kMetrics), 2);
    // Vertical: m = (m / 3) * 4 from the width; size 1 is never the result.
    EXPECT_EQ(SizeAfterBorderDrag({137, 405}, kVertical, kMetrics), 3);
    EXPECT_EQ(SizeAfterBorderDrag({95, 300}, kVertical, kMetrics), 2);
    EXPECT_EQ(SizeAfterBorderDrag({20, 300}, kVertical, kMetrics), 2);
}

TEST(BorderDrag, EndOfDragKeepsToTheAvailableSizes) {
    const Size huge = {800, 800};
    EXPECT_EQ(SizeAfterBorderDrag(huge, kNormal, kMetrics, kBuiltInSizeTable, 0b001111u), 4);
    EXPECT_EQ(SizeAfterBorderDrag({100, 100}, kNormal, kMetrics, kBuiltInSizeTable, 0b111100u), 3);
    EXPECT_EQ(SizeAfterBorderDrag(huge, kNormal, kMetrics, kBuiltInSizeTable, 0u), 6);
}

TEST(MainFrameTrackingLimits, SmallestNormalToLargestHorizontalAndVertical) {
    EXPECT_EQ(MainFrameTrackingLimits(kMetrics),
              (TrackingLimits{{112 + 12, 112 + 54}, {700 + 12, 900 + 54}}));
    // Integer divisions after the multiplications.
    const int odd[] = {101, 203};
    EXPECT_EQ(MainFrameTrackingLimits(kMetrics, odd),
              (TrackingLimits{{113, 155}, {355 + 12, 456 + 54}}));
}

TEST(MacroWindowOverMenuBar, CoversTheMenuBarBetweenTheFrameBorders) {
    EXPECT_EQ(MacroWindowOverMenuBar({100, 50, 292, 284}, kMetrics), (PixelRect{104, 73, 288, 93}));
}

} // namespace
} // namespace gw
