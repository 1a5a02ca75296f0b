#pragma once
// The keyboard model: states, sizes, sides, the character slot tables with the built-in English
// layout, the ten key areas of the keyboard picture, engine units and the picture tables.
#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace gw {

enum KeyboardState : std::uint32_t { kNormal = 0, kHorizontal = 1, kVertical = 2 };
constexpr int kStateCount = 3;
constexpr int kSizeCount = 6; // sizes are 1..kSizeCount
constexpr int kDefaultSize = 3;

enum Side : int { kLetterSide = 0, kNumberSide = 1 };

// Directions run counter-clockwise from east; kCenter is the key's middle.
enum Direction : int { kE = 0, kNE, kN, kNW, kW, kSW, kS, kSE, kCenter };
constexpr int kDirectionCount = 9;

// One output entry of the layout.
struct CharacterSlot {
    std::uint8_t vk = 0;   // virtual key; 0 = empty slot, 1 = no US-English key gives it
    char16_t ch = 0;       // character to type; 0 = send vk alone
    std::uint8_t ctrl = 0; // hold Ctrl while sending vk
    std::uint8_t shift = 0;
    std::uint8_t definable = 0;  // built-in layout only: a language file may set it
    std::uint8_t letterPair = 0; // kind-0 slot only: kinds 0 and 1 are lower and upper case
    bool operator==(const CharacterSlot&) const = default;
};

constexpr int kSlotCount = 324;
constexpr int kBottomSlotCount = 18;
// side 0..1, key 1..9, direction 0..8, kind 0..1
constexpr int SlotIndex(int side, int key, int direction, int kind) {
    return ((side * 9 + key - 1) * 9 + direction) * 2 + kind;
}
constexpr int BottomSlotIndex(int direction, int kind) {
    return direction * 2 + kind;
}

using SlotTable = std::array<CharacterSlot, kSlotCount>;
using BottomTable = std::array<CharacterSlot, kBottomSlotCount>;

const SlotTable& BuiltInSlots();
const BottomTable& BuiltInBottomSlots();

// The active tables that a language fills; they start as the built-in layout.
class KeyboardLayout {
public:
    KeyboardLayout() { ResetToBuiltIn(); }
    void ResetToBuiltIn();
    const CharacterSlot& Slot(int side, int key, int direction, int kind) const {
        return slots[SlotIndex(side, key, direction, kind)];
    }
    CharacterSlot& Slot(int side, int key, int direction, int kind) {
        return slots[SlotIndex(side, key, direction, kind)];
    }
    const CharacterSlot& BottomSlot(int direction, int kind) const {
        return bottom[BottomSlotIndex(direction, kind)];
    }
    CharacterSlot& BottomSlot(int direction, int kind) {
        return bottom[BottomSlotIndex(direction, kind)];
    }

    SlotTable slots{};
    BottomTable bottom{};
};

// The ten key areas, in hit-test order.
enum KeyAreaId : int {
    kSpaceArea = 0,
    kLetterGrid = 1,
    kEnterArea = 2,
    kBackspaceArea = 3,
    kNumberGrid = 4,
    kZeroKeyArea = 5,
    kEditingArea = 6,
    kNavigationArea = 7,
    kSystemArea = 8,
    kFunctionArea = 9,
};
constexpr int kKeyAreaCount = 10;
constexpr int kNoArea = -1;

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// Right and bottom are inclusive for key areas, exclusive for highlight rectangles.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Rect&) const = default;
};

struct KeyArea {
    Rect rect;          // right and bottom are the last pixel inside
    int cellWidth = 0;  // pixels that make 100 engine units in x
    int cellHeight = 0; // and in y
    bool enabled = false;
};

enum HighlightId : int {
    kAltHighlight = 0,
    kCtrlHighlight = 1,
    kShiftHighlight = 2,
    kCapsLockHighlight = 3,
    kWinFlagHighlight = 4,
    kMemoryHighlight = 5,
};
constexpr int kHighlightCount = 6;

// Heights of the built-in Normal lower-case pictures for sizes 1..6; they find a picture's size.
constexpr std::array<int, kSizeCount> kBuiltInNormalHeights = {112, 148, 180, 240, 300, 400};

// The key areas of the current picture, the highlight rectangles and the resize-grip origin.
class KeyGeometry {
public:
    // Recomputes everything from the picture size, the state and the letter-side flag. The
    // highlight rectangles follow the size whose entry in normalHeights equals the picture
    // height (Vertical: height * 4 / 9); with no match they keep their previous values.
    void Compute(int width, int height, KeyboardState state, bool letterSide,
                 std::span<const int> normalHeights = kBuiltInNormalHeights);
    // The first enabled area containing the point, or kNoArea.
    int HitTest(Point pixel) const;
    Point ToEngineUnits(int area, Point pixel) const;
    Point FromEngineUnits(int area, Point units) const;
    // Key number 1..9 on the grids, 1 on every other area for points inside it. Points outside
    // (strokes from an extension's device) are held to the grid's rows and columns.
    int KeyNumber(int xUnits, int yUnits, int area) const;

    std::array<KeyArea, kKeyAreaCount> areas{};
    std::array<Rect, kHighlightCount> highlights{}; // right and bottom exclusive
    Point gripOrigin;
    // Per-area key factor: 3 on the two grids, 1 elsewhere.
    std::array<int, kKeyAreaCount> factors = {1, 3, 1, 1, 3, 1, 1, 1, 1, 1};
};

// The 23 pictures of each size, in table order.
enum PictureId : int {
    kPicLowerCase = 0,
    kPicUpperCase,
    kPicNumber,
    kPicLowerBusy,
    kPicUpperBusy,
    kPicAltInternal,
    kPicAltExternal,
    kPicCtrlInternal,
    kPicCtrlExternal,
    kPicShiftInternal,
    kPicShiftExternal,
    kPicCapsLockInternal,
    kPicCapsLockExternal,
    kPicMemRecall,
    kPicMemStore,
    kPicHorizontalLower,
    kPicHorizontalUpper,
    kPicNormalLower,
    kPicNormalUpper,
    kPicVerticalLower,
    kPicVerticalUpper,
    kPicWinFlag,
    kPicUpperNumber,
};
constexpr int kPictureCount = 23;

// Relative path of a picture file of a language folder, e.g. "Normal\\1\\LCKB.bmp"; each
// separator is kept as a pair of backslashes (Windows reads the pair as one separator).
// Empty for a bad size or picture.
std::u16string PicturePath(int size, int picture);

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// The keyboard picture of a state for the side S of its Normal picture: Normal S x S,
// Horizontal 7q x S, Vertical 3q x 9q, with q = S / 4.
Size PictureSizeForSide(KeyboardState state, int side);
// Pixel size of the built-in lower-case keyboard picture of a state and size; {0, 0} where the
// built-in set has none (Vertical at size 1).
Size BuiltInPictureSize(KeyboardState state, int size);
// Highlight template rectangle of a size (1..6), relative to its anchor area.
Rect HighlightTemplate(int size, int highlight);

// The main window's frame margins that a picture must fit inside the work area with.
struct FrameMargins {
    int margin = 0;      // a single horizontal margin
    int borderWidth = 0; // the two horizontal border widths
    int frameWidth = 0;
    int borderHeight = 0; // the two vertical border widths
    int frameHeight = 0;
};
// True when a picture of this size fits the work area with the frame around it: width +
// 2 * margin + 2 * (borderWidth + frameWidth) and height + 2 * (borderHeight + frameHeight).
// A missing picture ({0, 0}) never fits.
bool SizeFitsWorkArea(Size picture, Size workArea, const FrameMargins& margins);

} // namespace gw
