#include "keyboard/KeyboardPictureLayout.h"
#include "keyboard/VirtualKeys.h"

#include <algorithm>

namespace gw {

namespace {

GlyphLook Figure(Symbol symbol) {
    return {symbol, {}, {}};
}
GlyphLook Text(std::u16string text, std::u16string shortText = {}) {
    return {Symbol::kNone, std::move(text), std::move(shortText)};
}

std::u16string Number(int n) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + n % 10));
        n /= 10;
    } while (n > 0);
    return digits;
}

GlyphLook FunctionKey(int n) {
    // Appended rather than u"F" + Number(n): GCC 12 at -O3 warns falsely (-Wrestrict) about
    // the insert at the front that the operator does.
    std::u16string label = u"F";
    label += Number(n);
    return Text(std::move(label), Number(n));
}

GlyphLook LookOfKey(std::uint8_t vk, bool ctrl) {
    switch (vk) {
    case kVkBack:
        return Figure(Symbol::kBackspace);
    case kVkTab:
        return Figure(Symbol::kTab);
    case kVkReturn:
        return Figure(Symbol::kEnter);
    case kVkSpace:
        return Figure(Symbol::kSpace);
    case kVkEscape:
        return Text(u"Esc");
    case kVkPageUp:
        return Figure(Symbol::kPageUp);
    case kVkPageDown:
        return Figure(Symbol::kPageDown);
    case kVkHome:
        return ctrl ? Text(u"^Home", u"^H") : Text(u"Home", u"Hm");
    case kVkEnd:
        return ctrl ? Text(u"^End", u"^E") : Text(u"End", u"En");
    case kVkLeft:
        return Figure(Symbol::kArrowLeft);
    case kVkUp:
        return Figure(Symbol::kArrowUp);
    case kVkRight:
        return Figure(Symbol::kArrowRight);
    case kVkDown:
        return Figure(Symbol::kArrowDown);
    case kVkInsert:
        return Text(u"Ins");
    case kVkDelete:
        return Text(u"Del");
    default:
        if (vk >= kVkF1 && vk <= kVkF24)
            return FunctionKey(vk - kVkF1 + 1);
        return {};
    }
}

bool IsCombiningMark(char16_t ch) {
    return (ch >= 0x0300 && ch <= 0x036F) || (ch >= 0x20D0 && ch <= 0x20FF);
}

bool IsInvisible(char16_t ch) {
    return ch < 0x20 || (ch >= 0x7F && ch <= 0x9F) || (ch >= 0xD800 && ch <= 0xDFFF) ||
           (ch >= 0x200B && ch <= 0x200F) || ch == 0xFEFF;
}

bool IsUpper(PictureKind kind) {
    return kind == PictureKind::kUpper || kind == PictureKind::kUpperNumber ||
           kind == PictureKind::kUpperBusy;
}
bool IsBusy(PictureKind kind) {
    return kind == PictureKind::kLowerBusy || kind == PictureKind::kUpperBusy;
}
bool IsNumberKind(PictureKind kind) {
    return kind == PictureKind::kNumber || kind == PictureKind::kUpperNumber;
}
bool StateHasKind(KeyboardState state, PictureKind kind) {
    return state == kNormal || kind == PictureKind::kLower || kind == PictureKind::kUpper;
}

// Column (x) and row (y) of each direction within a key, 0..2.
constexpr Point kDirectionPlace[kDirectionCount] = {{2, 1}, {2, 0}, {1, 0}, {0, 0}, {0, 1},
                                                    {0, 2}, {1, 2}, {2, 2}, {1, 1}};

// One third of a cell at the low end, the middle or the high end of [low, high).
void Third(int low, int high, int cell, int which, int& begin, int& end) {
    const int third = cell / 3;
    if (which == 0) {
        begin = low;
    } else if (which == 2) {
        begin = high - third;
    } else {
        begin = (low + high) / 2 - third / 2;
    }
    end = begin + third;
}

class PictureBuilder {
public:
    PictureBuilder(PictureDescription& out, const KeyboardLayout& layout, KeyboardState state,
                   int size, PictureKind kind)
        : out_(out), layout_(layout), state_(state), size_(size), kind_(kind), cw_(out.cellWidth),
          ch_(out.cellHeight) {}

    void Area(int area, Rect r) {
        switch (area) {
        case kLetterGrid:
        case kNumberGrid:
            Grid(area == kLetterGrid ? kLetterSide : kNumberSide, r);
            break;
        case kSpaceArea:
            SpaceArea(r);
            break;
        case kBackspaceArea:
            out_.cells.push_back({r, CellStyle::kKey});
            MainAction(r, LookOfSlot(layout_.Slot(kLetterSide, 7, kSW, 0)), true);
            Add(r, kE, GlyphRole::kAction, LookOfKey(kVkDelete, false));
            break;
        case kEnterArea:
            out_.cells.push_back({r, CellStyle::kKey});
            MainAction(r, LookOfSlot(layout_.Slot(kLetterSide, 3, kNE, 0)), false);
            break;
        case kZeroKeyArea:
            out_.cells.push_back({r, CellStyle::kKey});
            Key(r, [this](int direction, int k) -> const CharacterSlot& {
                return layout_.BottomSlot(direction, k);
            });
            break;
        case kEditingArea:
            EditingArea(r);
            break;
        case kNavigationArea:
            NavigationArea(r);
            break;
        case kSystemArea:
            SystemArea(r);
            break;
        case kFunctionArea:
            // The area's rectangle runs under others; it answers in its first cell only.
            FunctionArea({r.left, r.top, r.left + cw_, r.top + ch_});
            break;
        default:
            break;
        }
    }

private:
    Rect Box(Rect r, int direction) const {
        const Point place = kDirectionPlace[direction];
        Rect box;
        Third(r.left, r.right, cw_, place.x, box.left, box.right);
        Third(r.top, r.bottom, ch_, place.y, box.top, box.bottom);
        return box;
    }

    int HeightOf(GlyphRole role) const {
        switch (role) {
        case GlyphRole::kTap:
            return ch_ * 44 / 100;
        case GlyphRole::kDrag:
            return std::max(7, ch_ * 27 / 100);
        case GlyphRole::kDragReturn:
            return std::max(7, ch_ * 23 / 100);
        case GlyphRole::kAction:
            return std::max(7, ch_ * 23 / 100);
        case GlyphRole::kActionTap:
            return std::max(8, ch_ * 34 / 100);
        }
        return ch_ / 4;
    }

    void AddBox(Rect box, GlyphRole role, GlyphLook look) {
        if (look.Empty())
            return;
        out_.glyphs.push_back({box, role, std::move(look), HeightOf(role)});
    }
    void Add(Rect r, int direction, GlyphRole role, GlyphLook look) {
        AddBox(Box(r, direction), role, std::move(look));
    }

    // The large middle of a one-cell area, or the span between the end thirds of a wider one.
    // A one-cell area with other actions keeps the middle third, clear of them.
    void MainAction(Rect r, GlyphLook look, bool otherActions) {
        Rect box = Box(r, kCenter);
        if (r.right - r.left > cw_) {
            box.left = r.left + cw_ / 3;
            box.right = r.right - cw_ / 3;
        } else if (!otherActions) {
            box.left = (r.left + r.right) / 2 - cw_ / 4;
            box.right = box.left + cw_ / 2;
            box.top = (r.top + r.bottom) / 2 - ch_ / 4;
            box.bottom = box.top + ch_ / 2;
        }
        AddBox(box, GlyphRole::kActionTap, std::move(look));
    }

    template <typename SlotOf> void Key(Rect cell, SlotOf slotOf, int key = 0) {
        const bool upper = IsUpper(kind_);
        for (int d = 0; d < kDirectionCount; ++d) {
            GlyphLook look;
            const bool gesture = key != 0 && Gesture(key, d, look);
            const CharacterSlot& plain = slotOf(d, 0);
            const CharacterSlot& returned = slotOf(d, 1);
            if (!gesture)
                look = LookOfSlot(upper && plain.letterPair ? returned : plain);
            if (d == kCenter) {
                Rect box;
                box.left = (cell.left + cell.right) / 2 - cw_ / 4;
                box.right = box.left + cw_ / 2;
                box.top = (cell.top + cell.bottom) / 2 - ch_ / 4;
                box.bottom = box.top + ch_ / 2;
                AddBox(box, GlyphRole::kTap, look);
                continue;
            }
            GlyphLook second;
            if (IsBusy(kind_) && !gesture && !plain.letterPair) {
                second = LookOfSlot(returned);
                if (second == look)
                    second = {};
            }
            const Rect box = Box(cell, d);
            if (second.Empty()) {
                AddBox(box, GlyphRole::kDrag, look);
                continue;
            }
            // Busy pictures: the plain character on the left, the drag-and-return one right.
            const int middle = (box.left + box.right) / 2;
            AddBox({box.left, box.top, middle, box.bottom}, GlyphRole::kDrag, look);
            AddBox({middle, box.top, box.right, box.bottom}, GlyphRole::kDragReturn, second);
        }
    }

    // The grid gestures own these directions whatever their slots hold.
    static bool Gesture(int key, int direction, GlyphLook& look) {
        if (key == 6 && direction == kN) {
            look = Figure(Symbol::kShift);
        } else if (key == 6 && direction == kS) {
            look = Figure(Symbol::kShiftCancel);
        } else if (key == 1 && direction == kNW) {
            look = Figure(Symbol::kCombine);
        } else {
            return false;
        }
        return true;
    }

    void Grid(int side, Rect r) {
        for (int key = 1; key <= 9; ++key) {
            const int column = (key - 1) % 3;
            const int row = (key - 1) / 3;
            const Rect cell{r.left + column * cw_, r.top + row * ch_, r.left + (column + 1) * cw_,
                            r.top + (row + 1) * ch_};
            out_.cells.push_back({cell, CellStyle::kKey});
            Key(
                cell,
                [this, side, key](int direction, int k) -> const CharacterSlot& {
                    return layout_.Slot(side, key, direction, k);
                },
                key);
        }
    }

    void SpaceArea(Rect r) {
        out_.cells.push_back({r, CellStyle::kKey});
        MainAction(r, LookOfSlot(layout_.Slot(kLetterSide, 9, kSE, 0)), true);
        Add(r, kE, GlyphRole::kAction, LookOfKey(kVkDelete, false));
        // The busy picture is switched in Normal state on the letter side only.
        if (state_ == kNormal && !IsNumberKind(kind_))
            Add(r, kN, GlyphRole::kAction, Figure(Symbol::kBusy));
        Add(r, kW, GlyphRole::kAction, LookOfSlot(layout_.Slot(kLetterSide, 7, kSW, 0)));
        Add(r, kS, GlyphRole::kAction, LookOfSlot(layout_.Slot(kLetterSide, 3, kNE, 0)));
    }

    void EditingArea(Rect r) {
        out_.cells.push_back({r, CellStyle::kAction});
        Add(r, kE, GlyphRole::kAction, Text(u"Copy", u"C"));
        Add(r, kNE, GlyphRole::kAction, Text(u"Ctrl", u"^"));
        Add(r, kN, GlyphRole::kAction, Figure(Symbol::kPageUp));
        Add(r, kNW, GlyphRole::kAction, Text(u"Alt", u"A"));
        Add(r, kW, GlyphRole::kAction, Text(u"Undo", u"Z"));
        Add(r, kSW, GlyphRole::kAction, Text(u"Cut", u"X"));
        Add(r, kS, GlyphRole::kAction, Figure(Symbol::kPageDown));
        Add(r, kSE, GlyphRole::kAction, Text(u"Paste", u"V"));
        Add(r, kCenter, GlyphRole::kAction, Text(u"Mac", u"M"));
    }

    void NavigationArea(Rect r) {
        out_.cells.push_back({r, CellStyle::kAction});
        Add(r, kE, GlyphRole::kAction, Figure(Symbol::kArrowRight));
        Add(r, kNE, GlyphRole::kAction, FunctionKey(2));
        Add(r, kN, GlyphRole::kAction, Figure(Symbol::kArrowUp));
        Add(r, kNW, GlyphRole::kAction, FunctionKey(1));
        Add(r, kW, GlyphRole::kAction, Figure(Symbol::kArrowLeft));
        Add(r, kSW, GlyphRole::kAction, FunctionKey(3));
        Add(r, kS, GlyphRole::kAction, Figure(Symbol::kArrowDown));
        Add(r, kSE, GlyphRole::kAction, FunctionKey(4));
    }

    void FunctionArea(Rect r) {
        out_.cells.push_back({r, CellStyle::kAction});
        static constexpr int kKeys[8] = {9, 7, 6, 5, 8, 10, 11, 12}; // E, NE, ... SE
        for (int d = 0; d < 8; ++d)
            Add(r, d, GlyphRole::kAction, FunctionKey(kKeys[d]));
        MainAction(r, LookOfKey(kVkEscape, false), true);
    }

    void SystemArea(Rect r) {
        out_.cells.push_back({r, CellStyle::kAction});
        GlyphLook tap;
        if (state_ != kNormal)
            tap = Figure(Symbol::kNormalState);
        else if (IsNumberKind(kind_))
            tap = Text(u"abc");
        else
            tap = Text(u"123");
        MainAction(r, tap, true);
        if (state_ != kHorizontal)
            Add(r, kE, GlyphRole::kAction, Figure(Symbol::kHorizontalState));
        if (state_ != kVertical)
            Add(r, kN, GlyphRole::kAction, Figure(Symbol::kVerticalState));
        Add(r, kNE, GlyphRole::kAction, LookOfKey(kVkInsert, false));
        const int smallest = state_ == kVertical ? 2 : 1;
        if (size_ > smallest)
            Add(r, kNW, GlyphRole::kAction, Figure(Symbol::kSizeDown));
        if (size_ < kSizeCount)
            Add(r, kSE, GlyphRole::kAction, Figure(Symbol::kSizeUp));
        Add(r, kSW, GlyphRole::kAction, Figure(Symbol::kWindowsFlag));
        Add(r, kS, GlyphRole::kAction, Figure(Symbol::kAppsMenu));
    }

    PictureDescription& out_;
    const KeyboardLayout& layout_;
    KeyboardState state_;
    int size_;
    PictureKind kind_;
    int cw_;
    int ch_;
};

} // namespace

GlyphLook LookOfSlot(const CharacterSlot& slot) {
    if (slot.vk == 0)
        return {};
    const char16_t ch = slot.ch;
    switch (ch) {
    case 0:
        return LookOfKey(slot.vk, slot.ctrl != 0);
    case u'\b':
        return Figure(Symbol::kBackspace);
    case u'\r':
        return Figure(Symbol::kEnter);
    case u'\t':
        return Figure(Symbol::kTab);
    case u' ':
        return Figure(Symbol::kSpace);
    case u'\u00A0':
        return Text(u"nbsp", u"nb");
    default:
        break;
    }
    if (IsInvisible(ch))
        return {};
    if (IsCombiningMark(ch))
        return Text(std::u16string{u'\u00A0', ch}); // a mark shows on a blank
    return Text(std::u16string(1, ch));
}

bool KeyboardPictureOf(int picture, KeyboardState& state, PictureKind& kind) {
    switch (picture) {
    case kPicNumber:
        state = kNormal;
        kind = PictureKind::kNumber;
        return true;
    case kPicUpperNumber:
        state = kNormal;
        kind = PictureKind::kUpperNumber;
        return true;
    case kPicLowerBusy:
        state = kNormal;
        kind = PictureKind::kLowerBusy;
        return true;
    case kPicUpperBusy:
        state = kNormal;
        kind = PictureKind::kUpperBusy;
        return true;
    case kPicNormalLower:
    case kPicNormalUpper:
        state = kNormal;
        break;
    case kPicHorizontalLower:
    case kPicHorizontalUpper:
        state = kHorizontal;
        break;
    case kPicVerticalLower:
    case kPicVerticalUpper:
        state = kVertical;
        break;
    default:
        return false;
    }
    kind = (picture == kPicNormalLower || picture == kPicHorizontalLower ||
            picture == kPicVerticalLower)
               ? PictureKind::kLower
               : PictureKind::kUpper;
    return true;
}

PictureDescription DescribeKeyboardPicture(KeyboardState state, int size, PictureKind kind,
                                           const KeyboardLayout& layout) {
    PictureDescription out;
    if (!StateHasKind(state, kind))
        return out;
    const Size picture = BuiltInPictureSize(state, size);
    if (picture.width <= 0 || picture.height <= 0)
        return out;
    out.size = picture;
    const int columns = state == kNormal ? 4 : state == kHorizontal ? 7 : 3;
    const int rows = state == kVertical ? 9 : 4;
    out.cellWidth = picture.width / columns;
    out.cellHeight = picture.height / rows;

    KeyGeometry geometry;
    geometry.Compute(picture.width, picture.height, state, !IsNumberKind(kind));
    PictureBuilder builder(out, layout, state, size, kind);
    for (int area = 0; area < kKeyAreaCount; ++area) {
        const KeyArea& a = geometry.areas[static_cast<std::size_t>(area)];
        if (!a.enabled)
            continue;
        builder.Area(area, {a.rect.left, a.rect.top, a.rect.right + 1, a.rect.bottom + 1});
    }
    return out;
}

bool DescribeHighlight(int picture, HighlightLook& look) {
    const bool external = picture == kPicAltExternal || picture == kPicCtrlExternal ||
                          picture == kPicShiftExternal || picture == kPicCapsLockExternal;
    look.style = external ? HighlightStyle::kExternal : HighlightStyle::kInternal;
    switch (picture) {
    case kPicAltInternal:
    case kPicAltExternal:
        look.look = Text(u"Alt", u"A");
        return true;
    case kPicCtrlInternal:
    case kPicCtrlExternal:
        look.look = Text(u"Ctrl", u"^");
        return true;
    case kPicShiftInternal:
    case kPicShiftExternal:
        look.look = Figure(Symbol::kShift);
        return true;
    case kPicCapsLockInternal:
    case kPicCapsLockExternal:
        look.look = Figure(Symbol::kCapsLock);
        return true;
    case kPicMemRecall:
        look.style = HighlightStyle::kMemoryRecall;
        look.look = Text(u"M");
        return true;
    case kPicMemStore:
        look.style = HighlightStyle::kMemoryStore;
        look.look = Text(u"M");
        return true;
    case kPicWinFlag:
        look.style = HighlightStyle::kWindowsFlag;
        look.look = Figure(Symbol::kWindowsFlag);
        return true;
    default:
        return false;
    }
}

int LargestFittingHeight(int height, int smallest, int width,
                         const std::function<int(int)>& textWidthAt) {
    const int full = textWidthAt(height);
    if (full <= width)
        return height;
    if (height <= smallest)
        return 0;
    const auto fits = [&](int h) { return textWidthAt(h) <= width; };
    const long long estimate =
        static_cast<long long>(height) * std::max(0, width) / std::max(1, full);
    int h = static_cast<int>(std::clamp<long long>(estimate, smallest, height - 1));
    if (fits(h)) {
        while (h + 1 < height && fits(h + 1))
            ++h;
        return h;
    }
    while (--h >= smallest)
        if (fits(h))
            return h;
    return 0;
}

} // namespace gw
