#pragma once
// What the program's own keyboard pictures show: for each picture a list of cells and of glyphs
// (characters, labels and small figures) in picture pixels, built from the active layout tables,
// so a language without picture files shows its own characters. The Windows layer draws the
// description; keeping it portable lets the content be checked without drawing.
#include "keyboard/KeyboardModel.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace gw {

// The keyboard pictures that differ in content. Normal has all six; Horizontal and Vertical only
// kLower and kUpper (both grids are shown there).
enum class PictureKind : std::uint8_t {
    kLower,
    kUpper,       // letter pairs show their upper-case form
    kNumber,      // Normal state, number side
    kUpperNumber, // Normal state, number side while a shift mode is active
    kLowerBusy,   // adds the drag-and-return characters
    kUpperBusy,
};

// Actions drawn as small figures rather than as text.
enum class Symbol : std::uint8_t {
    kNone,
    kArrowLeft,
    kArrowUp,
    kArrowRight,
    kArrowDown,
    kPageUp,
    kPageDown,
    kEnter,
    kBackspace,
    kTab,
    kSpace,
    kShift,       // the Shift gesture
    kShiftCancel, // the gesture that cancels Shift
    kCapsLock,
    kCombine, // the gesture that combines the last two characters
    kWindowsFlag,
    kSizeDown,
    kSizeUp,
    kNormalState,
    kHorizontalState,
    kVerticalState,
    kBusy,     // switches the busy picture on and off
    kAppsMenu, // the context-menu key
};

enum class GlyphRole : std::uint8_t {
    kTap,        // a key's tap character, large in the middle
    kDrag,       // a drag character at its direction
    kDragReturn, // a drag-and-return character (busy pictures)
    kAction,     // an action of the editing, navigation, function or system area
    kActionTap,  // the main action of an area (space, Backspace, Enter, Escape), large
};

enum class CellStyle : std::uint8_t { kKey, kAction };

// Rectangles here have exclusive right and bottom edges.
struct PictureCell {
    Rect rect;
    CellStyle style = CellStyle::kKey;
};

// What one slot or action shows: a figure, or a text with a shorter form for small boxes.
struct GlyphLook {
    Symbol symbol = Symbol::kNone;
    std::u16string text;
    std::u16string shortText; // empty: text has no shorter form
    bool Empty() const { return symbol == Symbol::kNone && text.empty(); }
    bool operator==(const GlyphLook&) const = default;
};

struct PictureGlyph {
    Rect box;
    GlyphRole role = GlyphRole::kDrag;
    GlyphLook look;
    int textHeight = 0; // wanted character height in pixels; the drawing may shrink it to fit
};

// The largest text height from `height` down to `smallest` at which the text fits `width`, given
// the text's width at a height; 0 when none fits. Each height measured is a font the system makes
// and keeps, so the search starts where the full height's width puts it (text grows about in
// proportion to its height) and measures two or three heights, not every one.
int LargestFittingHeight(int height, int smallest, int width,
                         const std::function<int(int)>& textWidthAt);

struct PictureDescription {
    Size size;
    int cellWidth = 0;
    int cellHeight = 0;
    std::vector<PictureCell> cells;
    std::vector<PictureGlyph> glyphs;
};

// What a character slot shows; empty for an empty slot or a character that cannot be drawn.
GlyphLook LookOfSlot(const CharacterSlot& slot);

// The built-in keyboard picture entries (kPicNumber, kPicLowerBusy, kPicUpperBusy,
// kPicHorizontalLower/Upper, kPicNormalLower/Upper, kPicVerticalLower/Upper, kPicUpperNumber)
// with their state and kind; false for the highlight entries and the two copied entries 0 and 1.
bool KeyboardPictureOf(int picture, KeyboardState& state, PictureKind& kind);

// The content of a keyboard picture of the built-in size for the state and size (1..6). Empty
// (size {0, 0}) where the built-in set has no picture: Vertical at size 1, or a kind the state
// does not have.
PictureDescription DescribeKeyboardPicture(KeyboardState state, int size, PictureKind kind,
                                           const KeyboardLayout& layout);

enum class HighlightStyle : std::uint8_t {
    kInternal, // a modifier the keyboard applies with the next character
    kExternal, // a modifier key that is really down (or Caps Lock really on)
    kWindowsFlag,
    kMemoryRecall, // a macro matches the typed text
    kMemoryStore,  // a long drag will recall a macro
};

struct HighlightLook {
    HighlightStyle style = HighlightStyle::kInternal;
    GlyphLook look;
};

// The look of a highlight picture (kPicAltInternal..kPicMemStore and kPicWinFlag); false for
// other entries.
bool DescribeHighlight(int picture, HighlightLook& look);

} // namespace gw
