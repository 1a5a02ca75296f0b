// Macro matching on what the user types elsewhere, the recall's key events, the echo that
// follows it, and the hot key passed on when nothing matches.
#include "macros/MacroStore.h"

#include "tests/native/FakeKeyboardTarget.h"

#include <gtest/gtest.h>

namespace gw {
namespace {

using testing::FakeKeyboardTarget;

class RecordingApplication : public MacroStorePort {
public:
    void OnMacroMatchChanged() override { ++matchChanges; }
    void OpenMacroScribe(std::uint8_t newKey, const std::u16string& key) override {
        opened.emplace_back(newKey, key);
    }
    int matchChanges = 0;
    std::vector<std::pair<std::uint8_t, std::u16string>> opened;
};

HookEvent Event(std::uint32_t message, std::uint32_t wParam) {
    HookEvent event;
    event.window = 0x1234;
    event.message = message;
    event.wParam = wParam;
    return event;
}

class MacroStoreTest : public ::testing::Test {
protected:
    MacroStoreTest() {
        store.ReplaceMacros({{u"btw", u"by the way"},
                             {u"Sig", u"line1\rline2"},
                             {u"seventeen-letters", u"never"},
                             {u"sixteen-letters!", u"sixteen"}});
        store.SetOutput(&output, &target);
    }
    // Characters typed in another program, as the hook reports them.
    void Type(std::u16string_view text) {
        for (char16_t ch : text)
            store.OnHookEvent(Event(hookmsg::kChar, ch));
    }

    RecordingApplication application;
    MacroStore store{application};
    FakeKeyboardTarget target;
    OutputState state;
    KeystrokeOutput output{target, target, state};
};

TEST_F(MacroStoreTest, AKeyMatchesAsItsLastCharacterIsTypedAfterWhiteSpace) {
    struct Case {
        std::u16string_view typed;
        bool matches;
    };
    const Case cases[] = {
        {u"btw", true},
        {u"xyz btw", true},
        {u"xyz\tbtw", true},
        {u"xbtw", false},
        {u"BTW", true},
        {u"btw ", false},
        {u"btwx", false},
        {u"btw\b", false},             // Backspace: bt is no key
        {u"btww\b", true},             // and back to btw
        {u"\b\bbtw", true},            // Backspace on nothing
        {u"seventeen-letters", false}, // the buffer keeps the last 16 characters
        {u"sixteen-letters!", true},
        {u"0123456789sixteen-letters!", true},
    };
    for (const Case& c : cases) {
        store.ResetMatch();
        Type(c.typed);
        EXPECT_EQ(store.MatchShown(), c.matches) << std::string(c.typed.begin(), c.typed.end());
    }
}

TEST_F(MacroStoreTest, TheApplicationHearsOfEachChangeOfTheShownMatch) {
    Type(u"bt");
    EXPECT_EQ(application.matchChanges, 0);
    Type(u"w");
    EXPECT_EQ(application.matchChanges, 1);
    EXPECT_EQ(store.MatchedContent(), u"by the way");
    store.OnHookEvent(Event(hookmsg::kKeyDown, vk::kLeft)); // a navigation key
    EXPECT_FALSE(store.MatchShown());
    EXPECT_EQ(store.TypedBuffer(), u"");
    EXPECT_EQ(application.matchChanges, 2);
    Type(u"btw");
    store.OnHookEvent(Event(hookmsg::kSetFocus, 0));
    EXPECT_FALSE(store.MatchShown());
    EXPECT_EQ(application.matchChanges, 4);
    Type(u"btw");
    store.OnHookEvent(Event(hookmsg::kKeyDown, 'A')); // other keys come as their characters
    EXPECT_TRUE(store.MatchShown());
}

TEST_F(MacroStoreTest, RecallErasesTheKeyAndTypesTheContentThenFollowsTheEcho) {
    target.text = u"BTW";
    Type(u"BTW");
    target.physicallyDown = {vk::kShift, vk::kControl}; // released first
    ASSERT_TRUE(store.RecallMacro(false, true));
    EXPECT_EQ(target.text, u"by the way");
    EXPECT_TRUE(target.KeysDown().empty());
    EXPECT_TRUE(store.IsSending());
    EXPECT_TRUE(store.MatchShown()); // shown while the content is typed
    const KeyInput firstTwo[] = {{vk::kControl, 0x111, kKeyEventScanCode | kKeyEventKeyUp},
                                 {vk::kShift, 0x110, kKeyEventScanCode | kKeyEventKeyUp}};
    EXPECT_EQ(target.events[0], firstTwo[0]);
    EXPECT_EQ(target.events[1], firstTwo[1]);

    // The echo: the Backspaces are passed over, the content's characters followed.
    Type(u"\b\b\bby the wa");
    EXPECT_TRUE(store.IsSending());
    EXPECT_EQ(store.TypedBuffer(), u"BTW");
    Type(u"y");
    EXPECT_FALSE(store.IsSending());
    EXPECT_FALSE(store.MatchShown());
    EXPECT_EQ(store.TypedBuffer(), u"");
    Type(u"btw");
    EXPECT_TRUE(store.MatchShown()); // typing matches again
}

TEST_F(MacroStoreTest, AnEchoThatDiffersEndsTheSendingAtThatCharacter) {
    Type(u"btw");
    ASSERT_TRUE(store.RecallMacro(false, true));
    Type(u"bX");
    EXPECT_FALSE(store.IsSending());
    EXPECT_EQ(store.TypedBuffer(), u""); // the X is not taken for typing
    Type(u"btw");
    ASSERT_TRUE(store.RecallMacro(false, false));
    store.StopSending(); // the hook's ring overflowed
    EXPECT_FALSE(store.IsSending());
    EXPECT_FALSE(store.MatchShown());
}

TEST_F(MacroStoreTest, LineBreaksAndTabsGoAsTheirKeys) {
    store.ReplaceMacros({{u"t", u"a\rb\tc"}});
    Type(u"t");
    ASSERT_TRUE(store.RecallMacro(false, false));
    EXPECT_EQ(target.text, u"a\rb\tc");
    std::vector<KeyInput> downs;
    for (const KeyInput& input : target.events) {
        if (!(input.flags & kKeyEventKeyUp))
            downs.push_back(input);
    }
    ASSERT_EQ(downs.size(), 5u);
    EXPECT_EQ(downs[0], (KeyInput{0, u'a', kKeyEventUnicode}));
    EXPECT_EQ(downs[1].vk, 0x0D);
    EXPECT_EQ(downs[3].vk, 0x09);
    Type(u"a\rb\tc");
    EXPECT_FALSE(store.IsSending());
}

TEST_F(MacroStoreTest, WithoutAMatchARecallTypesNothingOrOpensMacroScribe) {
    EXPECT_FALSE(store.RecallMacro(true, true));
    Type(u"nokey");
    EXPECT_FALSE(store.RecallMacro(false, true));
    EXPECT_FALSE(store.RecallMacro(true, true));
    EXPECT_TRUE(target.events.empty());
    using Opened = std::pair<std::uint8_t, std::u16string>;
    EXPECT_EQ(application.opened, (std::vector<Opened>{{0, u""}, {1, u"nokey"}}));
}

TEST_F(MacroStoreTest, AnUnusedHotKeyIsPassedOnAsTheSameCombination) {
    EXPECT_FALSE(store.OnMacroHotKey(0, 0));
    store.PassOnHotKey('M', hotkey::kControl | hotkey::kShift);
    EXPECT_EQ(target.text, u"<^M>");
    std::vector<std::pair<std::uint16_t, bool>> order;
    for (const KeyInput& input : target.events)
        order.emplace_back(input.vk, (input.flags & kKeyEventKeyUp) != 0);
    const std::vector<std::pair<std::uint16_t, bool>> expected = {
        {vk::kControl, false}, {vk::kShift, false}, {'M', false},
        {'M', true},           {vk::kShift, true},  {vk::kControl, true}};
    EXPECT_EQ(order, expected);
    Type(u"btw");
    EXPECT_FALSE(store.OnMacroHotKey(1, 0)); // another hot key
    // Its modifiers are down as it fires, whatever the key state says: released first.
    target.events.clear();
    EXPECT_TRUE(store.OnMacroHotKey(0, hotkey::kShift));
    EXPECT_EQ(target.events.front(),
              (KeyInput{vk::kShift, 0x110, kKeyEventScanCode | kKeyEventKeyUp}));
}

TEST_F(MacroStoreTest, MacroScribeSendsAListedMacroWithoutErasing) {
    target.text = u"x";
    ASSERT_TRUE(store.SendMacro(u"Sig", u"line1\rline2"));
    EXPECT_EQ(target.text, u"xline1\rline2");
}

} // namespace
} // namespace gw
