// The built-in English layout: both grids and the number side's bottom key.
#include "keyboard/KeyboardModel.h"
#include "keyboard/VirtualKeys.h"

namespace gw {

namespace {

// The two kinds of one key and direction.
struct Cell {
    CharacterSlot plain;    // kind 0
    CharacterSlot returned; // kind 1
};

constexpr CharacterSlot Char(char16_t ch, std::uint8_t vk) {
    return {vk, ch, 0, 0, 1, 0};
}
constexpr CharacterSlot Shifted(char16_t ch, std::uint8_t vk) {
    return {vk, ch, 0, 1, 1, 0};
}
constexpr CharacterSlot Other(char16_t ch) { // no US key
    return Char(ch, kVkNone);
}
constexpr CharacterSlot Key(std::uint8_t vk) { // sends the key itself
    return {vk, 0, 0, 0, 1, 0};
}
constexpr CharacterSlot CtrlKey(std::uint8_t vk) {
    return {vk, 0, 1, 0, 1, 0};
}
constexpr CharacterSlot Control(char16_t ch) { // Enter, Backspace, Tab, space
    return Char(ch, static_cast<std::uint8_t>(ch));
}
constexpr CharacterSlot Empty() {
    return {0, 0, 0, 0, 1, 0};
}

constexpr Cell Pair(CharacterSlot plain, CharacterSlot returned) {
    return {plain, returned};
}
constexpr Cell Letter(char16_t lower) {
    const auto upper = static_cast<char16_t>(lower - 0x20);
    const auto vk = static_cast<std::uint8_t>(upper);
    CharacterSlot plain = Char(lower, vk);
    plain.letterPair = 1;
    return {plain, Char(upper, vk)};
}
constexpr Cell Nothing() {
    return {Empty(), Empty()};
}
// The engine and the navigation keys own these cells; a language cannot redefine them.
constexpr Cell Fixed(Cell cell) {
    cell.plain.definable = 0;
    cell.returned.definable = 0;
    return cell;
}

constexpr CharacterSlot Space() {
    return Control(u' ');
}

// Letter side, keys 1..9, directions E NE N NW W SW S SE centre.
// clang-format off
constexpr Cell kLetterSideCells[9][kDirectionCount] = {
    { // 1
        Pair(Char(u'-', kVkMinus), Other(u'\u00F7')),
        Nothing(),
        Fixed(Pair(Key(kVkUp), CtrlKey(kVkHome))),
        Fixed(Nothing()),
        Fixed(Pair(Key(kVkLeft), Empty())),
        Pair(Shifted(u'$', 0x34), Other(u'\u00A5')),
        Pair(Space(), Other(u'\u2022')),
        Letter(u'v'),
        Letter(u'a'),
    },
    { // 2
        Pair(Shifted(u'!', 0x31), Other(u'\u00A1')),
        Pair(Other(u'\u00B4'), Other(u'\u2019')),
        Pair(Shifted(u'^', 0x36), Other(u'\u02C6')),
        Pair(Char(u'`', kVkGrave), Other(u'\u2018')),
        Pair(Shifted(u'+', kVkPlus), Other(u'\u00D7')),
        Pair(Char(u'/', kVkSlash), Other(u'\u2013')),
        Letter(u'l'),
        Pair(Char(u'\\', kVkBackslash), Empty()),
        Letter(u'n'),
    },
    { // 3
        Fixed(Pair(Key(kVkRight), Empty())),
        Fixed(Pair(Control(u'\r'), Control(u'\r'))),
        Nothing(),
        Nothing(),
        Pair(Shifted(u'?', kVkSlash), Other(u'\u00BF')),
        Letter(u'x'),
        Pair(Char(u'=', kVkPlus), Other(u'\u00B1')),
        Pair(Other(u'\u20AC'), Other(u'\u00A3')),
        Letter(u'i'),
    },
    { // 4
        Letter(u'k'),
        Pair(Shifted(u'%', 0x35), Other(u'\u2030')),
        Pair(Space(), Empty()),
        Pair(Shifted(u'{', kVkOpen), Shifted(u'}', kVkClose)),
        Pair(Shifted(u'(', 0x39), Shifted(u')', 0x30)),
        Pair(Char(u'[', kVkOpen), Char(u']', kVkClose)),
        Pair(Space(), Empty()),
        Pair(Shifted(u'_', kVkMinus), Other(u'\u00AC')),
        Letter(u'h'),
    },
    { // 5
        Letter(u'b'),
        Letter(u'p'),
        Letter(u'u'),
        Letter(u'q'),
        Letter(u'c'),
        Letter(u'g'),
        Letter(u'd'),
        Letter(u'j'),
        Letter(u'o'),
    },
    { // 6
        Pair(Shifted(u')', 0x30), Shifted(u'(', 0x39)),
        Pair(Shifted(u'}', kVkClose), Shifted(u'{', kVkOpen)),
        Fixed(Nothing()),
        Pair(Shifted(u'|', kVkBackslash), Shifted(u'\u00A6', kVkNone)),
        Letter(u'm'),
        Pair(Shifted(u'@', 0x32), Other(u'\u00AA')),
        Fixed(Nothing()),
        Pair(Char(u']', kVkClose), Char(u'[', kVkOpen)),
        Letter(u'r'),
    },
    { // 7
        Pair(Shifted(u'*', 0x38), Other(u'\u2020')),
        Letter(u'y'),
        Pair(Other(u'\u00A8'), Other(u'\u2026')),
        Pair(Shifted(u'~', kVkGrave), Other(u'\u02DC')),
        Pair(Shifted(u'<', kVkComma), Other(u'\u2039')),
        Fixed(Pair(Control(u'\b'), Control(u'\b'))),
        Fixed(Pair(Key(kVkDown), CtrlKey(kVkEnd))),
        Pair(Control(u'\t'), Control(u'\t')),
        Letter(u't'),
    },
    { // 8
        Letter(u'z'),
        Pair(Char(u'\'', kVkQuote), Other(u'\u201D')),
        Letter(u'w'),
        Pair(Shifted(u'"', kVkQuote), Other(u'\u201C')),
        Nothing(),
        Pair(Char(u',', kVkComma), Other(u'\u201A')),
        Pair(Char(u'.', kVkPeriod), Other(u'\u2026')),
        Pair(Shifted(u':', kVkSemicolon), Other(u'\u201E')),
        Letter(u'e'),
    },
    { // 9
        Pair(Shifted(u'>', kVkPeriod), Other(u'\u203A')),
        Pair(Other(u'\u00B0'), Other(u'\u00BA')),
        Pair(Shifted(u'&', 0x37), Other(u'\u00A7')),
        Letter(u'f'),
        Pair(Shifted(u'#', 0x33), Other(u'\u00A3')),
        Pair(Char(u';', kVkSemicolon), Char(u';', kVkSemicolon)),
        Pair(Key(kVkEscape), Empty()),
        Fixed(Pair(Space(), Other(u'\u00A0'))),
        Letter(u's'),
    },
};

// Number side centres: the digits over their kind-1 signs.
constexpr char16_t kNumberCentreSigns[9] = {
    u'\u00B9', u'\u00B2', u'\u00B3', u'\u00BC', u'\u0398',
    u'\u207F', u'\u222B', u'\u03A0', u'\u03A3',
};
// clang-format on

void Put(SlotTable& table, int side, int key, int direction, const Cell& cell) {
    table[SlotIndex(side, key, direction, 0)] = cell.plain;
    table[SlotIndex(side, key, direction, 1)] = cell.returned;
}

SlotTable MakeBuiltInSlots() {
    SlotTable table{};
    for (int side = kLetterSide; side <= kNumberSide; ++side) {
        for (int key = 1; key <= 9; ++key) {
            for (int direction = 0; direction < kDirectionCount; ++direction) {
                Put(table, side, key, direction, kLetterSideCells[key - 1][direction]);
            }
        }
    }
    // The number side differs from the letter side only here.
    for (int key = 1; key <= 9; ++key) {
        const auto digit = static_cast<char16_t>(u'0' + key);
        Put(table, kNumberSide, key, kCenter,
            Pair(Char(digit, static_cast<std::uint8_t>(digit)),
                 Other(kNumberCentreSigns[key - 1])));
    }
    Put(table, kNumberSide, 9, kSE, Fixed(Pair(Space(), Space())));
    Cell at = Fixed(Pair(Shifted(u'@', 0x32), Other(u'\u00AA')));
    at.plain.letterPair = 1;
    Put(table, kNumberSide, 6, kSW, at);
    return table;
}

BottomTable MakeBuiltInBottomSlots() {
    BottomTable table{};
    table.fill(Empty());
    table[BottomSlotIndex(kCenter, 0)] = Char(u'0', 0x30);
    table[BottomSlotIndex(kSE, 0)] = Control(u'\r');
    table[BottomSlotIndex(kSE, 1)] = Control(u'\r');
    return table;
}

} // namespace

const SlotTable& BuiltInSlots() {
    static const SlotTable table = MakeBuiltInSlots();
    return table;
}

const BottomTable& BuiltInBottomSlots() {
    static const BottomTable table = MakeBuiltInBottomSlots();
    return table;
}

} // namespace gw
