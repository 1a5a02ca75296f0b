// Macros in use: keys typed by strokes into another program show the macro's content over the
// keyboard's menu bar, and the hot key or a click on the content types it in place of the key.
// The macros come from a macro file named in the settings, as Macro Scribe leaves it.
#include "tests/e2e/E2ESupport.h"
#include "tests/e2e/TypingTarget.h"

#include "macros/MacroFile.h"
#include "macros/MacroStore.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {

using e2e::kFrameClass;
using e2e::kTrayExit;
using e2e::kViewClass;
using gw::kLetterGrid;

constexpr wchar_t kContentClass[] = L"GlyphwellMacroContent";
// Shift+Q: low half the virtual key, high half the hot key control's modifier flags.
constexpr DWORD kHotKey = (gw::hotkey::kShift << 16) | 'Q';

// About 2,000 characters over many lines, with tabs: the content of the long macro.
std::u16string LongContent() {
    std::u16string text;
    for (int line = 0; text.size() < 2000; ++line) {
        const std::string number = std::to_string(line);
        text += u"line " + std::u16string(number.begin(), number.end()) +
                u"\tof the long macro, typed out whole\r";
    }
    return text;
}

// Real key events for the hot key, as the user presses it.
void PressHotKey() {
    const std::pair<WORD, DWORD> events[] = {
        {VK_SHIFT, 0}, {'Q', 0}, {'Q', KEYEVENTF_KEYUP}, {VK_SHIFT, KEYEVENTF_KEYUP}};
    for (const auto& [key, flags] : events) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = flags;
        ::SendInput(1, &input, sizeof(INPUT));
        ::Sleep(20);
    }
}

class MacrosE2E : public ::testing::Test {
protected:
    void SetUp() override {
        e2e::ResetSettings();
        macroFile = e2e::FullPath(L"macros-e2e.msb");
        const gw::MacroMap macros{{u"btw", u"by the way"}, {u"es", LongContent()}};
        ASSERT_TRUE(e2e::WriteFileBytes(macroFile, gw::WriteMacroFile(macros)));
        ASSERT_TRUE(e2e::WriteStringSetting(L"CurrentMacroFilename", macroFile));
        ASSERT_TRUE(e2e::WriteSetting(L"MacroHotKey", kHotKey));
        plain = std::make_unique<e2e::TypingTarget>(L"", L"GWTypingTarget", L"EDIT");
        ASSERT_NE(plain->edit, nullptr);
        rich = std::make_unique<e2e::TypingTarget>(L"rich", L"GWRichTypingTarget", L"RichEdit20W");
        ASSERT_NE(rich->edit, nullptr);
        StartKeyboard();
    }
    void StartKeyboard() {
        keyboard = std::make_unique<e2e::Process>(e2e::FullPath(L"Glyphwell\\Glyphwell.exe"),
                                                  e2e::FullPath(L"Glyphwell"));
        frame = keyboard->WaitForWindow(kFrameClass, 10000);
        ASSERT_NE(frame, nullptr);
        ASSERT_TRUE(e2e::WaitUntil(
            [&] { return (view = ::FindWindowExW(frame, nullptr, kViewClass, nullptr)); }, 5000));
        content = keyboard->WaitForWindow(kContentClass, 5000, false);
        ASSERT_NE(content, nullptr);
        ::Sleep(300); // let it paint once
    }
    void TearDown() override {
        ExitKeyboard();
        ::DeleteFileW(macroFile.c_str());
    }
    void ExitKeyboard() {
        if (frame && ::IsWindow(frame)) {
            ::PostMessageW(frame, WM_COMMAND, kTrayExit, 0);
            EXPECT_TRUE(keyboard->WaitForExit(10000));
        }
        frame = nullptr;
    }

    e2e::KeyboardOnScreen Keys() const {
        return e2e::KeyboardOnScreen(view, e2e::NormalGeometry(true));
    }
    void TypeBtw() const {
        const e2e::KeyboardOnScreen keys = Keys();
        keys.Drag(kLetterGrid, 5, gw::kE); // b
        keys.Tap(kLetterGrid, 7);          // t
        keys.Drag(kLetterGrid, 8, gw::kN); // w
    }
    void TypeSpace() const { Keys().Drag(kLetterGrid, 4, gw::kN); }
    ::testing::AssertionResult ContentShown(bool shown) const {
        if (e2e::WaitUntil([&] { return (::IsWindowVisible(content) != FALSE) == shown; }, 5000))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "the content window is " << (shown ? "hidden" : "shown") << KeyboardState();
    }
    // What may keep the keyboard from showing a match: a minimized frame, a window of its own
    // (a message box) in the way.
    std::string KeyboardState() const {
        std::string state = ::IsIconic(frame) ? "; the keyboard is minimized" : "";
        HWND window = nullptr;
        while ((window = ::FindWindowExW(nullptr, window, L"#32770", nullptr))) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == keyboard->Id() && ::IsWindowVisible(window)) {
                std::string title;
                for (wchar_t c : wintest::WindowText(window))
                    title += c < 0x80 ? static_cast<char>(c) : '?';
                state += "; its window \"" + title + "\" is open";
            }
        }
        return state;
    }

    std::wstring macroFile;
    std::unique_ptr<e2e::TypingTarget> plain;
    std::unique_ptr<e2e::TypingTarget> rich;
    std::unique_ptr<e2e::Process> keyboard;
    HWND frame = nullptr;
    HWND view = nullptr;
    HWND content = nullptr;
};

TEST_F(MacrosE2E, ATypedKeyShowsItsContentAndTheHotKeyOrAClickTypesItInstead) {
    ASSERT_TRUE(plain->ClickInto(frame));
    TypeBtw();
    ASSERT_TRUE(plain->WaitForText(L"btw"));
    EXPECT_TRUE(ContentShown(true)) << "shown as the w is typed";
    TypeSpace();
    EXPECT_TRUE(ContentShown(false));
    TypeBtw();
    ASSERT_TRUE(plain->WaitForText(L"btw btw"));
    ASSERT_TRUE(ContentShown(true));
    // Over the keyboard's menu bar.
    RECT over{}, below{};
    ::GetWindowRect(content, &over);
    ::GetWindowRect(view, &below);
    EXPECT_LT(over.bottom, below.top + 2);

    PressHotKey();
    EXPECT_TRUE(plain->WaitForText(L"btw by the way"));
    EXPECT_TRUE(ContentShown(false)) << "hidden once the content's echo is complete";

    TypeSpace();
    TypeBtw();
    ASSERT_TRUE(ContentShown(true));
    RECT r{};
    ::GetWindowRect(content, &r);
    const POINT middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    e2e::Mouse::Stroke({middle, middle});
    EXPECT_TRUE(plain->WaitForText(L"btw by the way by the way"));
    EXPECT_TRUE(ContentShown(false));
    EXPECT_EQ(::GetForegroundWindow(), plain->window) << "the click kept the target active";
}

// A keyboard that was killed leaves its hooks behind under Wine: they go on loading the hook
// library into programs and calling it. The keyboards started after it still see each typed
// character once, also in a program started while no keyboard ran.
TEST_F(MacrosE2E, KeyboardsStartedAfterOneWasKilledStillMatch) {
    keyboard->Kill();
    ASSERT_TRUE(keyboard->WaitForExit(10000));
    StartKeyboard();
    ASSERT_TRUE(plain->ClickInto(frame));
    TypeBtw();
    ASSERT_TRUE(plain->WaitForText(L"btw"));
    EXPECT_TRUE(ContentShown(true)) << "after the killed one";

    ExitKeyboard();
    plain.reset();
    plain = std::make_unique<e2e::TypingTarget>(L"", L"GWTypingTarget", L"EDIT");
    ASSERT_NE(plain->edit, nullptr);
    ::Sleep(500); // its copy of the library finds no keyboard running
    StartKeyboard();
    ASSERT_TRUE(plain->ClickInto(frame));
    TypeBtw();
    ASSERT_TRUE(plain->WaitForText(L"btw"));
    EXPECT_TRUE(ContentShown(true)) << "in a program started while none ran";
}

TEST_F(MacrosE2E, WithoutAMatchTheHotKeyReachesTheProgram) {
    ASSERT_TRUE(plain->ClickInto(frame));
    TypeBtw();
    TypeSpace();
    ASSERT_TRUE(plain->WaitForText(L"btw "));
    PressHotKey();
    EXPECT_TRUE(plain->WaitForText(L"btw Q"));
}

TEST_F(MacrosE2E, ALongMacroArrivesWholeInAPlainAndARichTextControl) {
    std::wstring expected;
    for (char16_t c : LongContent())
        expected += static_cast<wchar_t>(c);
    for (const e2e::TypingTarget* target : {plain.get(), rich.get()}) {
        ASSERT_TRUE(target->ClickInto(frame));
        Keys().Tap(kLetterGrid, 8); // e
        Keys().Tap(kLetterGrid, 9); // s
        ASSERT_TRUE(ContentShown(true));
        PressHotKey();
        EXPECT_TRUE(target->WaitForText(expected, 60000))
            << (target == rich.get() ? "rich" : "plain");
        EXPECT_TRUE(ContentShown(false));
    }
}

} // namespace
