// The Macro Scribe dialogs' rules: the badge and the listed content, the Edit Macro fields'
// check, and the working copy's edits (renaming to another letter case, onto another macro,
// removing, taking a loaded file).
#include "macros/MacroScribeRules.h"

#include <gtest/gtest.h>

#include <utility>

namespace gw {
namespace {

using Keys = std::vector<std::u16string>;

Keys KeysOf(const MacroMap& macros) {
    Keys keys;
    for (const auto& entry : macros)
        keys.push_back(entry.first);
    return keys;
}

TEST(MacroScribeRules, TheBadgeMarksOneCharacterKeysOfTheDragSet) {
    EXPECT_EQ(kDragCharacters.size(), 54u);
    for (char16_t ch : kDragCharacters)
        EXPECT_TRUE(ShowsMacroBadge(std::u16string(1, ch))) << static_cast<int>(ch);
    for (std::u16string key : {u"7", u"e", u"V", u"vv", u"", u" ", u"\u00E9"})
        EXPECT_FALSE(ShowsMacroBadge(key)) << std::string(key.begin(), key.end());
}

TEST(MacroScribeRules, TheListShowsLineBreaksAndTabsByName) {
    EXPECT_EQ(ListedContent(u"line one\rline\ttwo"), u"line one<CR>line<TAB>two");
    EXPECT_EQ(ListedContent(u"\r\r\t"), u"<CR><CR><TAB>");
    EXPECT_EQ(ListedContent(u"plain"), u"plain");
}

TEST(MacroScribeRules, TheEditFieldShowsLineBreaksAsCrLfAndGivesThemBackAsOneCr) {
    EXPECT_EQ(ContentToEditText(u"a\rb\r"), u"a\r\nb\r\n");
    EXPECT_EQ(ContentFromEditText(u"a\r\nb\r\n"), u"a\rb\r");
    EXPECT_EQ(ContentFromEditText(u"a\rb\nc\r"), u"a\rb\nc\r") << "lone characters stay";
    const std::u16string content = u"line1\rline2\tend";
    EXPECT_EQ(ContentFromEditText(ContentToEditText(content)), content);
}

TEST(MacroScribeRules, AMacroNeedsAKeyWithoutWhiteSpaceAndAContent) {
    struct Case {
        std::u16string key;
        std::u16string content;
        bool acceptable;
        bool warning;
    };
    const Case cases[] = {
        {u"btw", u"by the way", true, false}, {u"", u"text", false, false},
        {u"btw", u"", false, false},          {u"b w", u"text", false, true},
        {u" ", u"text", false, true},         {u"b\tw", u"", false, true},
        {u"b\rw", u"x", false, true},         {u"b\nw", u"x", false, true},
        {u"b\vw", u"x", false, true},         {u"b\fw", u"x", false, true},
        {u"b\u00A0w", u"x", true, false},     {u"k", u" ", true, false},
    };
    for (const Case& c : cases) {
        const MacroFieldsCheck check = CheckMacroFields(c.key, c.content);
        EXPECT_EQ(check.acceptable, c.acceptable) << std::string(c.key.begin(), c.key.end());
        EXPECT_EQ(check.keyHasWhiteSpace, c.warning) << std::string(c.key.begin(), c.key.end());
    }
}

TEST(MacroScribeRules, TextsOfTheDialogs) {
    EXPECT_EQ(ReplaceMacroQuestion(u"BTW"),
              u"The macro (BTW) already exists.\nDo you want to replace it?");
    EXPECT_EQ(MacroScribeTitle(u""), u"Macro Scribe");
    EXPECT_EQ(MacroScribeTitle(u"C:\\m\\my.msb"), u"Macro Scribe - C:\\m\\my.msb");
}

TEST(MacroScribeRules, RenamingToAnotherLetterCaseKeepsOneMacroInTheNewSpelling) {
    MacroMap macros{{u"btw", u"by the way"}, {u"cu", u"see you"}};
    EXPECT_FALSE(ReplacesOtherMacro(macros, u"btw", u"BTW"));
    EXPECT_TRUE(StoreEditedMacro(macros, u"btw", u"BTW", u"by the way"));
    EXPECT_EQ(KeysOf(macros), (Keys{u"BTW", u"cu"}));
    EXPECT_EQ(macros.at(u"btw"), u"by the way");
    EXPECT_FALSE(StoreEditedMacro(macros, u"BTW", u"BTW", u"by the way")) << "nothing changed";
    EXPECT_TRUE(StoreEditedMacro(macros, u"BTW", u"BTW", u"by the way!"));
}

TEST(MacroScribeRules, RenamingOntoAnotherMacroReplacesIt) {
    MacroMap macros{{u"btw", u"by the way"}, {u"Cu", u"see you"}, {u"x", u"ex"}};
    EXPECT_TRUE(ReplacesOtherMacro(macros, u"btw", u"cu"));
    EXPECT_TRUE(StoreEditedMacro(macros, u"btw", u"cu", u"new"));
    EXPECT_EQ(macros, (MacroMap{{u"cu", u"new"}, {u"x", u"ex"}}));
    EXPECT_EQ(KeysOf(macros).front(), u"cu") << "the new spelling";
}

TEST(MacroScribeRules, ANewMacroReplacesOneOfTheSameKeyInAnyLetterCase) {
    MacroMap macros{{u"Hello", u"old"}};
    EXPECT_TRUE(ReplacesOtherMacro(macros, u"", u"hello"));
    EXPECT_FALSE(ReplacesOtherMacro(macros, u"", u"hi"));
    StoreNewMacro(macros, u"hello", u"new");
    EXPECT_EQ(KeysOf(macros), (Keys{u"hello"}));
    EXPECT_EQ(macros.at(u"HELLO"), u"new");
}

TEST(MacroScribeRules, RemovingTakesExactlyTheGivenKeys) {
    MacroMap macros;
    for (std::u16string key : {u"a", u"b", u"c", u"d", u"e", u"f"})
        macros.emplace(key, key);
    RemoveMacros(macros, {u"A", u"c", u"f", u"zz"});
    EXPECT_EQ(KeysOf(macros), (Keys{u"b", u"d", u"e"}));
}

TEST(MacroScribeRules, ALoadedFileOverwritesAndAddsAndKeepsTheOthers) {
    MacroMap working{{u"Btw", u"mine"}, {u"only", u"here"}};
    TakeMacros(working, {{u"btw", u"theirs"}, {u"new", u"one"}});
    EXPECT_EQ(KeysOf(working), (Keys{u"Btw", u"new", u"only"}));
    EXPECT_EQ(working.at(u"btw"), u"theirs");
}

} // namespace
} // namespace gw
