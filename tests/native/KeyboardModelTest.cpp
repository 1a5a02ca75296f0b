// Key areas, hit testing, engine units, key numbers, highlights, pictures and the size test.
#include "keyboard/KeyboardModel.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace gw {
namespace {

// One area in cells: x0..x1, y0..y1, the cells its cellWidth spans, enabled.
struct CellArea {
    int x0, x1, y0, y1, span;
    bool enabled;
};
constexpr CellArea kOff = {0, 0, 0, 0, 0, false};

struct LayoutCase {
    const char* name;
    KeyboardState state;
    bool letterSide;
    int width, height; // deliberately not multiples of the cell counts
    CellArea areas[kKeyAreaCount];
};

// clang-format off
const LayoutCase kLayouts[] = {
    {"Normal letter side", kNormal, true, 403, 243, {
        {1, 3, 3, 4, 2, true}, {0, 3, 0, 3, 1, true}, kOff, {0, 1, 3, 4, 1, true},
        {0, 3, 0, 3, 1, false}, {1, 2, 3, 4, 1, false}, {3, 4, 0, 1, 1, true},
        {3, 4, 1, 2, 1, true}, {3, 4, 3, 4, 1, true}, {3, 4, 2, 4, 1, true}}},
    {"Normal number side", kNormal, false, 403, 243, {
        {2, 3, 3, 4, 1, true}, {0, 3, 0, 3, 1, false}, kOff, {0, 1, 3, 4, 1, true},
        {0, 3, 0, 3, 1, true}, {1, 2, 3, 4, 1, true}, {3, 4, 0, 1, 1, true},
        {3, 4, 1, 2, 1, true}, {3, 4, 3, 4, 1, true}, {3, 4, 2, 4, 1, true}}},
    {"Horizontal", kHorizontal, false, 706, 243, {
        {1, 4, 3, 4, 3, true}, {0, 3, 0, 3, 1, true}, {4, 5, 3, 4, 1, true},
        {0, 1, 3, 4, 1, true}, {4, 7, 0, 3, 1, true}, {5, 6, 3, 4, 1, true},
        {3, 4, 0, 1, 1, true}, {3, 4, 1, 2, 1, true}, {6, 7, 3, 4, 1, true},
        {3, 7, 2, 4, 1, true}}},
    {"Vertical", kVertical, true, 302, 548, {
        {1, 3, 4, 5, 2, true}, {0, 3, 1, 4, 1, true}, kOff, {0, 1, 4, 5, 1, true},
        {0, 3, 5, 8, 1, true}, {0, 2, 8, 9, 2, true}, {0, 1, 0, 1, 1, true},
        {1, 2, 0, 1, 1, true}, {2, 3, 8, 9, 1, true}, {2, 3, 0, 9, 1, true}}},
};
// clang-format on

int Columns(KeyboardState state) {
    return state == kHorizontal ? 7 : state == kVertical ? 3 : 4;
}
int Rows(KeyboardState state) {
    return state == kVertical ? 9 : 4;
}

KeyGeometry Computed(KeyboardState state, bool letterSide, int width, int height) {
    KeyGeometry geometry;
    geometry.Compute(width, height, state, letterSide);
    return geometry;
}

// The centre pixel of a cell.
Point CellCentre(const LayoutCase& c, int column, int row) {
    const int cw = c.width / Columns(c.state);
    const int ch = c.height / Rows(c.state);
    return {column * cw + cw / 2, row * ch + ch / 2};
}

TEST(KeyGeometry, AreasFollowTheCellTableInEveryState) {
    for (const LayoutCase& c : kLayouts) {
        SCOPED_TRACE(c.name);
        const KeyGeometry g = Computed(c.state, c.letterSide, c.width, c.height);
        const int cw = c.width / Columns(c.state);
        const int ch = c.height / Rows(c.state);
        for (int a = 0; a < kKeyAreaCount; ++a) {
            SCOPED_TRACE("area " + std::to_string(a));
            const CellArea& e = c.areas[a];
            EXPECT_EQ(g.areas[a].enabled, e.enabled);
            if (e.span == 0) {
                continue; // disabled with no place in this state
            }
            EXPECT_EQ(g.areas[a].rect, (Rect{e.x0 * cw, e.y0 * ch, e.x1 * cw - 1, e.y1 * ch - 1}));
            EXPECT_EQ(g.areas[a].cellWidth, e.span * cw);
            EXPECT_EQ(g.areas[a].cellHeight, ch);
        }
    }
}

TEST(KeyGeometry, PlacelessAreasCoverNoPixel) {
    const KeyGeometry g = Computed(kNormal, true, 180, 180);
    const Rect& enter = g.areas[kEnterArea].rect;
    EXPECT_LT(enter.right, enter.left);
    EXPECT_LT(enter.bottom, enter.top);
    EXPECT_EQ(g.HitTest({0, 0}), kLetterGrid);
}

TEST(KeyGeometry, EveryCellHitsTheExpectedArea) {
    // Area per cell, row by row; the function area answers only where nothing before it does.
    struct Case {
        const LayoutCase* layout;
        std::vector<std::vector<int>> cells;
    };
    const int L = kLetterGrid, N = kNumberGrid, S = kSpaceArea, B = kBackspaceArea,
              Z = kZeroKeyArea, E = kEnterArea, D = kEditingArea, V = kNavigationArea,
              Y = kSystemArea, F = kFunctionArea;
    const Case cases[] = {
        {&kLayouts[0], {{L, L, L, D}, {L, L, L, V}, {L, L, L, F}, {B, S, S, Y}}},
        {&kLayouts[1], {{N, N, N, D}, {N, N, N, V}, {N, N, N, F}, {B, Z, S, Y}}},
        {&kLayouts[2],
         {{L, L, L, D, N, N, N},
          {L, L, L, V, N, N, N},
          {L, L, L, F, N, N, N},
          {B, S, S, S, E, Z, Y}}},
        {&kLayouts[3],
         {{D, V, F},
          {L, L, L},
          {L, L, L},
          {L, L, L},
          {B, S, S},
          {N, N, N},
          {N, N, N},
          {N, N, N},
          {Z, Z, Y}}},
    };
    for (const Case& c : cases) {
        const LayoutCase& layout = *c.layout;
        SCOPED_TRACE(layout.name);
        const KeyGeometry g =
            Computed(layout.state, layout.letterSide, layout.width, layout.height);
        for (int row = 0; row < int(c.cells.size()); ++row) {
            for (int column = 0; column < int(c.cells[row].size()); ++column) {
                EXPECT_EQ(g.HitTest(CellCentre(layout, column, row)), c.cells[row][column])
                    << "column " << column << " row " << row;
            }
        }
    }
}

TEST(KeyGeometry, HitTestEdgesAreInclusiveAndOutsideIsNoArea) {
    const KeyGeometry g = Computed(kNormal, true, 180, 180); // 45-pixel cells
    EXPECT_EQ(g.HitTest({134, 134}), kLetterGrid);
    EXPECT_EQ(g.HitTest({135, 0}), kEditingArea);
    EXPECT_EQ(g.HitTest({135, 134}), kFunctionArea);
    EXPECT_EQ(g.HitTest({135, 135}), kSystemArea);
    EXPECT_EQ(g.HitTest({179, 179}), kSystemArea);
    EXPECT_EQ(g.HitTest({180, 10}), kNoArea);
    EXPECT_EQ(g.HitTest({10, 180}), kNoArea);
    EXPECT_EQ(g.HitTest({-1, 10}), kNoArea);
    // A picture with leftover pixels: the strip right of the last column belongs to no area.
    const KeyGeometry odd = Computed(kNormal, true, 183, 180);
    EXPECT_EQ(odd.HitTest({180, 10}), kNoArea);
}

TEST(KeyGeometry, SpaceAreaIsOneKeyOfTwoCellsOnTheLetterSideAndOneOnTheNumberSide) {
    const KeyGeometry letter = Computed(kNormal, true, 180, 180);
    EXPECT_EQ(letter.ToEngineUnits(kSpaceArea, {45, 135}), (Point{0, 0}));
    const Point lastPixel = letter.ToEngineUnits(kSpaceArea, {134, 179});
    EXPECT_EQ(lastPixel, (Point{98, 97}));
    EXPECT_EQ(letter.KeyNumber(lastPixel.x, lastPixel.y, kSpaceArea), 1);

    const KeyGeometry number = Computed(kNormal, false, 180, 180);
    EXPECT_EQ(number.HitTest({60, 150}), kZeroKeyArea);
    EXPECT_EQ(number.HitTest({100, 150}), kSpaceArea);
    EXPECT_EQ(number.ToEngineUnits(kSpaceArea, {90, 135}), (Point{0, 0}));
    EXPECT_EQ(number.ToEngineUnits(kSpaceArea, {134, 179}), (Point{97, 97}));
}

TEST(KeyGeometry, EngineUnitsTruncateTowardZeroOutsideTheArea) {
    const KeyGeometry g = Computed(kVertical, true, 135, 405); // 45-pixel cells
    // Letter grid starts at (0, 45).
    EXPECT_EQ(g.ToEngineUnits(kLetterGrid, {44, 89}), (Point{97, 97}));
    EXPECT_EQ(g.ToEngineUnits(kLetterGrid, {-10, 44}), (Point{-22, -2}));   // not -23, -3
    EXPECT_EQ(g.ToEngineUnits(kLetterGrid, {200, 400}), (Point{444, 788})); // beyond 299
    // The zero key's cell is two cells wide.
    EXPECT_EQ(g.ToEngineUnits(kZeroKeyArea, {89, 404}), (Point{98, 97}));

    EXPECT_EQ(g.FromEngineUnits(kLetterGrid, {-22, -2}), (Point{-9, 45}));
    EXPECT_EQ(g.FromEngineUnits(kLetterGrid, {100, 250}), (Point{45, 157}));
    EXPECT_EQ(g.FromEngineUnits(kZeroKeyArea, {50, 50}), (Point{45, 382}));
}

TEST(KeyGeometry, EngineUnitsOfNoAreaOrEmptyCellsAreZero) {
    const KeyGeometry g = Computed(kNormal, true, 3, 3); // cells of zero pixels
    EXPECT_EQ(g.ToEngineUnits(kLetterGrid, {2, 2}), (Point{0, 0}));
    EXPECT_EQ(g.ToEngineUnits(kNoArea, {2, 2}), (Point{0, 0}));
    EXPECT_EQ(g.FromEngineUnits(kNoArea, {50, 50}), (Point{0, 0}));
    EXPECT_EQ(g.HitTest({0, 0}), kNoArea);
}

TEST(KeyGeometry, KeyNumbers) {
    const KeyGeometry g;
    struct Case {
        int x, y, area, key;
    };
    const Case cases[] = {
        {0, 0, kLetterGrid, 1},         {299, 0, kLetterGrid, 3},   {0, 299, kLetterGrid, 7},
        {150, 150, kNumberGrid, 5},     {299, 299, kNumberGrid, 9}, {199, 100, kLetterGrid, 5},
        {99, 99, kEditingArea, 1},      {99, 99, kFunctionArea, 1}, {99, 99, kZeroKeyArea, 1},
        {450, 150, kLetterGrid, 6},     // columns stop at the last one
        {150, 350, kLetterGrid, 8},     // so do rows, which keeps the key inside the grid
        {-150, -150, kNumberGrid, 1},   // and nothing goes below the first
        {150, 150, kNavigationArea, 3}, // other areas count in ones off their only cell
        {250, 350, kSystemArea, 6},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(g.KeyNumber(c.x, c.y, c.area), c.key)
            << "x' " << c.x << " y' " << c.y << " area " << c.area;
    }
    EXPECT_EQ(g.KeyNumber(150, 150, kNoArea), 3);
}

// The published templates per size: Alt, Ctrl, Shift and Caps Lock, Windows flag, memory.
const char* const kTemplateRows[] = {
    "0,0,10,8 18,0,28,8 66,28,76,36 0,19,10,27 9,9,19,17",
    "0,0,13,10 24,0,37,10 87,38,100,48 1,25,14,35 12,14,25,24",
    "1,1,16,14 29,1,44,14 106,46,121,59 1,30,16,43 16,16,31,29",
    "1,2,22,20 39,2,60,20 142,62,163,80 1,42,22,60 21,21,42,39",
    "2,2,28,24 47,2,73,24 177,77,203,99 1,52,27,74 25,26,51,48",
    "2,2,36,32 64,2,98,32 235,102,269,132 2,68,36,98 34,34,68,64",
};

Rect PublishedTemplate(int size, int highlight) {
    const int column[kHighlightCount] = {0, 1, 2, 2, 3, 4};
    Rect r[5];
    std::sscanf(
        kTemplateRows[size - 1], "%d,%d,%d,%d %d,%d,%d,%d %d,%d,%d,%d %d,%d,%d,%d %d,%d,%d,%d",
        &r[0].left, &r[0].top, &r[0].right, &r[0].bottom, &r[1].left, &r[1].top, &r[1].right,
        &r[1].bottom, &r[2].left, &r[2].top, &r[2].right, &r[2].bottom, &r[3].left, &r[3].top,
        &r[3].right, &r[3].bottom, &r[4].left, &r[4].top, &r[4].right, &r[4].bottom);
    return r[column[highlight]];
}

Rect Moved(Rect r, Point by) {
    return {r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y};
}

TEST(HighlightTemplate, MatchesThePublishedTable) {
    for (int size = 1; size <= kSizeCount; ++size) {
        for (int h = 0; h < kHighlightCount; ++h) {
            EXPECT_EQ(HighlightTemplate(size, h), PublishedTemplate(size, h))
                << "size " << size << " highlight " << h;
        }
    }
    EXPECT_EQ(HighlightTemplate(0, 0), Rect{});
    EXPECT_EQ(HighlightTemplate(7, 0), Rect{});
    EXPECT_EQ(HighlightTemplate(3, kHighlightCount), Rect{});
}

TEST(KeyGeometry, HighlightsFollowTheSizeOfThePictureHeightFromTheirAnchors) {
    struct Case {
        KeyboardState state;
        int width, height, size;
        Point editing, letterGrid, system;
    };
    const Case cases[] = {
        {kNormal, 180, 180, 3, {135, 0}, {0, 0}, {135, 135}},
        {kHorizontal, 315, 180, 3, {135, 0}, {0, 0}, {270, 135}},
        {kVertical, 135, 405, 3, {0, 0}, {0, 45}, {90, 360}},
        {kVertical, 111, 333, 2, {0, 0}, {0, 37}, {74, 296}},
        {kNormal, 400, 400, 6, {300, 0}, {0, 0}, {300, 300}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        const KeyGeometry g = Computed(c.state, true, c.width, c.height);
        const Point anchors[kHighlightCount] = {c.editing,    c.editing, c.letterGrid,
                                                c.letterGrid, c.system,  c.editing};
        for (int h = 0; h < kHighlightCount; ++h) {
            EXPECT_EQ(g.highlights[h], Moved(PublishedTemplate(c.size, h), anchors[h]))
                << "highlight " << h;
        }
    }
}

TEST(KeyGeometry, HighlightsKeepTheirPlaceWhenNoSizeMatches) {
    KeyGeometry g;
    g.Compute(180, 180, kNormal, true);
    const auto before = g.highlights;
    g.Compute(240, 181, kNormal, true);
    EXPECT_EQ(g.highlights, before);
    g.Compute(180, 405, kNormal, true); // only Vertical scales the height by 4/9
    EXPECT_EQ(g.highlights, before);
    g.Compute(136, 409, kVertical, true); // 409 * 4 / 9 = 181, not 409 / 9 * 4 = 180
    EXPECT_EQ(g.highlights, before);
    // The areas themselves still follow the new picture.
    EXPECT_EQ(g.areas[kSystemArea].rect.left, 90);
}

TEST(KeyGeometry, HighlightSizeIsTheFirstMatchingHeightOfTheGivenList) {
    const int heights[] = {50, 180, 180, 200, 220, 240};
    KeyGeometry g;
    g.Compute(180, 180, kNormal, true, heights);
    EXPECT_EQ(g.highlights[kAltHighlight], Moved(PublishedTemplate(2, kAltHighlight), {135, 0}));
}

TEST(KeyGeometry, GripOriginIsAQuarterCellInFromTheCorner) {
    EXPECT_EQ(Computed(kNormal, true, 403, 243).gripOrigin, (Point{378, 228}));
    EXPECT_EQ(Computed(kHorizontal, true, 706, 243).gripOrigin, (Point{681, 228}));
    EXPECT_EQ(Computed(kVertical, true, 302, 548).gripOrigin, (Point{277, 533}));
}

TEST(PicturePath, SizeOneTable) {
    const char16_t* const expected[kPictureCount] = {
        u"Normal\\\\1\\\\LCKB.bmp",
        u"Normal\\\\1\\\\UCKB.bmp",
        u"Normal\\\\1\\\\NumberKB.bmp",
        u"Normal\\\\1\\\\LCbusyKB.bmp",
        u"Normal\\\\1\\\\UCbusyKB.bmp",
        u"Normal\\\\1\\\\Highlight-Bitmaps\\\\Alt_internal.bmp",
        u"Normal\\\\1\\\\Highlight-Bitmaps\\\\Alt_external.bmp",
        u"Normal\\\\1\\\\Highlight-Bitmaps\\\\Ctrl_internal.bmp",
        u"Normal\\\\1\\\\Highlight-Bitmaps\\\\Ctrl_external.bmp",
        u"Normal\\\\1\\\\Highlight-Bitmaps\\\\shift_internal.bmp",
        u"Normal\\\\1\\\\Highlight-Bitmaps\\\\shift_external.bmp",
        u"Normal\\\\1\\\\Highlight-Bitmaps\\\\capslock_internal.bmp",
        u"Normal\\\\1\\\\Highlight-Bitmaps\\\\capslock_external.bmp",
        u"Normal\\\\1\\\\Highlight-Bitmaps\\\\mem_recall.bmp",
        u"Normal\\\\1\\\\Highlight-Bitmaps\\\\mem_store.bmp",
        u"Horizontal\\\\1\\\\LCKB.bmp",
        u"Horizontal\\\\1\\\\UCKB.bmp",
        u"Normal\\\\1\\\\LCKB.bmp",
        u"Normal\\\\1\\\\UCKB.bmp",
        u"Vertical\\\\1\\\\LCKB.bmp",
        u"Vertical\\\\1\\\\UCKB.bmp",
        u"WinFlagBitmaps\\\\WinFlag-1.bmp",
        u"Normal\\\\1\\\\UCNumberKB.bmp",
    };
    for (int p = 0; p < kPictureCount; ++p) {
        EXPECT_EQ(PicturePath(1, p), expected[p]) << "picture " << p;
    }
}

TEST(PicturePath, LargerSizesRenumberAndLowerAltAndCtrlAtFiveAndSix) {
    struct Case {
        int size, picture;
        const char16_t* path;
    };
    const Case cases[] = {
        {2, kPicAltInternal, u"Normal\\\\2\\\\Highlight-Bitmaps\\\\Alt_internal.bmp"},
        {4, kPicCtrlExternal, u"Normal\\\\4\\\\Highlight-Bitmaps\\\\Ctrl_external.bmp"},
        {5, kPicAltInternal, u"Normal\\\\5\\\\Highlight-Bitmaps\\\\alt_internal.bmp"},
        {5, kPicAltExternal, u"Normal\\\\5\\\\Highlight-Bitmaps\\\\alt_external.bmp"},
        {5, kPicCtrlInternal, u"Normal\\\\5\\\\Highlight-Bitmaps\\\\ctrl_internal.bmp"},
        {6, kPicCtrlExternal, u"Normal\\\\6\\\\Highlight-Bitmaps\\\\ctrl_external.bmp"},
        {6, kPicShiftInternal, u"Normal\\\\6\\\\Highlight-Bitmaps\\\\shift_internal.bmp"},
        {5, kPicLowerCase, u"Normal\\\\5\\\\LCKB.bmp"},
        {5, kPicUpperBusy, u"Normal\\\\5\\\\UCbusyKB.bmp"},
        {6, kPicHorizontalUpper, u"Horizontal\\\\6\\\\UCKB.bmp"},
        {6, kPicVerticalLower, u"Vertical\\\\6\\\\LCKB.bmp"},
        {5, kPicWinFlag, u"WinFlagBitmaps\\\\WinFlag-5.bmp"},
        {6, kPicWinFlag, u"WinFlagBitmaps\\\\WinFlag-6.bmp"},
        {6, kPicUpperNumber, u"Normal\\\\6\\\\UCNumberKB.bmp"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PicturePath(c.size, c.picture), c.path)
            << "size " << c.size << " picture " << c.picture;
    }
    EXPECT_EQ(PicturePath(0, kPicLowerCase), u"");
    EXPECT_EQ(PicturePath(7, kPicLowerCase), u"");
    EXPECT_EQ(PicturePath(1, kPictureCount), u"");
}

TEST(BuiltInPictureSize, NormalSquareHorizontalSevenByFourVerticalOneByThree) {
    const Size normal[kSizeCount] = {{112, 112}, {148, 148}, {180, 180},
                                     {240, 240}, {300, 300}, {400, 400}};
    const Size horizontal[kSizeCount] = {{196, 112}, {259, 148}, {315, 180},
                                         {420, 240}, {525, 300}, {700, 400}};
    const Size vertical[kSizeCount] = {{0, 0},     {111, 333}, {135, 405},
                                       {180, 540}, {225, 675}, {300, 900}};
    for (int size = 1; size <= kSizeCount; ++size) {
        EXPECT_EQ(BuiltInPictureSize(kNormal, size), normal[size - 1]) << size;
        EXPECT_EQ(BuiltInPictureSize(kHorizontal, size), horizontal[size - 1]) << size;
        EXPECT_EQ(BuiltInPictureSize(kVertical, size), vertical[size - 1]) << size;
    }
    EXPECT_EQ(BuiltInPictureSize(kNormal, 0), Size{});
}

TEST(SizeFitsWorkArea, BoundariesIncludeBothMarginsAndBothBorderPairs) {
    // Needs 180 + 2*3 + 2*(2+4) = 198 wide and 180 + 2*(1+5) = 192 high.
    const FrameMargins margins = {3, 2, 4, 1, 5};
    EXPECT_TRUE(SizeFitsWorkArea({180, 180}, {198, 192}, margins));
    EXPECT_FALSE(SizeFitsWorkArea({180, 180}, {197, 192}, margins));
    EXPECT_FALSE(SizeFitsWorkArea({180, 180}, {198, 191}, margins));
    EXPECT_TRUE(SizeFitsWorkArea({180, 180}, {1024, 768}, margins));
}

TEST(SizeFitsWorkArea, AMissingPictureNeverFits) {
    const FrameMargins none;
    EXPECT_FALSE(SizeFitsWorkArea(BuiltInPictureSize(kVertical, 1), {1024, 768}, none));
    EXPECT_TRUE(SizeFitsWorkArea(BuiltInPictureSize(kVertical, 2), {1024, 768}, none));
    EXPECT_FALSE(SizeFitsWorkArea(BuiltInPictureSize(kVertical, 6), {1024, 768}, none));
}

} // namespace
} // namespace gw
