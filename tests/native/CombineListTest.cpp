// The built-in combine list and the combine lookup.
#include "keyboard/CombineList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gw {
namespace {

// The rules as published, one row each: first, second, result (hex code units, 0000 = none)
// and the flags R (rotation), C (case matters), A (automatic). Kept apart from the program's
// own table so a slip in either shows up here.
const char* const kPublishedRules[] = {
    "002F 002C 201A -C-", "0066 002F 0192 RC-", "002C 002C 201E -C-", "002E 002E 2026 -C-",
    "002B 007C 2020 -C-", "002B 002B 2021 -C-", "005E 002D 02C6 -C-", "0025 0025 2030 -C-",
    "0053 005E 0160 RC-", "003C 002F 2039 -C-", "004F 0045 0152 RC-", "003C 0027 2018 -C-",
    "003E 0027 2019 -C-", "0060 0060 201C -C-", "00B4 00B4 201D -C-", "002E 002F 2022 -C-",
    "006E 002D 2013 -C-", "006D 002D 2014 ---", "007E 002D 02DC ---", "0074 006D 2122 R--",
    "0073 005E 0161 RC-", "003E 002D 203A -C-", "006F 0065 0153 RC-", "0059 00A8 0178 RCA",
    "0021 002F 00A1 RC-", "0063 002F 00A2 RC-", "004C 002D 00A3 RC-", "006F 003D 00A4 RC-",
    "0059 003D 00A5 RC-", "007C 002D 00A6 RC-", "0053 002F 00A7 R--", "0000 0000 00A8 RC-",
    "0063 006F 00A9 R--", "0061 002D 00AA -C-", "003C 003C 00AB -C-", "002D 007C 00AC -C-",
    "002D 002D 00AD -C-", "0072 006F 00AE R--", "002D 005E 00AF -C-", "002B 002D 00B1 -C-",
    "0032 005E 00B2 RC-", "0033 005E 00B3 RC-", "006D 0075 00B5 -C-", "0070 0070 00B6 ---",
    "0031 005E 00B9 RC-", "003E 003E 00BB -C-", "0031 0034 00BC RC-", "0031 0032 00BD RC-",
    "0033 0034 00BE RC-", "003F 002F 00BF -C-", "0041 0060 00C0 RCA", "0041 00B4 00C1 RCA",
    "0041 005E 00C2 RCA", "0041 007E 00C3 RCA", "0041 00A8 00C4 RCA", "0041 00B0 00C5 RCA",
    "0041 0045 00C6 RC-", "0043 0043 00C7 RC-", "0045 0060 00C8 RCA", "0045 00B4 00C9 RCA",
    "0045 005E 00CA RCA", "0045 00A8 00CB RCA", "0049 0060 00CC RCA", "0049 00B4 00CD RCA",
    "0049 005E 00CE RCA", "0049 00A8 00CF RCA", "0044 002D 00D0 RC-", "004E 007E 00D1 RCA",
    "004F 0060 00D2 RCA", "004F 00B4 00D3 RCA", "004F 005E 00D4 RCA", "004F 007E 00D5 RCA",
    "004F 00A8 00D6 RCA", "0078 0078 00D7 RC-", "004F 002F 00D8 -C-", "0055 0060 00D9 RCA",
    "0055 00B4 00DA RCA", "0055 005E 00DB RCA", "0055 00A8 00DC RCA", "0059 00B4 00DD RCA",
    "0049 0050 00DE -C-", "0073 0073 00DF RC-", "0061 0060 00E0 RCA", "0061 00B4 00E1 RCA",
    "0061 005E 00E2 RCA", "0061 007E 00E3 RCA", "0061 00A8 00E4 RCA", "0061 00B0 00E5 RCA",
    "0061 0065 00E6 RC-", "0063 0063 00E7 RC-", "0065 0060 00E8 RCA", "0065 00B4 00E9 RCA",
    "0065 005E 00EA RCA", "0065 00A8 00EB RCA", "0069 0060 00EC RCA", "0069 00B4 00ED RCA",
    "0069 005E 00EE RC-", "0069 00A8 00EF RCA", "0064 002D 00F0 RC-", "006E 007E 00F1 RCA",
    "006F 0060 00F2 RCA", "006F 00B4 00F3 RCA", "006F 005E 00F4 RCA", "006F 007E 00F5 RCA",
    "006F 00A8 00F6 RCA", "002D 003A 00F7 -C-", "006F 002F 00F8 RC-", "0075 0060 00F9 RCA",
    "0075 00B4 00FA RCA", "0075 005E 00FB RCA", "0075 00A8 00FC RCA", "0079 00B4 00FD RCA",
    "0069 0050 00FE -C-", "0079 00A8 00FF RCA", "0041 004C 0391 -C-", "0042 0045 0392 -C-",
    "0047 0041 0393 -C-", "0044 0045 0394 -C-", "0045 0050 0395 -C-", "005A 0045 0396 -C-",
    "0045 0054 0397 -C-", "0054 0045 0398 -C-", "0049 004F 0399 -C-", "004B 0041 039A -C-",
    "004C 0041 039B -C-", "004D 0055 039C -C-", "004E 0055 039D -C-", "0058 0049 039E -C-",
    "004F 004E 039F -C-", "0050 0049 03A0 -C-", "0052 004F 03A1 -C-", "0053 0049 03A3 -C-",
    "0054 0041 03A4 -C-", "0055 0050 03A5 -C-", "0050 0048 03A6 -C-", "0043 0048 03A7 -C-",
    "0050 0053 03A8 -C-", "004F 004D 03A9 -C-", "0061 006C 03B1 -C-", "0062 0065 03B2 -C-",
    "0067 0061 03B3 -C-", "0064 0065 03B4 -C-", "0065 0070 03B5 -C-", "007A 0065 03B6 -C-",
    "0065 0074 03B7 -C-", "0074 0065 03B8 -C-", "0069 006F 03B9 -C-", "006B 0061 03BA -C-",
    "006C 0061 03BB -C-", "006D 0075 03BC -C-", "006E 0075 03BD -C-", "0078 0069 03BE -C-",
    "006F 006E 03BF -C-", "0070 0069 03C0 -C-", "0072 006F 03C1 -C-", "0066 0073 03C2 -C-",
    "0073 0069 03C3 -C-", "0074 0061 03C4 -C-", "0075 0070 03C5 -C-", "0070 0068 03C6 -C-",
    "0063 0068 03C7 -C-", "0070 0073 03C8 -C-", "006F 006D 03C9 -C-", "006E 005E 207F RC-",
    "0066 0066 20A3 R--", "006C 0072 20A4 R--", "0070 007A 20A7 R--", "006F 0068 2126 -C-",
    "0070 0064 2202 ---", "0073 0071 221A R--", "0072 0032 221A R--", "006F 006F 221E R--",
    "0073 005C 222B R--", "007E 003D 2248 -C-", "002F 003D 2260 -C-", "003C 003D 2264 -C-",
    "003E 003D 2265 -C-",
};

CombineElement ParseRule(const std::string& row) {
    CombineElement rule;
    rule.FirstChar = static_cast<char16_t>(std::stoul(row.substr(0, 4), nullptr, 16));
    rule.SecondChar = static_cast<char16_t>(std::stoul(row.substr(5, 4), nullptr, 16));
    rule.ResultChar = static_cast<char16_t>(std::stoul(row.substr(10, 4), nullptr, 16));
    rule.RotFlag = row[15] == 'R';
    rule.CaseMatters = row[16] == 'C';
    rule.AutoCombineFlag = row[17] == 'A';
    return rule;
}

TEST(CombineList, BuiltInListMatchesThePublishedRulesInOrder) {
    auto list = BuiltInCombineList();
    ASSERT_EQ(list.size(), std::size(kPublishedRules));
    for (std::size_t i = 0; i < list.size(); ++i)
        EXPECT_EQ(list[i], ParseRule(kPublishedRules[i])) << "rule " << i;
}

TEST(CombineList, PairLookupHonoursCaseAndScope) {
    auto list = BuiltInCombineList();
    struct Case {
        char16_t previous, last;
        CombineScope scope;
        char16_t result;
        int count;
    } cases[] = {
        {u'o', u'e', CombineScope::All, u'\u0153', 2},           // œ, not automatic
        {u'o', u'e', CombineScope::AutoOnly, 0, 0},              // so no auto-combine
        {u'O', u'E', CombineScope::All, u'\u0152', 2},           // Œ (case matters)
        {u'a', u'\u00B4', CombineScope::AutoOnly, u'\u00E1', 2}, // á
        {u'A', u'\u00B4', CombineScope::AutoOnly, u'\u00C1', 2}, // Á
        {u'T', u'M', CombineScope::All, u'\u2122', 2},           // ™: case does not matter
        {u'M', u'-', CombineScope::All, u'\u2014', 2},           // — likewise
        {u'n', u'-', CombineScope::All, u'\u2013', 2},           // –
        {u'N', u'-', CombineScope::All, 0, 0},                   // but – needs a small n
    };
    for (const Case& c : cases) {
        CombineResult r = CombineLookup(list, c.previous, c.last, c.scope);
        EXPECT_EQ(r.result, c.result) << int(c.previous) << " " << int(c.last);
        EXPECT_EQ(r.count, c.count) << int(c.previous) << " " << int(c.last);
    }
}

TEST(CombineList, RotationCyclesThroughResultsAndBackToTheBase) {
    auto list = BuiltInCombineList();
    const std::u16string cycle = u"a\u00E0\u00E1\u00E2\u00E3\u00E4\u00E5\u00E6a";
    for (std::size_t i = 0; i + 1 < cycle.size(); ++i) {
        CombineResult r = CombineLookup(list, 0, cycle[i], CombineScope::All);
        EXPECT_EQ(r.result, cycle[i + 1]) << "step " << i;
        EXPECT_EQ(r.count, 1);
    }
}

TEST(CombineList, NothingToCombine) {
    auto list = BuiltInCombineList();
    EXPECT_EQ(CombineLookup(list, u'q', u'q', CombineScope::All).count, 0);
    EXPECT_EQ(CombineLookup(list, u'x', 0, CombineScope::All).count, 0);
    EXPECT_EQ(CombineLookup(list, u'a', u'q', CombineScope::AutoOnly).count, 0);
}

TEST(CombineList, LetterCaseHelpers) {
    EXPECT_TRUE(IsLowerLetter(u'z'));
    EXPECT_TRUE(IsLowerLetter(u'\u00E0'));
    EXPECT_FALSE(IsLowerLetter(u'\u00F7'));         // ÷ sits between the letters
    EXPECT_FALSE(IsLowerLetter(u'\u00FF'));         // ÿ has no upper case 32 below
    EXPECT_EQ(ToLowerLetter(u'\u00D7'), u'\u00D7'); // ×
    EXPECT_EQ(ToLowerLetter(u'\u00C0'), u'\u00E0');
    EXPECT_EQ(ToLowerLetter(u'Q'), u'q');
}

} // namespace
} // namespace gw
