// The keyboard types into whichever program has the focus: two programs are started, one with
// a plain edit control and one with a rich-text control, the focus goes from one to the other
// by real clicks, and strokes on the keyboard type into each. The keyboard learns of every
// change of focus through its hook library.
#include "tests/e2e/E2ESupport.h"
#include "tests/e2e/TypingTarget.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using e2e::kFrameClass;
using e2e::kTrayExit;
using e2e::kViewClass;

using Target = e2e::TypingTarget;

class FocusTrackingE2E : public ::testing::Test {
protected:
    void SetUp() override {
        e2e::ResetSettings();
        plain = std::make_unique<Target>(L"", L"GWTypingTarget", L"EDIT");
        ASSERT_NE(plain->edit, nullptr);
        rich = std::make_unique<Target>(L"rich", L"GWRichTypingTarget", L"RichEdit20W");
        ASSERT_NE(rich->edit, nullptr);
        StartKeyboard();
    }
    void TearDown() override {
        if (keyboard && frame && ::IsWindow(frame)) {
            ::PostMessageW(frame, WM_COMMAND, kTrayExit, 0);
            EXPECT_TRUE(keyboard->WaitForExit(10000));
        }
    }

    void StartKeyboard() {
        keyboard = std::make_unique<e2e::Process>(e2e::FullPath(L"Glyphwell\\Glyphwell.exe"),
                                                  e2e::FullPath(L"Glyphwell"));
        frame = keyboard->WaitForWindow(kFrameClass, 10000);
        ASSERT_NE(frame, nullptr);
        ASSERT_TRUE(e2e::WaitUntil(
            [&] { return (view = ::FindWindowExW(frame, nullptr, kViewClass, nullptr)); }, 5000));
        ::Sleep(300); // let it paint once
    }
    e2e::KeyboardOnScreen Keys() const {
        return e2e::KeyboardOnScreen(view, e2e::NormalGeometry(true));
    }

    std::unique_ptr<Target> plain;
    std::unique_ptr<Target> rich;
    std::unique_ptr<e2e::Process> keyboard;
    HWND frame = nullptr;
    HWND view = nullptr;
};

TEST_F(FocusTrackingE2E, StrokesTypeExactlyIntoWhicheverProgramHasTheFocus) {
    using gw::kLetterGrid;
    const e2e::KeyboardOnScreen keys = Keys();

    ASSERT_TRUE(plain->ClickInto(frame));
    keys.Tap(kLetterGrid, 4);           // h
    keys.Tap(kLetterGrid, 3);           // i
    keys.Drag(kLetterGrid, 3, gw::kNE); // Enter
    keys.Drag(kLetterGrid, 7, gw::kSE); // Tab
    keys.Tap(kLetterGrid, 1);           // a
    EXPECT_TRUE(plain->WaitForText(L"hi\r\ta"));

    ASSERT_TRUE(rich->ClickInto(frame));
    keys.Tap(kLetterGrid, 5);           // o
    keys.Drag(kLetterGrid, 4, gw::kE);  // k
    keys.Drag(kLetterGrid, 3, gw::kNE); // Enter
    keys.Drag(kLetterGrid, 7, gw::kSE); // Tab
    keys.Tap(kLetterGrid, 1);           // a
    keys.Drag(kLetterGrid, 2, gw::kNE); // ´ combines with it: á
    EXPECT_TRUE(rich->WaitForText(L"ok\r\t\u00E1"));
    keys.Tap(gw::kBackspaceArea); // undoes the combination
    keys.Tap(gw::kBackspaceArea); // and takes the accent away
    keys.Tap(kLetterGrid, 8);     // e
    EXPECT_TRUE(rich->WaitForText(L"ok\r\tae"));

    // Back to the first program: a letter typed there does not combine with the last one here.
    ASSERT_TRUE(plain->ClickInto(frame));
    keys.Drag(kLetterGrid, 2, gw::kNE); // ´ stays on its own after the a
    keys.Drag(kLetterGrid, 7, gw::kSW); // Backspace
    keys.Tap(kLetterGrid, 9);           // s
    EXPECT_TRUE(plain->WaitForText(L"hi\r\tas"));
    EXPECT_EQ(rich->Text(), L"ok\r\tae");
}

TEST_F(FocusTrackingE2E, AfterAClickOnTheKeyboardTheFocusGoesBackToTheLastProgram) {
    ASSERT_TRUE(rich->ClickInto(frame));
    ASSERT_TRUE(plain->ClickInto(frame));
    RECT frameRect{};
    ::GetWindowRect(frame, &frameRect);
    const POINT caption{frameRect.left + 40, frameRect.top + ::GetSystemMetrics(SM_CYFRAME) +
                                                 ::GetSystemMetrics(SM_CYCAPTION) / 2};
    e2e::Mouse::DragWindowPart(caption, caption); // the system's move loop takes the click
    ASSERT_TRUE(e2e::WaitUntil([&] { return ::GetForegroundWindow() == frame; }, 5000));

    // The pen over the keyboard hands the focus back to where it was last seen: the plain
    // edit control, not the program that had the foreground when the keyboard started.
    const e2e::KeyboardOnScreen keys = Keys();
    e2e::Mouse::MoveTo(keys.At(gw::kLetterGrid, {150, 150}));
    e2e::Mouse::MoveTo(keys.At(gw::kLetterGrid, {160, 160}));
    EXPECT_TRUE(e2e::WaitUntil([&] { return ::GetForegroundWindow() == plain->window; }, 5000));
    keys.Tap(gw::kLetterGrid, 4); // h
    EXPECT_TRUE(plain->WaitForText(L"h"));
    EXPECT_EQ(rich->Text(), L"");
}

bool Responds(HWND window) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
}

TEST_F(FocusTrackingE2E, KillingTheKeyboardLeavesTheOtherProgramsWorkingAndItStartsAgain) {
    const e2e::KeyboardOnScreen keys = Keys();
    ASSERT_TRUE(plain->ClickInto(frame));
    keys.Tap(gw::kLetterGrid, 4); // h
    ASSERT_TRUE(plain->WaitForText(L"h"));

    keyboard->Kill();
    frame = nullptr;
    // Their copies of the library go on seeing every message, with nobody draining the ring.
    ASSERT_TRUE(plain->ClickInto(nullptr));
    wintest::TypeKeys("XY");
    EXPECT_TRUE(plain->WaitForText(L"hxy"));
    ASSERT_TRUE(rich->ClickInto(nullptr));
    wintest::TypeKeys("Z");
    EXPECT_TRUE(rich->WaitForText(L"z"));
    EXPECT_TRUE(Responds(plain->window));
    EXPECT_TRUE(Responds(rich->window));

    StartKeyboard();
    const e2e::KeyboardOnScreen again = Keys();
    ASSERT_TRUE(plain->ClickInto(frame));
    again.Drag(gw::kLetterGrid, 3, gw::kNE); // Enter
    again.Tap(gw::kLetterGrid, 3);           // i
    EXPECT_TRUE(plain->WaitForText(L"hxy\ri"));
    ASSERT_TRUE(rich->ClickInto(frame));
    again.Tap(gw::kLetterGrid, 5); // o
    EXPECT_TRUE(rich->WaitForText(L"zo"));
}

} // namespace
