// The built-in layout, slot by slot, against the published table.
#include "keyboard/KeyboardModel.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace gw {
namespace {

// The published table, one row per key with the cells E NE N NW W SW S SE centre, each cell
// "kind 0 / kind 1". "—" is an empty slot, a trailing * marks a cell a language cannot set,
// U+XXXX spells characters that are hard to read, and the named keys are the keys themselves.
// Kept apart from the program's own table so a slip in either shows up here.
const char8_t* const kLetterSideRows[] = {
    u8"1 | - / ÷ | — | Up / Ctrl+Home* | —* | Left / —* | $ / ¥ | space / • | v / V | a / A",
    u8"2 | ! / ¡ | ´ / ’ | ^ / ˆ | U+0060 / ‘ | + / × | / / – | l / L | U+005C / — | n / N",
    u8"3 | Right / —* | Enter / Enter* | — | — | ? / ¿ | x / X | = / ± | € / £ | i / I",
    u8"4 | k / K | % / ‰ | space / — | { / } | ( / ) | [ / ] | space / — | _ / ¬ | h / H",
    u8"5 | b / B | p / P | u / U | q / Q | c / C | g / G | d / D | j / J | o / O",
    u8"6 | ) / ( | } / { | —* | U+007C / ¦ | m / M | @ / ª | —* | ] / [ | r / R",
    u8"7 | * / † | y / Y | ¨ / … | ~ / ˜ | < / ‹ | Backspace / Backspace* | Down / Ctrl+End* | "
    u8"Tab / Tab | t / T",
    u8"8 | z / Z | ' / ” | w / W | \" / “ | — | , / ‚ | . / … | : / „ | e / E",
    u8"9 | > / › | ° / º | & / § | f / F | # / £ | ; / ; | Esc / — | space / U+00A0* | s / S",
};

// The number side is the letter side but for these cells.
struct NumberSideCell {
    int key;
    int direction;
    const char8_t* cell;
};
const NumberSideCell kNumberSideCells[] = {
    {1, kCenter, u8"1 / ¹"},      {2, kCenter, u8"2 / ²"}, {3, kCenter, u8"3 / ³"},
    {4, kCenter, u8"4 / ¼"},      {5, kCenter, u8"5 / Θ"}, {6, kCenter, u8"6 / ⁿ"},
    {7, kCenter, u8"7 / ∫"},      {8, kCenter, u8"8 / Π"}, {9, kCenter, u8"9 / Σ"},
    {9, kSE, u8"space / space*"}, {6, kSW, u8"@ / ª*"},
};

// The notes under the table.
const std::u16string kShifted = u"$!^+?%{}()_)(}{|¦@*~<\":>&#";
const std::u16string kPairedLetters = u"vlxkbpuqcgdjmyzwf"; // plus the letter-side centres

std::u16string Utf16(std::u8string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : 3;
        char32_t code = length == 1 ? lead : length == 2 ? lead & 0x1F : lead & 0x0F;
        for (int k = 1; k < length; ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        out.push_back(static_cast<char16_t>(code));
        i += length;
    }
    return out;
}

std::vector<std::u16string> Split(const std::u16string& text, const std::u16string& separator) {
    std::vector<std::u16string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at - start));
        if (at == std::u16string::npos) {
            return parts;
        }
        start = at + separator.size();
    }
}

// The virtual key of the US-English key that types the character, 1 if none does.
std::uint8_t UsKey(char16_t ch) {
    if (ch >= u'a' && ch <= u'z') {
        return static_cast<std::uint8_t>(ch - 0x20);
    }
    if ((ch >= u'A' && ch <= u'Z') || (ch >= u'0' && ch <= u'9') || ch == u' ') {
        return static_cast<std::uint8_t>(ch);
    }
    static const std::map<char16_t, std::uint8_t> punctuation = {
        {u'!', 0x31},  {u'@', 0x32}, {u'#', 0x33},  {u'$', 0x34}, {u'%', 0x35}, {u'^', 0x36},
        {u'&', 0x37},  {u'*', 0x38}, {u'(', 0x39},  {u')', 0x30}, {u';', 0xBA}, {u':', 0xBA},
        {u'=', 0xBB},  {u'+', 0xBB}, {u',', 0xBC},  {u'<', 0xBC}, {u'-', 0xBD}, {u'_', 0xBD},
        {u'.', 0xBE},  {u'>', 0xBE}, {u'/', 0xBF},  {u'?', 0xBF}, {u'`', 0xC0}, {u'~', 0xC0},
        {u'[', 0xDB},  {u'{', 0xDB}, {u'\\', 0xDC}, {u'|', 0xDC}, {u']', 0xDD}, {u'}', 0xDD},
        {u'\'', 0xDE}, {u'"', 0xDE},
    };
    const auto found = punctuation.find(ch);
    return found == punctuation.end() ? 1 : found->second;
}

CharacterSlot ParseEntry(const std::u16string& entry) {
    static const std::map<std::u16string, CharacterSlot> named = {
        {u"—", {}},
        {u"space", {0x20, 0x20}},
        {u"Enter", {0x0D, 0x0D}},
        {u"Backspace", {0x08, 0x08}},
        {u"Tab", {0x09, 0x09}},
        {u"Esc", {0x1B, 0}},
        {u"Up", {0x26, 0}},
        {u"Down", {0x28, 0}},
        {u"Left", {0x25, 0}},
        {u"Right", {0x27, 0}},
        {u"Ctrl+Home", {0x24, 0, 1}},
        {u"Ctrl+End", {0x23, 0, 1}},
    };
    if (const auto found = named.find(entry); found != named.end()) {
        return found->second;
    }
    char16_t ch = entry[0];
    if (entry.size() == 6 && entry.starts_with(u"U+")) {
        ch = static_cast<char16_t>(
            std::stoi(std::string(entry.begin() + 2, entry.end()), nullptr, 16));
    } else {
        EXPECT_EQ(entry.size(), 1u) << "unreadable entry";
    }
    CharacterSlot slot;
    slot.vk = UsKey(ch);
    slot.ch = ch;
    slot.shift = kShifted.find(ch) != std::u16string::npos;
    return slot;
}

struct Cell {
    CharacterSlot plain;
    CharacterSlot returned;
};

Cell ParseCell(std::u16string text) {
    bool definable = true;
    if (text.size() > 1 && text.back() == u'*') {
        definable = false;
        text.pop_back();
    }
    std::vector<std::u16string> kinds = Split(text, u" / ");
    if (kinds.size() == 1 && kinds[0] == u"—") {
        kinds.push_back(u"—");
    }
    EXPECT_EQ(kinds.size(), 2u) << "cell without two kinds";
    kinds.resize(2);
    Cell cell{ParseEntry(kinds[0]), ParseEntry(kinds[1])};
    cell.plain.definable = cell.returned.definable = definable;
    return cell;
}

struct ExpectedLayout {
    SlotTable slots{};
    BottomTable bottom{};
};

ExpectedLayout Transcribe() {
    ExpectedLayout layout;
    auto put = [&](int side, int key, int direction, const Cell& cell) {
        layout.slots[SlotIndex(side, key, direction, 0)] = cell.plain;
        layout.slots[SlotIndex(side, key, direction, 1)] = cell.returned;
    };
    for (const char8_t* row : kLetterSideRows) {
        const std::vector<std::u16string> cells = Split(Utf16(row), u" | ");
        EXPECT_EQ(cells.size(), 10u) << "row of the wrong width";
        const int key = std::stoi(std::string(cells[0].begin(), cells[0].end()));
        for (int direction = 0; direction < kDirectionCount && direction + 1 < int(cells.size());
             ++direction) {
            const Cell cell = ParseCell(cells[direction + 1]);
            put(kLetterSide, key, direction, cell);
            put(kNumberSide, key, direction, cell);
        }
    }
    for (const NumberSideCell& change : kNumberSideCells) {
        put(kNumberSide, change.key, change.direction, ParseCell(Utf16(change.cell)));
    }
    for (int side = kLetterSide; side <= kNumberSide; ++side) {
        for (int key = 1; key <= 9; ++key) {
            for (int direction = 0; direction < kDirectionCount; ++direction) {
                CharacterSlot& slot = layout.slots[SlotIndex(side, key, direction, 0)];
                const bool centre = direction == kCenter && side == kLetterSide;
                slot.letterPair = slot.ch != 0 &&
                                  (centre || kPairedLetters.find(slot.ch) != std::u16string::npos);
            }
        }
    }
    layout.slots[SlotIndex(kNumberSide, 6, kSW, 0)].letterPair = 1;

    for (CharacterSlot& slot : layout.bottom) {
        slot.definable = 1;
    }
    layout.bottom[BottomSlotIndex(kCenter, 0)] = {0x30, u'0', 0, 0, 1, 0};
    layout.bottom[BottomSlotIndex(kSE, 0)] = {0x0D, 0x0D, 0, 0, 1, 0};
    layout.bottom[BottomSlotIndex(kSE, 1)] = {0x0D, 0x0D, 0, 0, 1, 0};
    return layout;
}

std::string Describe(const CharacterSlot& s) {
    char text[96];
    std::snprintf(text, sizeof text, "vk %02X ch U+%04X ctrl %d shift %d definable %d pair %d",
                  s.vk, unsigned(s.ch), s.ctrl, s.shift, s.definable, s.letterPair);
    return text;
}

TEST(BuiltInLayout, EverySlotMatchesThePublishedTable) {
    const ExpectedLayout expected = Transcribe();
    const char* const sides[] = {"letter", "number"};
    const char* const directions[] = {"E", "NE", "N", "NW", "W", "SW", "S", "SE", "centre"};
    for (int side = kLetterSide; side <= kNumberSide; ++side) {
        for (int key = 1; key <= 9; ++key) {
            for (int direction = 0; direction < kDirectionCount; ++direction) {
                for (int kind = 0; kind < 2; ++kind) {
                    const int i = SlotIndex(side, key, direction, kind);
                    EXPECT_EQ(Describe(BuiltInSlots()[i]), Describe(expected.slots[i]))
                        << sides[side] << " side, key " << key << " " << directions[direction]
                        << ", kind " << kind;
                }
            }
        }
    }
    for (int direction = 0; direction < kDirectionCount; ++direction) {
        for (int kind = 0; kind < 2; ++kind) {
            const int i = BottomSlotIndex(direction, kind);
            EXPECT_EQ(Describe(BuiltInBottomSlots()[i]), Describe(expected.bottom[i]))
                << "bottom key " << directions[direction] << ", kind " << kind;
        }
    }
}

TEST(BuiltInLayout, SlotsAreIndexedSideKeyDirectionKind) {
    const SlotTable& slots = BuiltInSlots();
    EXPECT_EQ(slots[0].ch, u'-');        // letter side, key 1 E, kind 0
    EXPECT_EQ(slots[1].ch, u'\u00F7');   // its kind 1
    EXPECT_EQ(slots[2].vk, 0);           // key 1 NE
    EXPECT_EQ(slots[16].ch, u'a');       // key 1 centre
    EXPECT_EQ(slots[18].ch, u'!');       // key 2 E
    EXPECT_EQ(slots[162].ch, u'-');      // number side, key 1 E
    EXPECT_EQ(slots[178].ch, u'1');      // number side, key 1 centre
    EXPECT_EQ(slots[323].ch, u'\u03A3'); // number side, key 9 centre, kind 1
    EXPECT_EQ(BuiltInBottomSlots()[16].ch, u'0');
}

TEST(KeyboardLayout, ResetRestoresTheBuiltInTables) {
    KeyboardLayout layout;
    EXPECT_EQ(layout.slots, BuiltInSlots());
    EXPECT_EQ(layout.bottom, BuiltInBottomSlots());

    layout.Slot(kNumberSide, 9, kCenter, 1) = {1, u'x', 0, 0, 0, 0};
    layout.BottomSlot(kSE, 1) = {};
    layout.ResetToBuiltIn();
    EXPECT_EQ(layout.slots, BuiltInSlots());
    EXPECT_EQ(layout.bottom, BuiltInBottomSlots());
}

} // namespace
} // namespace gw
