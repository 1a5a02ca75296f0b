// What the program's own keyboard pictures show, and where.
#include "keyboard/KeyboardPictureLayout.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace gw {
namespace {

std::string Narrow(const std::u16string& text) {
    std::string out;
    for (char16_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

bool Inside(Rect inner, Rect outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}
int Overlap(Rect a, Rect b) {
    const int w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const int h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}
Point Middle(Rect r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
bool Contains(Rect r, Point p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// The glyphs whose box holds the point; the first one of the role, or nullptr.
const PictureGlyph* GlyphAt(const PictureDescription& picture, Point at, GlyphRole role) {
    for (const PictureGlyph& glyph : picture.glyphs) {
        if (glyph.role == role && Contains(glyph.box, at))
            return &glyph;
    }
    return nullptr;
}

// The middle of a direction's third of the cell at (column, row).
Point DirectionPoint(const PictureDescription& picture, int column, int row, int direction) {
    static constexpr Point kPlace[kDirectionCount] = {{2, 1}, {2, 0}, {1, 0}, {0, 0}, {0, 1},
                                                      {0, 2}, {1, 2}, {2, 2}, {1, 1}};
    const int cw = picture.cellWidth;
    const int ch = picture.cellHeight;
    return {column * cw + kPlace[direction].x * cw / 3 + cw / 6,
            row * ch + kPlace[direction].y * ch / 3 + ch / 6};
}

std::string TextAt(const PictureDescription& picture, int column, int row, int direction,
                   GlyphRole role) {
    const PictureGlyph* glyph =
        GlyphAt(picture, DirectionPoint(picture, column, row, direction), role);
    return glyph ? Narrow(glyph->look.text) : "<none>";
}
Symbol SymbolAt(const PictureDescription& picture, int column, int row, int direction,
                GlyphRole role) {
    const PictureGlyph* glyph =
        GlyphAt(picture, DirectionPoint(picture, column, row, direction), role);
    return glyph ? glyph->look.symbol : Symbol::kNone;
}

TEST(LookOfSlot, CharactersKeysAndInvisibles) {
    const KeyboardLayout layout;
    struct Case {
        CharacterSlot slot;
        Symbol symbol;
        std::u16string text;
    };
    const Case cases[] = {
        {{}, Symbol::kNone, u""},                                  // empty slot
        {layout.Slot(0, 1, kCenter, 0), Symbol::kNone, u"a"},      // a
        {layout.Slot(0, 3, kSE, 0), Symbol::kNone, u"\u20AC"},     // euro
        {layout.Slot(0, 1, kN, 0), Symbol::kArrowUp, u""},         // Up
        {layout.Slot(0, 1, kN, 1), Symbol::kNone, u"^Home"},       // Ctrl+Home
        {layout.Slot(0, 9, kS, 0), Symbol::kNone, u"Esc"},         // Escape
        {layout.Slot(0, 7, kSW, 0), Symbol::kBackspace, u""},      // Backspace
        {layout.Slot(0, 3, kNE, 0), Symbol::kEnter, u""},          // Enter
        {layout.Slot(0, 7, kSE, 0), Symbol::kTab, u""},            // Tab
        {layout.Slot(0, 9, kSE, 0), Symbol::kSpace, u""},          // space
        {layout.Slot(0, 9, kSE, 1), Symbol::kNone, u"nbsp"},       // no-break space
        {{1, 0x0301, 0, 0, 1, 0}, Symbol::kNone, u"\u00A0\u0301"}, // a mark shows on a blank
        {{1, 0x0007, 0, 0, 1, 0}, Symbol::kNone, u""},             // control character
        {{1, 0xD83D, 0, 0, 1, 0}, Symbol::kNone, u""},             // half a surrogate pair
        {{0x70, 0, 0, 0, 1, 0}, Symbol::kNone, u"F1"},
    };
    for (const Case& c : cases) {
        const GlyphLook look = LookOfSlot(c.slot);
        EXPECT_EQ(look.symbol, c.symbol) << Narrow(c.text);
        EXPECT_EQ(look.text, c.text) << Narrow(c.text);
    }
}

TEST(PictureLayout, CellsTileEveryPictureAndGlyphsStayInside) {
    const KeyboardLayout layout;
    const PictureKind kinds[] = {PictureKind::kLower,     PictureKind::kUpper,
                                 PictureKind::kNumber,    PictureKind::kUpperNumber,
                                 PictureKind::kLowerBusy, PictureKind::kUpperBusy};
    for (int state = 0; state < kStateCount; ++state) {
        for (int size = 1; size <= kSizeCount; ++size) {
            for (PictureKind kind : kinds) {
                const auto s = static_cast<KeyboardState>(state);
                const PictureDescription picture = DescribeKeyboardPicture(s, size, kind, layout);
                const bool exists =
                    (s == kNormal || kind == PictureKind::kLower || kind == PictureKind::kUpper) &&
                    !(s == kVertical && size == 1);
                SCOPED_TRACE("state " + std::to_string(state) + " size " + std::to_string(size) +
                             " kind " + std::to_string(static_cast<int>(kind)));
                if (!exists) {
                    EXPECT_EQ(picture.size, (Size{0, 0}));
                    continue;
                }
                ASSERT_EQ(picture.size, BuiltInPictureSize(s, size));
                const Rect whole{0, 0, picture.size.width, picture.size.height};
                long long covered = 0;
                for (std::size_t i = 0; i < picture.cells.size(); ++i) {
                    const Rect r = picture.cells[i].rect;
                    EXPECT_TRUE(Inside(r, whole));
                    covered += static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
                    for (std::size_t j = i + 1; j < picture.cells.size(); ++j)
                        EXPECT_EQ(Overlap(r, picture.cells[j].rect), 0) << i << " and " << j;
                }
                EXPECT_EQ(covered,
                          static_cast<long long>(picture.size.width) * picture.size.height);
                for (const PictureGlyph& glyph : picture.glyphs) {
                    EXPECT_TRUE(Inside(glyph.box, whole)) << Narrow(glyph.look.text);
                    EXPECT_GT(glyph.box.right, glyph.box.left);
                    EXPECT_GT(glyph.textHeight, 0);
                    EXPECT_FALSE(glyph.look.Empty());
                }
            }
        }
    }
}

TEST(PictureLayout, LowerCaseKeysShowTapLargeAndDragsAtTheirDirections) {
    const KeyboardLayout layout;
    const PictureDescription lower =
        DescribeKeyboardPicture(kNormal, 3, PictureKind::kLower, layout);
    EXPECT_EQ(TextAt(lower, 0, 0, kCenter, GlyphRole::kTap), "a");
    EXPECT_EQ(TextAt(lower, 0, 0, kSE, GlyphRole::kDrag), "v");
    EXPECT_EQ(TextAt(lower, 0, 0, kE, GlyphRole::kDrag), "-");
    EXPECT_EQ(TextAt(lower, 0, 0, kSW, GlyphRole::kDrag), "$");
    EXPECT_EQ(SymbolAt(lower, 0, 0, kN, GlyphRole::kDrag), Symbol::kArrowUp);
    EXPECT_EQ(SymbolAt(lower, 0, 0, kNW, GlyphRole::kDrag), Symbol::kCombine);
    EXPECT_EQ(TextAt(lower, 1, 1, kCenter, GlyphRole::kTap), "o");
    EXPECT_EQ(TextAt(lower, 1, 1, kNE, GlyphRole::kDrag), "p");
    EXPECT_EQ(SymbolAt(lower, 2, 1, kN, GlyphRole::kDrag), Symbol::kShift);
    EXPECT_EQ(SymbolAt(lower, 2, 1, kS, GlyphRole::kDrag), Symbol::kShiftCancel);
    EXPECT_EQ(TextAt(lower, 1, 2, kCenter, GlyphRole::kTap), "e");
    EXPECT_EQ(TextAt(lower, 2, 2, kNW, GlyphRole::kDrag), "f");
    const PictureGlyph* tap = GlyphAt(lower, DirectionPoint(lower, 0, 0, kCenter), GlyphRole::kTap);
    const PictureGlyph* drag = GlyphAt(lower, DirectionPoint(lower, 0, 0, kSE), GlyphRole::kDrag);
    ASSERT_TRUE(tap && drag);
    EXPECT_GT(tap->textHeight, drag->textHeight * 3 / 2) << "the tap character is large";
    // Nothing of the busy picture here.
    EXPECT_EQ(TextAt(lower, 0, 0, kE, GlyphRole::kDragReturn), "<none>");
}

TEST(PictureLayout, UpperCaseShowsTheUpperFormOfLetterPairsOnly) {
    const KeyboardLayout layout;
    const PictureDescription upper =
        DescribeKeyboardPicture(kNormal, 3, PictureKind::kUpper, layout);
    EXPECT_EQ(TextAt(upper, 0, 0, kCenter, GlyphRole::kTap), "A");
    EXPECT_EQ(TextAt(upper, 0, 0, kSE, GlyphRole::kDrag), "V");
    EXPECT_EQ(TextAt(upper, 0, 0, kE, GlyphRole::kDrag), "-") << "not a letter pair";
    EXPECT_EQ(TextAt(upper, 0, 0, kSW, GlyphRole::kDrag), "$");
    EXPECT_EQ(TextAt(upper, 1, 1, kN, GlyphRole::kDrag), "U");
}

TEST(PictureLayout, BusyPicturesAddTheDragAndReturnCharacters) {
    const KeyboardLayout layout;
    const PictureDescription busy =
        DescribeKeyboardPicture(kNormal, 6, PictureKind::kLowerBusy, layout);
    // Key 1 E: '-' (drag) and U+00F7 (drag and return) share the east third.
    const Rect east{2 * 100 / 3, 100 / 3, 100, 2 * 100 / 3};
    int plain = 0;
    int returned = 0;
    for (const PictureGlyph& glyph : busy.glyphs) {
        if (Overlap(glyph.box, east) == 0)
            continue;
        if (glyph.role == GlyphRole::kDrag && glyph.look.text == u"-")
            ++plain;
        if (glyph.role == GlyphRole::kDragReturn && glyph.look.text == u"\u00F7")
            ++returned;
    }
    EXPECT_EQ(plain, 1);
    EXPECT_EQ(returned, 1);
    // Letter pairs keep one character; Enter / Enter shows once.
    EXPECT_EQ(TextAt(busy, 0, 0, kSE, GlyphRole::kDragReturn), "<none>");
    EXPECT_EQ(SymbolAt(busy, 2, 0, kNE, GlyphRole::kDrag), Symbol::kEnter);
    EXPECT_EQ(SymbolAt(busy, 2, 0, kNE, GlyphRole::kDragReturn), Symbol::kNone);

    const PictureDescription upperBusy =
        DescribeKeyboardPicture(kNormal, 6, PictureKind::kUpperBusy, layout);
    EXPECT_EQ(TextAt(upperBusy, 0, 0, kSE, GlyphRole::kDrag), "V");
}

TEST(PictureLayout, NumberSideShowsDigitsTheZeroKeyAndTheLetterSwitch) {
    const KeyboardLayout layout;
    const PictureDescription number =
        DescribeKeyboardPicture(kNormal, 3, PictureKind::kNumber, layout);
    EXPECT_EQ(TextAt(number, 0, 0, kCenter, GlyphRole::kTap), "1");
    EXPECT_EQ(TextAt(number, 2, 2, kCenter, GlyphRole::kTap), "9");
    EXPECT_EQ(TextAt(number, 1, 3, kCenter, GlyphRole::kTap), "0") << "zero key";
    EXPECT_EQ(SymbolAt(number, 1, 3, kSE, GlyphRole::kDrag), Symbol::kEnter);
    EXPECT_EQ(SymbolAt(number, 2, 3, kCenter, GlyphRole::kActionTap), Symbol::kSpace)
        << "the space key is one cell";
    EXPECT_EQ(SymbolAt(number, 2, 3, kN, GlyphRole::kAction), Symbol::kNone)
        << "no busy switch on the number side";
    EXPECT_EQ(TextAt(number, 3, 3, kCenter, GlyphRole::kActionTap), "abc");

    const PictureDescription upperNumber =
        DescribeKeyboardPicture(kNormal, 3, PictureKind::kUpperNumber, layout);
    const PictureGlyph* at =
        GlyphAt(upperNumber, DirectionPoint(upperNumber, 2, 1, kSW), GlyphRole::kDrag);
    ASSERT_NE(at, nullptr);
    EXPECT_EQ(at->look.text, u"\u00AA") << "@ is a letter pair on the number side";
    EXPECT_EQ(TextAt(upperNumber, 0, 0, kCenter, GlyphRole::kTap), "1");
}

TEST(PictureLayout, FunctionAreasShowTheirActions) {
    const KeyboardLayout layout;
    const PictureDescription lower =
        DescribeKeyboardPicture(kNormal, 3, PictureKind::kLower, layout);
    EXPECT_EQ(TextAt(lower, 3, 0, kE, GlyphRole::kAction), "Copy");
    EXPECT_EQ(TextAt(lower, 3, 0, kNE, GlyphRole::kAction), "Ctrl");
    EXPECT_EQ(TextAt(lower, 3, 0, kNW, GlyphRole::kAction), "Alt");
    EXPECT_EQ(SymbolAt(lower, 3, 1, kW, GlyphRole::kAction), Symbol::kArrowLeft);
    EXPECT_EQ(TextAt(lower, 3, 1, kNW, GlyphRole::kAction), "F1");
    EXPECT_EQ(TextAt(lower, 3, 2, kCenter, GlyphRole::kActionTap), "Esc");
    EXPECT_EQ(TextAt(lower, 3, 2, kSW, GlyphRole::kAction), "F10");
    EXPECT_EQ(TextAt(lower, 3, 3, kCenter, GlyphRole::kActionTap), "123");
    EXPECT_EQ(SymbolAt(lower, 3, 3, kSW, GlyphRole::kAction), Symbol::kWindowsFlag);
    EXPECT_EQ(SymbolAt(lower, 3, 3, kE, GlyphRole::kAction), Symbol::kHorizontalState);
    EXPECT_EQ(SymbolAt(lower, 3, 3, kN, GlyphRole::kAction), Symbol::kVerticalState);
    EXPECT_EQ(SymbolAt(lower, 3, 3, kNW, GlyphRole::kAction), Symbol::kSizeDown);
    EXPECT_EQ(SymbolAt(lower, 3, 3, kSE, GlyphRole::kAction), Symbol::kSizeUp);
    EXPECT_EQ(SymbolAt(lower, 0, 3, kCenter, GlyphRole::kActionTap), Symbol::kBackspace);
    // The space bar is one key over two cells: its upward drag sits between them.
    EXPECT_EQ(SymbolAt(lower, 1, 3, kN, GlyphRole::kAction), Symbol::kNone);
    const PictureGlyph* busy = GlyphAt(lower, {90, 3 * 45 + 7}, GlyphRole::kAction);
    ASSERT_NE(busy, nullptr);
    EXPECT_EQ(busy->look.symbol, Symbol::kBusy);

    // The smallest and the largest size offer only the other size step.
    const PictureDescription smallest =
        DescribeKeyboardPicture(kNormal, 1, PictureKind::kLower, layout);
    EXPECT_EQ(SymbolAt(smallest, 3, 3, kNW, GlyphRole::kAction), Symbol::kNone);
    EXPECT_EQ(SymbolAt(smallest, 3, 3, kSE, GlyphRole::kAction), Symbol::kSizeUp);
    const PictureDescription largest =
        DescribeKeyboardPicture(kNormal, 6, PictureKind::kLower, layout);
    EXPECT_EQ(SymbolAt(largest, 3, 3, kSE, GlyphRole::kAction), Symbol::kNone);
    const PictureDescription vertical =
        DescribeKeyboardPicture(kVertical, 2, PictureKind::kLower, layout);
    EXPECT_EQ(SymbolAt(vertical, 2, 8, kNW, GlyphRole::kAction), Symbol::kNone)
        << "Vertical has no size 1";
    EXPECT_EQ(SymbolAt(vertical, 2, 8, kCenter, GlyphRole::kActionTap), Symbol::kNormalState);
    EXPECT_EQ(SymbolAt(vertical, 2, 8, kN, GlyphRole::kAction), Symbol::kNone);
}

TEST(PictureLayout, AnAreasMainActionLeavesRoomForItsOtherActions) {
    const KeyboardLayout layout;
    struct Case {
        KeyboardState state;
        PictureKind kind;
    };
    const Case cases[] = {{kNormal, PictureKind::kLower},
                          {kNormal, PictureKind::kNumber},
                          {kHorizontal, PictureKind::kLower},
                          {kVertical, PictureKind::kLower}};
    for (const Case& c : cases) {
        for (int size = 1; size <= kSizeCount; ++size) {
            const PictureDescription picture =
                DescribeKeyboardPicture(c.state, size, c.kind, layout);
            for (const PictureGlyph& main : picture.glyphs) {
                if (main.role != GlyphRole::kActionTap)
                    continue;
                for (const PictureGlyph& other : picture.glyphs) {
                    if (other.role != GlyphRole::kAction)
                        continue;
                    EXPECT_EQ(Overlap(main.box, other.box), 0)
                        << "state " << c.state << " size " << size << ": " << Narrow(main.look.text)
                        << " over " << Narrow(other.look.text);
                }
            }
        }
    }
}

TEST(PictureLayout, HorizontalAndVerticalShowBothGrids) {
    const KeyboardLayout layout;
    const PictureDescription horizontal =
        DescribeKeyboardPicture(kHorizontal, 1, PictureKind::kLower, layout);
    EXPECT_EQ(horizontal.size, (Size{196, 112}));
    EXPECT_EQ(TextAt(horizontal, 0, 0, kCenter, GlyphRole::kTap), "a");
    EXPECT_EQ(TextAt(horizontal, 4, 0, kCenter, GlyphRole::kTap), "1");
    EXPECT_EQ(SymbolAt(horizontal, 4, 3, kCenter, GlyphRole::kActionTap), Symbol::kEnter);
    EXPECT_EQ(TextAt(horizontal, 5, 3, kCenter, GlyphRole::kTap), "0");
    EXPECT_EQ(TextAt(horizontal, 3, 2, kCenter, GlyphRole::kActionTap), "Esc");

    const PictureDescription vertical =
        DescribeKeyboardPicture(kVertical, 2, PictureKind::kUpper, layout);
    EXPECT_EQ(vertical.size, (Size{111, 333}));
    EXPECT_EQ(TextAt(vertical, 2, 0, kCenter, GlyphRole::kActionTap), "Esc");
    EXPECT_EQ(TextAt(vertical, 0, 1, kCenter, GlyphRole::kTap), "A");
    EXPECT_EQ(TextAt(vertical, 0, 5, kCenter, GlyphRole::kTap), "1");
    EXPECT_EQ(TextAt(vertical, 0, 5, kSE, GlyphRole::kDrag), "V") << "both grids are shifted";
}

TEST(PictureLayout, ALanguageLayoutShowsItsOwnCharacters) {
    KeyboardLayout layout;
    layout.Slot(kLetterSide, 5, kCenter, 0).ch = u'\u00F6';
    layout.Slot(kLetterSide, 5, kE, 0) = {1, u'\u00DF', 0, 0, 1, 0};
    layout.BottomSlot(kN, 0) = {1, u'%', 0, 0, 1, 0};
    const PictureDescription lower =
        DescribeKeyboardPicture(kNormal, 4, PictureKind::kLower, layout);
    const PictureGlyph* tap = GlyphAt(lower, DirectionPoint(lower, 1, 1, kCenter), GlyphRole::kTap);
    ASSERT_NE(tap, nullptr);
    EXPECT_EQ(tap->look.text, u"\u00F6");
    const PictureGlyph* drag = GlyphAt(lower, DirectionPoint(lower, 1, 1, kE), GlyphRole::kDrag);
    ASSERT_NE(drag, nullptr);
    EXPECT_EQ(drag->look.text, u"\u00DF");
    const PictureDescription number =
        DescribeKeyboardPicture(kNormal, 4, PictureKind::kNumber, layout);
    EXPECT_EQ(TextAt(number, 1, 3, kN, GlyphRole::kDrag), "%");
}

// Each highlight picture lands on the label it lights up.
TEST(PictureLayout, HighlightRectanglesCoverTheirLabels) {
    const KeyboardLayout layout;
    for (int size = 1; size <= kSizeCount; ++size) {
        const PictureDescription picture =
            DescribeKeyboardPicture(kNormal, size, PictureKind::kLower, layout);
        KeyGeometry geometry;
        geometry.Compute(picture.size.width, picture.size.height, kNormal, true);
        struct Case {
            int highlight;
            GlyphLook look;
        };
        const Case cases[] = {
            {kAltHighlight, {Symbol::kNone, u"Alt", u"A"}},
            {kCtrlHighlight, {Symbol::kNone, u"Ctrl", u"^"}},
            {kShiftHighlight, {Symbol::kShift, u"", u""}},
            {kWinFlagHighlight, {Symbol::kWindowsFlag, u"", u""}},
            {kMemoryHighlight, {Symbol::kNone, u"Mac", u"M"}},
        };
        for (const Case& c : cases) {
            const Rect r = geometry.highlights[static_cast<std::size_t>(c.highlight)];
            const PictureGlyph* label = nullptr;
            for (const PictureGlyph& glyph : picture.glyphs) {
                if (glyph.look == c.look && Contains(glyph.box, Middle(r)))
                    label = &glyph;
            }
            EXPECT_NE(label, nullptr) << "size " << size << " highlight " << c.highlight;
            if (label) {
                const int area = (r.right - r.left) * (r.bottom - r.top);
                EXPECT_GE(Overlap(label->box, r) * 2, area)
                    << "size " << size << " highlight " << c.highlight;
            }
        }
    }
}

TEST(PictureLayout, PictureEntriesAndHighlightLooks) {
    KeyboardState state{};
    PictureKind kind{};
    ASSERT_TRUE(KeyboardPictureOf(kPicHorizontalUpper, state, kind));
    EXPECT_EQ(state, kHorizontal);
    EXPECT_EQ(kind, PictureKind::kUpper);
    ASSERT_TRUE(KeyboardPictureOf(kPicUpperNumber, state, kind));
    EXPECT_EQ(kind, PictureKind::kUpperNumber);
    EXPECT_FALSE(KeyboardPictureOf(kPicLowerCase, state, kind)) << "a copy of the state's pair";
    EXPECT_FALSE(KeyboardPictureOf(kPicWinFlag, state, kind));

    HighlightLook look;
    ASSERT_TRUE(DescribeHighlight(kPicCtrlExternal, look));
    EXPECT_EQ(look.style, HighlightStyle::kExternal);
    ASSERT_TRUE(DescribeHighlight(kPicCapsLockInternal, look));
    EXPECT_EQ(look.style, HighlightStyle::kInternal);
    EXPECT_EQ(look.look.symbol, Symbol::kCapsLock);
    ASSERT_TRUE(DescribeHighlight(kPicMemStore, look));
    EXPECT_EQ(look.style, HighlightStyle::kMemoryStore);
    EXPECT_FALSE(DescribeHighlight(kPicNumber, look));
}

// The search must find what trying every height from the top down finds, while measuring only
// a few heights (each one a font the system keeps).
TEST(PictureLayout, TheLargestFittingHeightIsFoundWithFewMeasurements) {
    const auto proportional = [](int h) { return h * 3; };
    // Hinting makes some heights a pixel or two wider than their neighbours.
    const auto uneven = [](int h) { return h * 3 + (h % 3 == 0 ? 2 : 0) + (h % 5 == 0 ? 1 : 0); };
    const auto slowerThanHeight = [](int h) { return 40 + h; };
    struct Case {
        const char* name;
        std::function<int(int)> widthAt;
        int height, smallest, width;
        int mostMeasured; // 0: no bound
    };
    const Case cases[] = {
        {"fits whole", proportional, 20, 12, 60, 1},
        {"shrinks", proportional, 20, 12, 50, 3},
        {"to the smallest", proportional, 20, 12, 36, 0},
        {"nothing fits", proportional, 20, 12, 35, 0},
        {"uneven widths", uneven, 30, 18, 70, 4},
        {"uneven, tight", uneven, 30, 18, 57, 4},
        {"estimate too small", slowerThanHeight, 30, 6, 60, 0},
        {"no room below the height", proportional, 12, 12, 20, 0},
        {"no width", proportional, 20, 12, 0, 0},
        {"negative width", proportional, 20, 12, -5, 0},
    };
    for (const Case& c : cases) {
        int expected = 0;
        for (int h = c.height; h >= c.smallest && !expected; --h) {
            if (c.widthAt(h) <= c.width)
                expected = h;
        }
        if (c.widthAt(c.height) <= c.width)
            expected = c.height;
        int measured = 0;
        const int found = LargestFittingHeight(c.height, c.smallest, c.width, [&](int h) {
            ++measured;
            return c.widthAt(h);
        });
        EXPECT_EQ(found, expected) << c.name;
        if (c.mostMeasured) {
            EXPECT_LE(measured, c.mostMeasured) << c.name << ": heights tried one by one";
        }
    }
}

} // namespace
} // namespace gw
