// The keystroke output through the real Win32 ports into a real edit control that has the
// focus: what it types is read back from the control.
#include "keyboard/KeystrokeOutput.h"
#include "keyboard/win/Win32KeyboardPorts.h"

#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using wintest::PumpUntil;
using wintest::TargetWindow;
using wintest::WindowText;

// The focus tracking's answer: the edit control's thread, which is this one.
class EditView : public gw::OutputViewPort {
public:
    explicit EditView(HWND edit) : thread_(::GetWindowThreadProcessId(edit, nullptr)) {}
    std::uint32_t FocusedWindowThread() const override { return thread_; }
    void InvalidateEditingArea() override {}
    void InvalidateView() override {}

private:
    std::uint32_t thread_;
};

gw::CharacterSlot Slot(std::uint8_t vk, char16_t ch) {
    gw::CharacterSlot slot;
    slot.vk = vk;
    slot.ch = ch;
    return slot;
}

// One target window serves every test: creating and destroying windows is slow under Wine.
class KeystrokeOutputWin : public ::testing::Test {
protected:
    static void SetUpTestSuite() { target = new TargetWindow; }
    static void TearDownTestSuite() {
        delete target;
        target = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(target->Edit(), nullptr);
        ::SetWindowTextW(target->Edit(), L"");
        ASSERT_TRUE(target->TakeFocus()) << "the edit control did not get foreground and focus";
        output.SetView(&view);
    }
    void TearDown() override {
        // Nothing may stay down for the next test.
        PumpUntil([] { return false; }, 50);
        EXPECT_FALSE(::GetAsyncKeyState(VK_SHIFT) & 0x8000);
        EXPECT_FALSE(::GetAsyncKeyState(VK_CONTROL) & 0x8000);
    }
    static std::wstring Text() { return WindowText(target->Edit()); }
    static bool WaitForText(const std::wstring& expected) {
        return PumpUntil([&] { return Text() == expected; }, 5000);
    }

    static TargetWindow* target;
    EditView view{target->Edit()};
    CWin32KeyEventPort events;
    CWin32KeyStatePort keys;
    gw::OutputState state;
    gw::KeystrokeOutput output{events, keys, state};
};

TargetWindow* KeystrokeOutputWin::target = nullptr;

TEST_F(KeystrokeOutputWin, TypesLetterThroughTheLayout) {
    output.SendCharacterSlot(Slot('A', u'a'));
    EXPECT_TRUE(WaitForText(L"a")) << ::testing::PrintToString(Text());
}

TEST_F(KeystrokeOutputWin, TypesUpperCaseWithShiftAndReleasesIt) {
    output.SendCharacterSlot(Slot('A', u'A')); // the layout asks for Shift
    state.shiftMode = gw::kShiftOneShot;
    output.SendCharacterSlot(Slot('A', u'a')); // one-shot Shift
    output.SendCharacterSlot(Slot('A', u'a')); // Shift is gone again
    EXPECT_TRUE(WaitForText(L"AAa")) << ::testing::PrintToString(Text());
    EXPECT_EQ(state.shiftMode, gw::kShiftOff);
}

TEST_F(KeystrokeOutputWin, TypesCharactersTheLayoutLacksAsUnicode) {
    output.SendCharacterSlot(Slot(1, u'é'));
    output.SendCharacter(u'π');
    EXPECT_TRUE(WaitForText(L"\u00E9\u03C0")) << ::testing::PrintToString(Text());
}

TEST_F(KeystrokeOutputWin, ArrowMovesTheCaretAndBackspaceDeletes) {
    output.SendCharacter(u'a');
    output.SendCharacter(u'b');
    output.KeyPress(gw::vk::kLeft, 0, false, false, false);
    output.SendCharacter(u'x');
    ASSERT_TRUE(WaitForText(L"axb")) << ::testing::PrintToString(Text());
    output.SendCharacterSlot(Slot(gw::vk::kBack, 8));
    EXPECT_TRUE(WaitForText(L"ab")) << ::testing::PrintToString(Text());
}

TEST_F(KeystrokeOutputWin, CtrlLetterShortcutReachesTheControl) {
    output.SendCharacter(u'a');
    output.SendCharacter(u'b');
    ASSERT_TRUE(WaitForText(L"ab")) << ::testing::PrintToString(Text());
    state.usLayoutFallback = 1;
    state.ctrlState = gw::kLatchOneShot;
    output.SendCharacter(u'z'); // Ctrl+Z undoes the typing
    EXPECT_EQ(state.ctrlState, gw::kLatchOff);
    ASSERT_TRUE(WaitForText(L"")) << ::testing::PrintToString(Text());
    output.SendCharacter(u'x'); // Ctrl is up again
    EXPECT_TRUE(WaitForText(L"x")) << ::testing::PrintToString(Text());
}

} // namespace
