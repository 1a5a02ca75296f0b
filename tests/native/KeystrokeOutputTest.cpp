// The keystroke output against a fake system: the exact key events, their order and flags, and
// what the output does to the modifier state.
#include "keyboard/KeystrokeOutput.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace gw {
namespace {

constexpr KeyboardLayoutId kUs = 0x04090409;
constexpr KeyboardLayoutId kAzerty = 0x040C040C;  // French: the A key sits where Q is in US
constexpr KeyboardLayoutId kGerman = 0x04070407;  // '@' is AltGr+Q
constexpr KeyboardLayoutId kRussian = 0x04190419; // no Latin letters
constexpr std::uint32_t kTargetThread = 77;

// Both ports in one: the events it receives change the key state as the system's would, and
// each scan event is checked against the scan code of the layout active when it was sent.
class FakeSystem : public KeyEventPort, public KeyStatePort {
public:
    void Send(const KeyInput& input) override {
        sent.push_back(input);
        trace.push_back(Token(input));
        if (input.flags & kKeyEventUnicode)
            return;
        const bool up = (input.flags & kKeyEventKeyUp) != 0;
        if (up) {
            down.erase(input.vk);
        } else {
            down.insert(input.vk);
            if (input.vk == vk::kCapital && !toggled.erase(vk::kCapital))
                toggled.insert(vk::kCapital);
        }
    }

    bool IsKeyDown(std::uint8_t key) const override { return down.count(key) != 0; }
    bool IsKeyToggled(std::uint8_t key) const override { return toggled.count(key) != 0; }
    KeyboardLayoutId ThreadLayout(std::uint32_t thread) const override {
        if (thread == 0)
            return ownLayout;
        auto it = threadLayouts.find(thread);
        return it == threadLayouts.end() ? 0 : it->second;
    }
    void ActivateLayout(KeyboardLayoutId layout) override {
        activated.push_back(layout);
        ownLayout = layout;
    }
    std::int16_t ScanCharacter(char16_t ch, KeyboardLayoutId layout) const override {
        const bool letter = (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z');
        if (letter && layout == kRussian)
            return -1;
        if (ch >= u'a' && ch <= u'z')
            return static_cast<std::int16_t>(ch - u'a' + 'A');
        if (ch >= u'A' && ch <= u'Z')
            return static_cast<std::int16_t>(0x100 | ch);
        if (ch >= u'0' && ch <= u'9')
            return static_cast<std::int16_t>(ch);
        if (ch == u'@')
            return layout == kGerman ? 0x651 : 0x132;
        if (ch == u';')
            return 0xBA;
        if (ch == 8)
            return 8;
        return -1; // no accented letters anywhere
    }
    std::uint16_t ScanCode(std::uint8_t key, KeyboardLayoutId layout) const override {
        if (layout == kAzerty && key == 'A')
            return 0x10;
        if (layout == kAzerty && key == 'Q')
            return 0x1E;
        static const std::map<std::uint8_t, std::uint16_t> us = {
            {vk::kShift, 0x2A}, {vk::kControl, 0x1D}, {vk::kMenu, 0x38}, {vk::kCapital, 0x3A},
            {vk::kLWin, 0x5B},  {vk::kLeft, 0x4B},    {vk::kHome, 0x47}, {'A', 0x1E},
            {'C', 0x2E},        {'Q', 0x10},          {'1', 0x02},       {vk::kBack, 0x0E}};
        auto it = us.find(key);
        return it != us.end() ? it->second : static_cast<std::uint16_t>(0x100 + key);
    }
    KeyboardLayoutId LoadUsEnglishLayout() override {
        ++usLoads;
        return usLoadFails ? 0 : kUs;
    }

    // "+Ctrl" key-down, "-Ctrl" key-up, "/E" extended, "+u00E9" a Unicode character. A scan
    // code other than the active layout's, or unexpected flags, show in the token.
    std::string Token(const KeyInput& in) const {
        const char sign = (in.flags & kKeyEventKeyUp) ? '-' : '+';
        const std::uint32_t kind = in.flags & ~kKeyEventKeyUp;
        char buf[64];
        if (kind == kKeyEventUnicode && in.vk == 0) {
            std::snprintf(buf, sizeof buf, "%cu%04X", sign, in.scan);
            return buf;
        }
        if (kind != kKeyEventScanCode && kind != (kKeyEventScanCode | kKeyEventExtendedKey)) {
            std::snprintf(buf, sizeof buf, "?vk%02X/scan%X/flags%X", in.vk, in.scan, in.flags);
            return buf;
        }
        std::string name = Name(in.vk);
        if (kind & kKeyEventExtendedKey)
            name += "/E";
        if (in.scan != ScanCode(static_cast<std::uint8_t>(in.vk), ownLayout)) {
            std::snprintf(buf, sizeof buf, "@%X", in.scan);
            name += buf;
        }
        return sign + name;
    }
    static std::string Name(std::uint16_t key) {
        static const std::map<std::uint16_t, std::string> names = {
            {vk::kShift, "Shift"},  {vk::kControl, "Ctrl"}, {vk::kMenu, "Alt"},
            {vk::kCapital, "Caps"}, {vk::kLWin, "Win"},     {vk::kApps, "Apps"},
            {vk::kBack, "Back"},    {vk::kLeft, "Left"},    {vk::kHome, "Home"},
            {vk::kDelete, "Del"},   {0xBA, "OEM1"}};
        if (auto it = names.find(key); it != names.end())
            return it->second;
        if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
            return std::string(1, static_cast<char>(key));
        char buf[8];
        std::snprintf(buf, sizeof buf, "vk%02X", key);
        return buf;
    }

    std::string Trace() const {
        std::string all;
        for (const std::string& t : trace)
            all += (all.empty() ? "" : " ") + t;
        return all;
    }
    void Clear() {
        sent.clear();
        trace.clear();
        activated.clear();
    }

    std::vector<KeyInput> sent;
    std::vector<std::string> trace;
    std::set<std::uint16_t> down;
    std::set<std::uint16_t> toggled;
    KeyboardLayoutId ownLayout = kUs;
    std::map<std::uint32_t, KeyboardLayoutId> threadLayouts = {{kTargetThread, kUs}};
    std::vector<KeyboardLayoutId> activated;
    int usLoads = 0;
    bool usLoadFails = false;
};

class FakeView : public OutputViewPort {
public:
    std::uint32_t FocusedWindowThread() const override { return thread; }
    void InvalidateEditingArea() override { ++editingAreaInvalidations; }
    void InvalidateView() override { ++viewInvalidations; }
    std::uint32_t thread = kTargetThread;
    int editingAreaInvalidations = 0;
    int viewInvalidations = 0;
};

CharacterSlot Slot(std::uint8_t vk, char16_t ch, std::uint8_t ctrl = 0, std::uint8_t shift = 0) {
    CharacterSlot slot;
    slot.vk = vk;
    slot.ch = ch;
    slot.ctrl = ctrl;
    slot.shift = shift;
    return slot;
}

class KeystrokeOutputTest : public ::testing::Test {
protected:
    KeystrokeOutputTest() { output.SetView(&view); }
    FakeSystem system;
    FakeView view;
    OutputState state;
    KeystrokeOutput output{system, system, state};
};

TEST_F(KeystrokeOutputTest, OnlyTheNavigationWindowsAndAppsKeysAreExtended) {
    const std::set<int> extended = {0x21, 0x22, 0x23, 0x24, 0x25, 0x26,
                                    0x27, 0x28, 0x2D, 0x2E, 0x5B, 0x5D};
    for (int key = 1; key < 256; ++key) {
        system.Clear();
        output.SendKeyEvent(static_cast<std::uint8_t>(key), false, 0);
        output.SendKeyEvent(static_cast<std::uint8_t>(key), true, 0);
        ASSERT_EQ(system.sent.size(), 2u);
        const std::uint32_t ext = extended.count(key) ? kKeyEventExtendedKey : 0;
        EXPECT_EQ(system.sent[0], (KeyInput{static_cast<std::uint16_t>(key),
                                            system.ScanCode(static_cast<std::uint8_t>(key), kUs),
                                            kKeyEventScanCode | ext}))
            << "vk " << key;
        EXPECT_EQ(system.sent[1].flags, kKeyEventScanCode | ext | kKeyEventKeyUp) << "vk " << key;
    }
}

TEST_F(KeystrokeOutputTest, UnicodeEventCarriesTheCharacterInTheScanFieldAndNoKey) {
    output.SendKeyEvent('A', false, u'π');
    output.SendKeyEvent('A', true, u'π');
    ASSERT_EQ(system.sent.size(), 2u);
    EXPECT_EQ(system.sent[0], (KeyInput{0, 0x03C0, kKeyEventUnicode}));
    EXPECT_EQ(system.sent[1], (KeyInput{0, 0x03C0, kKeyEventUnicode | kKeyEventKeyUp}));
}

TEST_F(KeystrokeOutputTest, PendingModifiersGoDownInOrderAndComeUpAltCtrlShiftWin) {
    state.ctrlState = kLatchOneShot;
    state.altState = kLatchOneShot;
    state.shiftMode = kShiftOneShot;
    state.windowsOneShot = 1;
    output.KeyPress(vk::kDelete, 0, false, false, false);
    EXPECT_EQ(system.Trace(), "+Ctrl +Alt +Shift +Win/E +Del/E -Del/E -Alt -Ctrl -Shift -Win/E");
    EXPECT_EQ(state.ctrlState, kLatchOff);
    EXPECT_EQ(state.altState, kLatchOff);
    EXPECT_EQ(state.shiftMode, kShiftOff);
    EXPECT_EQ(state.windowsOneShot, 0);
    EXPECT_EQ(view.editingAreaInvalidations, 2);
    EXPECT_EQ(view.viewInvalidations, 1);
}

TEST_F(KeystrokeOutputTest, ModifiersAlreadyDownAreNotPressedAgainButAreReleased) {
    system.down = {vk::kControl, vk::kMenu, vk::kShift, vk::kLWin};
    state.ctrlState = kLatchHeld;
    state.altState = kLatchOneShot;
    state.windowsOneShot = 1;
    output.KeyPress(vk::kApps, 0, true, true, false);
    EXPECT_EQ(system.Trace(), "+Apps/E -Apps/E -Alt -Ctrl -Shift -Win/E");
    EXPECT_EQ(state.ctrlState, kLatchOff);
    EXPECT_EQ(state.altState, kLatchOff);
}

TEST_F(KeystrokeOutputTest, HeldModifiersArePressedOnlyByArgumentsAndReleasedByState) {
    // State 2 means the key went down when it was toggled; the press leaves it alone.
    state.ctrlState = kLatchHeld;
    state.altState = kLatchHeld;
    state.shiftMode = kShiftHeld;
    output.KeyPress('Q', 0, false, false, false);
    EXPECT_EQ(system.Trace(), "+Q -Q -Alt -Ctrl -Shift");
    EXPECT_EQ(state.shiftMode, kShiftOff);
}

TEST_F(KeystrokeOutputTest, HoldModeLeavesKeysDownAndReleaseModeSendsOnlyTheRelease) {
    state.ctrlState = kLatchOneShot;
    state.holdMode = 1;
    output.KeyPress('Q', 0, true, false, false);
    output.KeyPress('Q', 0, true, false, false); // auto-repeat: the modifiers are down now
    EXPECT_EQ(system.Trace(), "+Ctrl +Shift +Q +Q");
    EXPECT_EQ(state.ctrlState, kLatchOneShot);

    system.Clear();
    state.holdMode = 0;
    state.releaseMode = 1;
    output.KeyPress('Q', 0, true, false, false);
    EXPECT_EQ(system.Trace(), "-Q -Ctrl -Shift");
    EXPECT_EQ(state.ctrlState, kLatchOff);
}

TEST_F(KeystrokeOutputTest, CapsModeTurnsCapsLockOnOnlyAroundTheCharacter) {
    state.shiftMode = kShiftCaps;
    output.KeyPress('Q', 0, false, false, false);
    EXPECT_EQ(system.Trace(), "+Caps -Caps +Q -Q +Caps -Caps");
    EXPECT_FALSE(system.IsKeyToggled(vk::kCapital));
    EXPECT_EQ(state.shiftMode, kShiftCaps); // persists
}

TEST_F(KeystrokeOutputTest, CaseForcedCharacterGetsNeitherShiftNorCapsLock) {
    state.caseForced = 1;
    state.shiftMode = kShiftCaps;
    output.SendCharacterSlot(Slot('A', u'A'));
    EXPECT_EQ(system.Trace(), "+u0041 -u0041");

    // The one-shot Shift that chose the case is consumed all the same.
    system.Clear();
    state.shiftMode = kShiftOneShot;
    output.SendCharacterSlot(Slot('A', u'A'));
    EXPECT_EQ(system.Trace(), "+u0041 -u0041 -Shift");
    EXPECT_EQ(state.shiftMode, kShiftOff);
}

TEST_F(KeystrokeOutputTest, LayoutCharacterTakesItsKeyAndModifiersFromTheTargetLayout) {
    struct Case {
        KeyboardLayoutId target;
        CharacterSlot slot;
        std::uint32_t shiftMode;
        const char* trace;
    } const cases[] = {
        {kUs, Slot('A', u'a'), kShiftOff, "+A -A"},
        // One-shot Shift on a plain slot: shifted once, then gone.
        {kUs, Slot('A', u'a'), kShiftOneShot, "+Shift +A -A -Shift"},
        // The layout says which modifiers the character needs; the slot's shift is ignored.
        {kUs, Slot('A', u'A'), kShiftOff, "+Shift +A -A -Shift"},
        {kUs, Slot('1', u'1', 0, 1), kShiftOff, "+1 -1"},
        {kGerman, Slot(1, u'@'), kShiftOff, "+Ctrl +Alt +Q -Q -Alt -Ctrl"},
        {kUs, Slot(vk::kBack, 8), kShiftOff, "+Back -Back"},
    };
    for (const Case& c : cases) {
        system.Clear();
        system.threadLayouts[kTargetThread] = c.target;
        state.shiftMode = c.shiftMode;
        output.SendCharacterSlot(c.slot);
        EXPECT_EQ(system.Trace(), c.trace) << "char " << int(c.slot.ch);
        EXPECT_EQ(state.shiftMode, kShiftOff);
        EXPECT_TRUE(system.down.empty());
    }
}

TEST_F(KeystrokeOutputTest, TargetLayoutBecomesOursSoTheScanCodesAreItsOwn) {
    system.threadLayouts[kTargetThread] = kAzerty;
    output.SendCharacter(u'a');
    EXPECT_EQ(system.activated, std::vector<KeyboardLayoutId>{kAzerty});
    ASSERT_EQ(system.sent.size(), 2u);
    EXPECT_EQ(system.sent[0], (KeyInput{'A', 0x10, kKeyEventScanCode}));

    system.Clear();
    output.SendCharacter(u'a'); // already ours: no second activation
    EXPECT_TRUE(system.activated.empty());
    EXPECT_EQ(system.Trace(), "+A -A");
}

TEST_F(KeystrokeOutputTest, CharacterTheTargetCannotTypeGoesAsUnicodeWithTheSlotShiftOnly) {
    output.SendCharacterSlot(Slot(1, u'é', 1, 0));
    EXPECT_EQ(system.Trace(), "+u00E9 -u00E9"); // the slot's ctrl applies to vk sends only

    system.Clear();
    output.SendCharacterSlot(Slot(1, u'é', 0, 1));
    EXPECT_EQ(system.Trace(), "+Shift +u00E9 -u00E9 -Shift");
}

TEST_F(KeystrokeOutputTest, WithoutAKnownTargetThreadLatinLettersGoAsUnicode) {
    view.thread = 0;
    output.SendCharacter(u'a');
    EXPECT_EQ(system.Trace(), "+u0061 -u0061");

    system.Clear();
    output.SetView(nullptr);
    output.SendCharacter(u'a');
    EXPECT_EQ(system.Trace(), "+u0061 -u0061");
    EXPECT_TRUE(system.activated.empty());
}

TEST_F(KeystrokeOutputTest, ControlCharactersGoAsTheirKeysEvenWithoutATargetLayout) {
    struct Case {
        char16_t ch;
        const char* keys;
    };
    const Case cases[] = {{0x08, "+Back -Back"},
                          {0x09, "+vk09 -vk09"},
                          {0x0D, "+vk0D -vk0D"},
                          {0x1B, "+vk1B -vk1B"},
                          {0x01, "+u0001 -u0001"}}; // no key of its own
    for (std::uint32_t thread : {kTargetThread, 0u}) {
        view.thread = thread;
        for (const Case& c : cases) {
            system.Clear();
            output.SendCharacterSlot(Slot(c.ch, c.ch));
            EXPECT_EQ(system.Trace(), c.keys) << int(c.ch) << " thread " << thread;
        }
    }
}

TEST_F(KeystrokeOutputTest, ThreadWithoutLayoutIsNotActivated) {
    // Activating layout 0 would switch the process to its previous layout.
    view.thread = 12345; // gone
    output.SendCharacter(u'a');
    EXPECT_TRUE(system.activated.empty());
    EXPECT_EQ(system.Trace(), "+u0061 -u0061");
}

TEST_F(KeystrokeOutputTest, CharactersAbove255UseTheSlotCtrlAndShift) {
    output.SendCharacterSlot(Slot(1, u'π', 1, 1));
    EXPECT_EQ(system.Trace(), "+Ctrl +Shift +u03C0 -u03C0 -Ctrl -Shift");
    EXPECT_TRUE(system.activated.empty()); // no layout lookup for these
}

TEST_F(KeystrokeOutputTest, BareVirtualKeySlots) {
    output.SendCharacterSlot(Slot(vk::kLeft, 0));
    EXPECT_EQ(system.Trace(), "+Left/E -Left/E");
    system.Clear();
    output.SendCharacterSlot(Slot(vk::kHome, 0, 1)); // Ctrl+Home
    EXPECT_EQ(system.Trace(), "+Ctrl +Home/E -Home/E -Ctrl");
}

TEST_F(KeystrokeOutputTest, PendingShiftIsDroppedBeforeDigitAndPunctuationKeys) {
    struct Case {
        std::uint8_t vk;
        char16_t ch;
        std::uint32_t shiftMode;
        const char* trace;
        std::uint32_t shiftModeAfter;
    } const cases[] = {
        {'1', u'1', kShiftOneShot, "+1 -1", kShiftOff},
        {'1', u'1', kShiftHeld, "-Shift +1 -1", kShiftOff},
        {0xBA, u';', kShiftOneShot, "+OEM1 -OEM1", kShiftOff},
        {0xBA, u';', kShiftHeld, "-Shift +OEM1 -OEM1", kShiftOff},
        // Caps modes stay: Caps Lock does not change digits.
        {'1', u'1', kShiftCaps, "+Caps -Caps +1 -1 +Caps -Caps", kShiftCaps},
        // Letters keep the pending Shift.
        {'A', u'a', kShiftOneShot, "+Shift +A -A -Shift", kShiftOff},
        {'A', u'a', kShiftHeld, "+A -A -Shift", kShiftOff},
    };
    for (const Case& c : cases) {
        system.Clear();
        state.shiftMode = c.shiftMode;
        output.SendCharacterSlot(Slot(c.vk, c.ch));
        EXPECT_EQ(system.Trace(), c.trace) << "vk " << int(c.vk) << " mode " << c.shiftMode;
        EXPECT_EQ(state.shiftMode, c.shiftModeAfter) << "vk " << int(c.vk);
    }
}

TEST_F(KeystrokeOutputTest, CtrlLetterFindsTheKeyThroughUsEnglishWhenTheTargetHasNone) {
    system.threadLayouts[kTargetThread] = kRussian;
    state.usLayoutFallback = 1;
    state.ctrlState = kLatchOneShot;
    output.SendCharacter(u'c');
    EXPECT_EQ(system.activated, (std::vector<KeyboardLayoutId>{kRussian, kUs}));
    EXPECT_EQ(system.Trace(), "+Ctrl +C -C -Ctrl");
    EXPECT_EQ(state.usLayoutFallback, 0);
    EXPECT_EQ(state.ctrlState, kLatchOff);
    EXPECT_EQ(view.editingAreaInvalidations, 1);

    // Without the fallback flag the same letter is a Unicode character.
    system.Clear();
    output.SendCharacter(u'c');
    EXPECT_EQ(system.Trace(), "+u0063 -u0063");
}

TEST_F(KeystrokeOutputTest, UsFallbackIsUsedOnlyWhenNeededAndClearedEitherWay) {
    state.usLayoutFallback = 1;
    output.SendCharacter(u'c'); // the US target has it
    EXPECT_EQ(system.usLoads, 0);
    EXPECT_EQ(state.usLayoutFallback, 0);
    EXPECT_EQ(system.Trace(), "+C -C");

    // A failed load activates nothing and the letter goes as Unicode.
    system.Clear();
    system.threadLayouts[kTargetThread] = kRussian;
    system.usLoadFails = true;
    state.usLayoutFallback = 1;
    state.ctrlState = kLatchOneShot;
    output.SendCharacter(u'c');
    EXPECT_EQ(system.activated, std::vector<KeyboardLayoutId>{kRussian});
    EXPECT_EQ(system.Trace(), "+Ctrl +u0063 -u0063 -Ctrl");
    EXPECT_EQ(state.usLayoutFallback, 0);
}

} // namespace
} // namespace gw
