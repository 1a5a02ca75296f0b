// The keyboard program as a user runs it: Glyphwell.exe and a program to type into are started,
// strokes are drawn on the keyboard with the real mouse, and the text that arrives in the
// other program is read back. The other program keeps the foreground all the time.
#include "tests/e2e/E2ESupport.h"

#include <gtest/gtest.h>

namespace {

std::wstring FullPath(const wchar_t* relative) {
    wchar_t full[MAX_PATH] = {};
    ::GetFullPathNameW(relative, MAX_PATH, full, nullptr);
    return full;
}

gw::KeyGeometry NormalGeometry(bool letterSide) {
    gw::KeyGeometry geometry;
    geometry.Compute(180, 180, gw::kNormal, letterSide);
    return geometry;
}

TEST(StrokeWindow, TypesASentenceIntoAnotherProgram) {
    e2e::Process target(FullPath(L"GWTypingTarget.exe"), FullPath(L"."));
    ASSERT_TRUE(target.Started());
    HWND targetWindow = target.WaitForWindow(L"GWTypingTarget", 10000);
    ASSERT_NE(targetWindow, nullptr);
    HWND edit = ::FindWindowExW(targetWindow, nullptr, L"EDIT", nullptr);
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(e2e::WaitUntil([&] { return ::GetForegroundWindow() == targetWindow; }, 5000));

    e2e::Process keyboard(FullPath(L"Glyphwell\\Glyphwell.exe"), FullPath(L"Glyphwell"));
    ASSERT_TRUE(keyboard.Started());
    HWND keyboardWindow = keyboard.WaitForWindow(L"GlyphwellStrokeWindow", 10000);
    ASSERT_NE(keyboardWindow, nullptr);
    ::Sleep(300); // let it paint once

    e2e::KeyboardOnScreen keys(keyboardWindow, NormalGeometry(true));
    using gw::kLetterGrid;
    keys.Drag(kLetterGrid, 6, gw::kN);       // Shift for the next letter
    keys.Tap(kLetterGrid, 4);                // H
    keys.Tap(kLetterGrid, 3);                // i
    keys.Drag(kLetterGrid, 8, gw::kSW);      // ,
    keys.Tap(gw::kSpaceArea);                // space
    keys.DragReturn(kLetterGrid, 5, gw::kE); // B
    keys.Circle(kLetterGrid, 9);             // S
    keys.Tap(kLetterGrid, 1);                // a
    keys.Drag(kLetterGrid, 2, gw::kNE);      // ´ combines with it: á
    keys.Tap(kLetterGrid, 5);                // o
    keys.Tap(gw::kBackspaceArea);            // and gone again
    keys.Tap(kLetterGrid, 5);                // o
    keys.Tap(kLetterGrid, 8);                // e
    keys.Drag(kLetterGrid, 1, gw::kNW);      // combined: œ
    keys.Tap(gw::kSystemArea);               // to the number side
    keys.SetGeometry(NormalGeometry(false));
    keys.Tap(gw::kNumberGrid, 4); // 4
    keys.Tap(gw::kSystemArea);    // back to the letters
    keys.SetGeometry(NormalGeometry(true));
    keys.Drag(kLetterGrid, 3, gw::kNE); // Enter

    const std::wstring expected = L"Hi, BS\u00E1\u0153"
                                  L"4\r\n";
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::EditText(edit) == expected; }, 5000))
        << "typed " << e2e::EditText(edit).size() << " characters";
    EXPECT_EQ(::GetForegroundWindow(), targetWindow);
}

} // namespace
