// The macro map's order and the macro file, byte for byte: the archive strings' three length
// forms, the ANSI form of older files, the cut at U+0000, merging, and files cut short or
// announcing more than they hold.
#include "macros/MacroFile.h"

#include <gtest/gtest.h>

namespace gw {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Stands in for the system code page: each byte is the character of the same number.
std::u16string Latin1(std::string_view bytes) {
    std::u16string text;
    for (char c : bytes)
        text += static_cast<char16_t>(static_cast<unsigned char>(c));
    return text;
}

MacroMap Read(const Bytes& file, MacroMap macros = {}) {
    ReadMacroFile(file, macros, Latin1);
    return macros;
}

TEST(MacroFile, OneMacroIsTheTwentyTwoBytesOfTheExample) {
    const MacroMap macros{{u"abc", u"Hi"}};
    const Bytes expected{1, 0,   0, 0,    0xFF, 0xFE, 0xFF, 3,   'a', 0,   'b',
                         0, 'c', 0, 0xFF, 0xFE, 0xFF, 2,    'H', 0,   'i', 0};
    EXPECT_EQ(WriteMacroFile(macros), expected);
    EXPECT_EQ(Read(expected), macros);
}

TEST(MacroFile, AnEmptyMapIsFourZeroBytesAndReadsBackEmpty) {
    EXPECT_EQ(WriteMacroFile({}), (Bytes{0, 0, 0, 0}));
    EXPECT_TRUE(Read({0, 0, 0, 0}).empty());
}

TEST(MacroFile, LengthFormsChangeAt255And65534Units) {
    struct Case {
        std::size_t units;
        Bytes lengthBytes; // after the FF FE FF marker
    };
    const Case cases[] = {
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        const std::u16string content(c.units, u'x');
        Bytes out;
        AppendArchiveString(out, content);
        ASSERT_EQ(out.size(), 3 + c.lengthBytes.size() + 2 * c.units) << c.units;
        EXPECT_EQ(Bytes(out.begin() + 3, out.begin() + 3 + c.lengthBytes.size()), c.lengthBytes)
            << c.units;
        const MacroMap macros{{u"k", content}};
        EXPECT_EQ(Read(WriteMacroFile(macros)), macros) << c.units;
    }
}

TEST(MacroFile, OlderFormsAreRead) {
    // ANSI strings without the marker, one with the 16-bit length form; then a Unicode string
    // whose 16-bit length says 0xFFFE, which means a 32-bit length follows.
    Bytes file{2, 0, 0, 0, 2, 'c', 0xE9, 0xFF, 3, 0, 'a', 'b', 'c'};
    file.insert(file.end(), {0xFF, 0xFE, 0xFF, 2, 'k', 0, '2', 0});
    file.insert(file.end(), {0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 1, 0, 0, 0, 'v', 0});
    EXPECT_EQ(Read(file), (MacroMap{{u"c\u00E9", u"abc"}, {u"k2", u"v"}}));
}

TEST(MacroFile, TextEndsAtItsFirstNulCharacter) {
    const MacroMap macros{{u"key", std::u16string(u"be\0fore", 7)}};
    EXPECT_EQ(Read(WriteMacroFile(macros)), (MacroMap{{u"key", u"be"}}));
}

TEST(MacroFile, KeysAreOneWithoutRegardToTheCaseOfAToZ) {
    MacroMap macros;
    StoreMacro(macros, u"Hello", u"first");
    StoreMacro(macros, u"hello", u"second");
    ASSERT_EQ(macros.size(), 1u);
    EXPECT_EQ(macros.begin()->first, u"Hello");
    EXPECT_EQ(macros.begin()->second, u"second");
    // Only A-Z fold: other letters keep their own case, and code units compare by value.
    StoreMacro(macros, u"\u00C9t\u00E9", u"1");
    StoreMacro(macros, u"\u00E9t\u00E9", u"2");
    EXPECT_EQ(macros.size(), 3u);
    MacroMap ordered;
    for (const char16_t* key : {u"b", u"A_", u"a", u"ab", u"Z", u"_"})
        StoreMacro(ordered, key, u"");
    std::u16string order;
    for (const auto& entry : ordered)
        order += entry.first + u" ";
    EXPECT_EQ(order, u"_ a A_ ab b Z ");
}

TEST(MacroFile, LoadingMergesIntoWhatIsThere) {
    const MacroMap existing{{u"Btw", u"old"}, {u"keep", u"kept"}};
    const MacroMap merged = Read(WriteMacroFile({{u"BTW", u"new"}, {u"add", u"added"}}), existing);
    EXPECT_EQ(merged, (MacroMap{{u"add", u"added"}, {u"Btw", u"new"}, {u"keep", u"kept"}}));
    EXPECT_EQ(merged.find(u"btw")->first, u"Btw");
}

TEST(MacroFile, AShortOrHostileFileKeepsTheRecordsBeforeIt) {
    const Bytes whole = WriteMacroFile({{u"a", u"1"}, {u"b", u"2"}});
    MacroMap macros;
    // Cut anywhere inside the second record, or a count larger than the records present.
    for (std::size_t cut = 23; cut < whole.size(); ++cut) {
        macros.clear();
        EXPECT_EQ(ReadMacroFile(Bytes(whole.begin(), whole.begin() + cut), macros, Latin1), 1u)
            << cut;
        EXPECT_EQ(macros, (MacroMap{{u"a", u"1"}})) << cut;
    }
    Bytes moreAnnounced = whole;
    moreAnnounced[0] = 9;
    EXPECT_EQ(Read(moreAnnounced).size(), 2u);
    // Lengths of up to four billion characters in a file of a few bytes allocate nothing.
    for (const Bytes& hostile :
         {Bytes{1, 0, 0, 0, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 0},
          Bytes{1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F},
          Bytes{0xFF, 0xFF, 0xFF, 0xFF}, Bytes{1, 0}, Bytes{}})
        EXPECT_TRUE(Read(hostile).empty());
}

} // namespace
} // namespace gw
